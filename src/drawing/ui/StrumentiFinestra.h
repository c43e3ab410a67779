#pragma once

// The chart tools in the window: the four charts' click, key and mouse-move events
// go to the tool logic, which gets back the tool pointers, the rubber band overlay,
// the line store, the redraw timer and the messages. The main window creates one
// and sets the hooks it wants to answer itself (messages, redraw timer, readout).

#include "drawing/StrumentiGrafici.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

struct Stato;
class BandaOverlay;
class CursoriStrumenti;
class GraficoWidget;
class PulsantiStrumenti;
class QWidget;

class StrumentiFinestra : public QObject, public AmbienteStrumenti {
    Q_OBJECT
public:
    StrumentiFinestra(Stato &stato, ControlliGrafici &controlli, const std::array<GraficoWidget *, 4> &grafici,
                      QObject *parent = nullptr);
    ~StrumentiFinestra() override;

    StrumentiGrafici &Strumenti() { return *m_strumenti; }
    // The tool buttons, for the window to place (normally inside Frm_Strumenti).
    PulsantiStrumenti *Crea_Pulsanti(QWidget *genitore);
    const CursoriStrumenti &Cursori() const { return *m_cursori; }
    BandaOverlay *Banda(int slot) const;

    // Hooks. Unset: the limit messages and errors go to a message box, the redraw
    // runs Disegna_Grafico on the current slot 5 ms later, the readout does nothing.
    std::function<void(int tipo)> Messaggio;
    std::function<void()> Arma_Timer_Disegno;
    std::function<void(const QString &)> Errore;
    std::function<void(int slot)> Coordinate;
    std::function<void(int grado)> Parametro;

    // AmbienteStrumenti
    void Mostra_Messaggio(int tipo) override;
    void Avvia_Timer_Disegno() override;
    bool Salva_Linea(int grado, int slot, QString &errore) override;
    bool Salva_Distanza(int grado, int slot, QString &errore) override;
    void Salva_Parametro(int grado) override;
    void Mostra_Errore(const QString &testo) override;
    void Imposta_Puntatore(int slot, int numero) override;
    void Mostra_Banda(int slot, const BandaElastica &banda) override;
    void Nascondi_Banda(int slot) override;
    void Mostra_Coord_Graf(int slot) override;

private:
    Stato &m_stato;
    ControlliGrafici &m_controlli;
    // The charts and their overlays belong to the window's widgets, which may go first.
    std::array<QPointer<GraficoWidget>, 4> m_grafici;
    std::array<QPointer<BandaOverlay>, 4> m_bande{};
    std::array<int, 4> m_puntatori{};
    std::unique_ptr<CursoriStrumenti> m_cursori;
    std::unique_ptr<StrumentiGrafici> m_strumenti;
    QTimer m_timerDisegno;
};
