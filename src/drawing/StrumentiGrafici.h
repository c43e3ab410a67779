#pragma once

// The chart tools without widgets: the tool buttons, the chart's click, key and
// mouse-move events, line placement and deletion, the chart pointer mode and the
// shift of the objects when the cycle start moves. What lies outside (messages,
// the redraw timer, the archive, the pointer shown, the rubber band overlay) goes
// through AmbienteStrumenti; the chart controls through ControlliGrafici.

#include "archive/ParametriCicli.h"
#include "chart/GraficoControllo.h"
#include "drawing/OggettiGrafici.h"

#include <QString>

struct StatoArchivio;
struct StatoCicli;
struct StatoMercato;
struct StatoProgramma;
class ControlliGrafici;

// The band joining a pending first point to the mouse, in chart units
// (X axis 1, Y axis 1). Painted over the chart, never into it.
struct BandaElastica {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ColoreWin colore = 0;
    int spessore = 0;  // 2 line, 1 distance
    int stile = 0;     // 1 solid, 2 dashed
};

// Where the moving coordinate box goes, in twips of the main window.
struct GeometriaSlot {
    double larghezza = 0, altezza = 0;  // the chart of the slot
    double sinistra = 0, alto = 0;      // Frm_Battleplan + Frm_Graf(slot)
};

class AmbienteStrumenti {
public:
    virtual ~AmbienteStrumenti() = default;
    // The limit messages: 1 lines, 2 texts, 3 distances.
    virtual void Mostra_Messaggio(int tipo) = 0;
    // The message window with a text of the tools' own (a limit held by waiting objects).
    virtual void Mostra_Testo_Messaggio(const QString &) = 0;
    // Timer_Disegno at 5 ms: one redraw of the current slot after this event.
    virtual void Avvia_Timer_Disegno() = 0;
    // Writes one line slot; false with the reason when nothing was written.
    [[nodiscard]] virtual bool Salva_Linea(int grado, int slot, QString &errore) = 0;
    [[nodiscard]] virtual bool Salva_Distanza(int, int, QString &errore) = 0;
    [[nodiscard]] virtual bool Salva_Testo(int, int, QString &errore) = 0;
    // Salva_Parametro of one setting of the degree; false with the text to show.
    [[nodiscard]] virtual bool Salva_Parametro(archivio::Codice_Modifica codice, int grado, QString &errore) = 0;
    virtual void Mostra_Errore(const QString &testo) = 0;
    // The pointer over chart `slot`: 1..15 a tool pointer, 0 the chart's own.
    virtual void Imposta_Puntatore(int slot, int numero) = 0;
    virtual void Mostra_Banda(int slot, const BandaElastica &banda) = 0;
    virtual void Nascondi_Banda(int slot) = 0;

    // The coordinate readout and its moving box.
    virtual void Mostra_Coord_Graf(int) = 0;
    virtual bool Geometria(int, GeometriaSlot &) = 0;
    virtual void Posiziona_Txt_Cord_Mob(bool, double, double) = 0;

    // The text entry box: opened at the clicked point in the text's colour, with the
    // window's controls held while it is open; closed after writing or without.
    virtual void Apri_Casella_Testo(ColoreWin, ColoreWin) = 0;
    virtual void Chiudi_Casella_Testo() = 0;
    virtual void Beep() = 0;
    // The current slot's chart drawn again at once (the objects panel closed).
    virtual void Ridisegna_Grafico_Corrente() = 0;
};

inline constexpr int Tasto_Backspace = 8;
inline constexpr int Tasto_Esc = 27;

class StrumentiGrafici {
public:
    StrumentiGrafici(const StatoProgramma &programma, StatoArchivio &archivio, const StatoMercato &mercato,
                     StatoCicli &cicli, StatoDisegno &disegno, ControlliGrafici &controlli,
                     AmbienteStrumenti &ambiente);

    // Tool buttons; an index outside 0..3 does nothing.
    void Cmd_Line_Click(int indice);
    void Cmd_Cancella_Linea_Click();
    void Cmd_Testo_Click(int indice);
    void Cmd_Cancella_Testo_Click();
    void Cmd_Distanza_Click(int indice);
    void Cmd_Cancella_Distanza_Click();
    void Cmd_Punt_Graf_Click();

    // Events of Graf_Battleplan(indice); x on X axis 1, y on Y axis 1.
    void Graf_Battleplan_Click(int indice);
    void Graf_Battleplan_KeyDown(int indice, int codiceTasto);
    void Graf_Battleplan_MouseMove(int indice, double x, double y);

    void Aggiungi_Linea_Graf();
    void Cancella_Linea_Graf();
    void Aggiungi_Distanza_Graf();
    void Cancella_Distanza_Graf();

    // The text tool: the click that opens the entry box, the box's change check (the
    // text to show in the box is returned), writing and closing, deletion.
    void Posiziona_Testo_Graf();
    QString Text_Scritte_Graf_Change(const QString &testo);
    void Cmd_Scrivi_Text_Graf_Click(const QString &testo);
    void Cmd_Chiudi_Text_Graf_Click();
    void Cancella_Testo_Graf();

    // The coordinate switch of a chart panel: the moving readout of the slot's degree.
    void Cmd_Coord_Click(int indice);

    void Imposta_Modo_Mouse_Graf();
    void Ripristina_Modo_Mouse_Graf();

    // Called once Hsc_Graf(Grafico_Corrente) holds the new cycle position and while
    // Barre_Ciclo(Grado_Corrente) still holds the old one.
    void Sposta_Disegni_AsseX();

    // Bounds of a slot's axes read from its chart; false when the slot has no chart.
    bool LeggiAssi(int slot, disegno::AssiGrafico &assi) const;

private:
    void scegliColore(int primo, const QString &strumento, int indice, bool tieniPunto);
    void scegliStrumento(int puntatore, const QString &modo, bool tieniPunto);
    void annullaPunto();
    bool puntoInAttesaQui() const;
    void strumentoFinito();
    void puntatoreRipristinato();
    // Room check of a placement tool: the free slot, or 0 after the limit message
    // (naming the objects that wait for their bars, when some hold slots).
    int slotOppureLimite(int slot, int tipoMessaggio);
    // The first click of a line or distance: true when it was, and the point is kept.
    bool primoPunto(int grado);
    struct DueClic {
        int x1, x2;
        double p1, p2;
    };
    // The pending point and the click as bars and prices; nullopt on a chart without a scale.
    std::optional<DueClic> dueClic();
    // The deletion on the chart shared by the three kinds: the first object of the
    // current degree that `colpito` hits is freed and saved, or kept if the save fails.
    template <typename T, typename Colpito, typename Salva>
    void cancellaColpito(SlotOggetti<T> &tabella, int limite, Colpito colpito, Salva salva,
                         const QString &nonCancellato);

    const StatoProgramma &m_programma;
    StatoArchivio &m_archivio;
    const StatoMercato &m_mercato;  // which waiting objects are older than the history
    StatoCicli &m_cicli;
    StatoDisegno &m_disegno;
    ControlliGrafici &m_controlli;
    AmbienteStrumenti &m_ambiente;
};
