#pragma once

// The indicator engine: runs the switched-on items of the degree a chart slot
// shows, then has the slot redrawn.
//
// A run reads one consistent snapshot of the series and settings and never lets
// the event loop in, so nothing can change its inputs half way. A request that
// reaches the engine while a run is in progress (from a hook that processed
// events) is queued and done once after it, never interleaved.

#include "chart/GraficoControllo.h"

#include <QString>
#include <vector>

struct StatoArchivio;
struct StatoCicli;
struct StatoIndicatori;
struct StatoMercato;
struct StatoProgramma;

// What the engine needs of the window: the redraw of a slot, the slot's chart
// control for the loading banner, and the window's enabled state (counted).
class AmbienteIndicatori {
public:
    virtual ~AmbienteIndicatori() = default;
    virtual void Disegna_Grafico(int grafico, int grado) = 0;
    // nullptr when the slot has no chart control (no banner then).
    virtual GraficoControllo *Grafico(int grafico) = 0;
    virtual void Disabilita_Finestra() = 0;
    virtual void Abilita_Finestra() = 0;
};

class MotoreIndicatori {
public:
    static inline const QString Testo_Caricamento = QStringLiteral(" In Caricamento ...");
    static inline const QString Nome_Profilo = QStringLiteral("INDVOL1");

    MotoreIndicatori(const StatoProgramma &programma, const StatoArchivio &archivio, const StatoMercato &mercato,
                     const StatoCicli &cicli, StatoIndicatori &indicatori, AmbienteIndicatori *ambiente = nullptr);

    // Every switched-on item of the degree shown in slot `grafico` (0..3), then
    // the slot's redraw unless Blocco_Grafici is set.
    void Aggiorna_Indicatori(int grafico);
    // Aggiorna_Indicatori for slots 0..3 with the window disabled.
    void Aggiorna_Indicatori_Grafici();
    // One item alone for `grado`, as when the user switches it on; no redraw.
    void Calcola_Indicatore(int item, int grado, int grafico);
    // The volume profile of `grado` (item 19) alone, as when the cycle start moves.
    void Calcola_Profilo_Volumi(int grado, int grafico);
    // The loading banner on the chart of `grafico`: for the profile (nome
    // "INDVOL1") on every degree, for the other items on the daily degrees 0..2.
    void Mostra_Caricamento_Indicatore(int grado, int grafico, const QString &nome);

    bool In_Corso() const { return m_inCorso; }

private:
    struct Richiesta {
        enum Tipo { Slot, Tutti, Item, Profilo } tipo = Slot;
        int a = 0, b = 0, c = 0;
        bool operator==(const Richiesta &) const = default;
    };

    void esegui(const Richiesta &r);
    void aggiornaSlot(int grafico);
    void calcolaItem(int item, int grado, int grafico);
    void calcolaProfilo(int grado, int grafico);
    void richiedi(const Richiesta &r);

    const StatoProgramma &m_programma;
    const StatoArchivio &m_archivio;
    const StatoMercato &m_mercato;
    const StatoCicli &m_cicli;
    StatoIndicatori &m_indicatori;
    AmbienteIndicatori *m_ambiente = nullptr;
    bool m_inCorso = false;
    std::vector<Richiesta> m_inAttesa;
};
