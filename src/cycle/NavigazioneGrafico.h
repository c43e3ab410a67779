#pragma once

// Chart navigation: the cycle position (Hsc_Graf) and vertical position
// (Hsc_Graf_Y) of each slot, and the zoom (Sld_Zoom, Cmd_Zoom_M/P) and
// compression (Sld_Compr, Cmd_Compr_M/P) of the current degree. Each change is
// kept per degree, saved at once and the chart redrawn.
//
// The scroll bars act on the degree their slot shows, and only the cycle
// position makes that slot and degree current; the sliders and buttons act on
// Grado_Corrente and redraw Grafico_Corrente. Everything except the zoom buttons
// ignores the user while Blocco_Grafici or Blocco_Aggiornamento is set, so the
// values the code itself writes into the controls come back as no-ops.

#include "archive/ParametriCicli.h"

#include <QString>

struct StatoArchivio;
struct StatoCicli;
struct StatoMercato;
struct StatoProgramma;
class BarraScorrimento;
class ControlliGrafici;

// What the navigation needs of the window and of the subsystems above the cycle
// model (redraw, drawing objects, indicator engine).
class AmbienteNavigazione {
public:
    virtual ~AmbienteNavigazione() = default;
    // The slots' scroll bars.
    virtual ControlliGrafici &Controlli() = 0;
    // nullptr when the window has no such slider (then 0..10 is assumed).
    virtual BarraScorrimento *Sld_Zoom() = 0;
    virtual BarraScorrimento *Sld_Compr() = 0;
    virtual void Disegna_Grafico(int grafico, int grado) = 0;
    // Moves the current degree's drawing objects by Hsc_Graf(Grafico_Corrente)
    // minus Barre_Ciclo(Grado_Corrente).
    virtual void Sposta_Disegni_AsseX() = 0;
    // Whether the degree shows its volume-at-price profile, which then follows
    // every move of the cycle start.
    virtual bool Profilo_Volumi_Attivo(int grado) const = 0;
    virtual void Calcola_Profilo_Volumi(int grado, int grafico) = 0;
    // The " In Caricamento ..." banner on the slot's chart.
    virtual void Mostra_Caricamento_Indicatore(int grado, int grafico) = 0;
    // Writes one setting of the degree (the window: to the archive). False with the text to show.
    [[nodiscard]] virtual bool Salva_Parametro(const StatoProgramma &programma, const StatoArchivio &archivio,
                                               const StatoCicli &cicli, archivio::Codice_Modifica codice, int grado,
                                               QString &errore) = 0;
    // A setting the archive did not take.
    virtual void Mostra_Errore(const QString &testo) = 0;
};

class NavigazioneGrafico {
public:
    NavigazioneGrafico(StatoProgramma &programma, StatoArchivio &archivio, const StatoMercato &mercato,
                       StatoCicli &cicli, AmbienteNavigazione &ambiente)
        : m_programma(programma), m_archivio(archivio), m_mercato(mercato), m_cicli(cicli), m_ambiente(ambiente)
    {
    }

    void Hsc_Graf_Change(int slot);
    void Hsc_Graf_Y_Change(int slot);

    void Sld_Zoom_Change();
    void Cmd_Zoom_M_Click();
    void Cmd_Zoom_P_Click();

    void Sld_Compr_Change();
    void Cmd_Compr_M_Click();
    void Cmd_Compr_P_Click();

private:
    bool Bloccato() const;
    // The degree slot `slot` shows, or -1 for a slot or degree out of range.
    int Grado_Slot(int slot) const;
    int Grado_Corrente_Valido() const;
    // False, after the report, when the archive did not take it.
    bool Salva(archivio::Codice_Modifica codice, int grado);
    // The cycle start of a degree and the scroll bar of its slot, taken before a
    // change, put back (with the objects) when the archive refuses it.
    struct InizioCiclo {
        int barre;    // Barre_Ciclo
        int valore;   // the scroll bar's value and maximum
        int massimo;
    };
    InizioCiclo Foto_Inizio(int slot, int grado);
    void Ripristina_Inizio(int slot, int grado, const InizioCiclo &foto);
    void Passo_Zoom(int passo);
    // Compression v for degree d: the scroll bar, cycle start and objects, then
    // the saves, recomputations and redraw.
    void Applica_Compressione(int grado, int v, bool minore);
    void Passo_Compressione(int passo);

    StatoProgramma &m_programma;
    StatoArchivio &m_archivio;
    const StatoMercato &m_mercato;
    StatoCicli &m_cicli;
    AmbienteNavigazione &m_ambiente;
};
