#pragma once

// The chart tools in the window: the four charts' click, key and mouse-move events
// go to the tool logic, which gets back the tool pointers, the rubber band overlay,
// the line store, and through ServiziStrumenti the window's redraw timer and
// messages. The main window creates one and gives it its ServiziStrumenti.

#include "drawing/StrumentiGrafici.h"
#include "drawing/ui/ServiziStrumenti.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <memory>

class BandaOverlay;
class CursoriStrumenti;
class GraficoWidget;
class PulsantiStrumenti;
class PannelloOggetti;
class QLineEdit;
class QToolButton;
class QWidget;

class StrumentiFinestra : public QObject, public AmbienteStrumenti {
    Q_OBJECT
public:
    StrumentiFinestra(StatoStrumenti stato, ControlliGrafici &controlli,
                      const std::array<GraficoWidget *, 4> &grafici, QObject *parent = nullptr);
    ~StrumentiFinestra() override;

    // What the window answers; until given, none: nothing is shown, no setting is saved.
    void Imposta_Servizi(std::unique_ptr<ServiziStrumenti> servizi);

    StrumentiGrafici &Strumenti() { return *m_strumenti; }
    // The tool buttons, for the window to place (normally inside Frm_Strumenti).
    PulsantiStrumenti *Crea_Pulsanti(QWidget *genitore);
    const CursoriStrumenti &Cursori() const { return *m_cursori; }
    BandaOverlay *Banda(int slot) const;

    // The controls the tools place on the main window: the text entry box with its
    // two buttons, the moving coordinate box and the objects panel, all hidden.
    void Prepara_Finestra(QWidget *finestra);
    QLineEdit *Text_Scritte_Graf = nullptr;
    QToolButton *Cmd_Scrivi_Text_Graf = nullptr;
    QToolButton *Cmd_Chiudi_Text_Graf = nullptr;
    QLineEdit *Txt_Cord_Mob = nullptr;
    PannelloOggetti *Frm_Ogg_Graf = nullptr;

    // The fixed readout box, placed against ServiziStrumenti::Riquadro; none until set.
    QPointer<QLineEdit> Text_Coord_Graf;

    // AmbienteStrumenti
    void Mostra_Messaggio(int tipo) override;
    void Mostra_Testo_Messaggio(const QString &testo) override;
    void Avvia_Timer_Disegno() override;
    bool Salva_Linea(int grado, int slot, QString &errore) override;
    bool Salva_Distanza(int grado, int slot, QString &errore) override;
    bool Salva_Testo(int grado, int slot, QString &errore) override;
    bool Salva_Parametro(archivio::Codice_Modifica codice, int grado, QString &errore) override;
    void Mostra_Errore(const QString &testo) override;
    void Imposta_Puntatore(int slot, int numero) override;
    void Mostra_Banda(int slot, const BandaElastica &banda) override;
    void Nascondi_Banda(int slot) override;
    void Mostra_Coord_Graf(int slot) override;
    bool Geometria(int slot, GeometriaSlot &geometria) override;
    void Posiziona_Txt_Cord_Mob(bool visibile, double sinistra, double alto) override;
    void Apri_Casella_Testo(ColoreWin testo, ColoreWin sfondo) override;
    void Chiudi_Casella_Testo() override;
    void Beep() override;
    void Ridisegna_Grafico_Corrente() override;

signals:
    // The text box opened (true: the window holds its controls) or closed (false).
    void Casella_Testo_Aperta(bool aperta);

private:
    StatoStrumenti m_stato;
    std::unique_ptr<ServiziStrumenti> m_servizi;
    // The charts and their overlays belong to the window's widgets, which may go first.
    std::array<QPointer<GraficoWidget>, 4> m_grafici;
    std::array<QPointer<BandaOverlay>, 4> m_bande{};
    std::array<int, 4> m_puntatori{};
    std::unique_ptr<CursoriStrumenti> m_cursori;
    std::unique_ptr<StrumentiGrafici> m_strumenti;
    QPointer<QWidget> m_finestra;
    // Colours last given to the readout boxes: a mouse move sets only what changes.
    ColoreWin m_coloreFisso = 0xFFFFFFFF, m_fondoFisso = 0xFFFFFFFF, m_coloreMobile = 0xFFFFFFFF;
};
