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

// Every request does nothing by default; Riquadro has no panel.
class ServiziStrumenti {
public:
    virtual ~ServiziStrumenti() = default;

    // The limit messages: 1 lines, 2 texts, 3 distances.
    virtual void Mostra_Messaggio(int /*tipo*/) {}
    // The same window with a text of the tools' own.
    virtual void Mostra_Testo_Messaggio(const QString & /*testo*/) {}
    virtual void Mostra_Errore(const QString & /*testo*/) {}
    // Timer_Disegno at 5 ms: one redraw of the current slot after this event.
    virtual void Avvia_Timer_Disegno() {}
    // The current slot's chart drawn again at once.
    virtual void Ridisegna_Grafico_Corrente() {}
    // Salva_Parametro of one setting of the degree; false with the text to show.
    [[nodiscard]] virtual bool Salva_Parametro(archivio::Codice_Modifica /*codice*/, int /*grado*/, QString & /*errore*/)
    {
        return true;
    }
    // The chart panel Frm_Graf(slot), which the fixed readout box is placed against.
    virtual QWidget *Riquadro(int /*slot*/) { return nullptr; }
};
