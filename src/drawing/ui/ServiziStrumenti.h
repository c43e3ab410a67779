#pragma once

// What the chart tools in the window work on and ask of the window around them,
// which belongs to a higher layer: the parts of the session state, and the
// messages, redraws and panels the window answers for.

#include "archive/ParametriCicli.h"

#include <QString>

class QWidget;
struct StatoArchivio;
struct StatoCicli;
struct StatoDisegno;
struct StatoMercato;
struct StatoProgramma;

// The session state's parts, under the names the whole state gives them.
struct StatoStrumenti {
    StatoProgramma &shell;
    StatoArchivio &archivio;
    StatoMercato &mercato;
    StatoCicli &cicli;
    StatoDisegno &disegno;
};

// Answered by the window (ServiziStrumentiFinestra); Riquadro nullptr when the slot has no panel.
class ServiziStrumenti {
public:
    virtual ~ServiziStrumenti() = default;

    // The limit messages: 1 lines, 2 texts, 3 distances.
    virtual void Mostra_Messaggio(int tipo) = 0;
    // The same window with a text of the tools' own.
    virtual void Mostra_Testo_Messaggio(const QString &testo) = 0;
    virtual void Mostra_Errore(const QString &testo) = 0;
    // Timer_Disegno at 5 ms: one redraw of the current slot after this event.
    virtual void Avvia_Timer_Disegno() = 0;
    // The current slot's chart drawn again at once.
    virtual void Ridisegna_Grafico_Corrente() = 0;
    // Salva_Parametro of one setting of the degree; false with the text to show.
    [[nodiscard]] virtual bool Salva_Parametro(archivio::Codice_Modifica codice, int grado, QString &errore) = 0;
    // The chart panel Frm_Graf(slot), which the fixed readout box is placed against.
    virtual QWidget *Riquadro(int slot) = 0;
};
