#pragma once

// The loading sequence as the window runs it: the two phases the start panel,
// the server and the offline options start (FasiAvvio), what a failed phase
// does (DialoghiFinestra::Fallimento), the progress on the start panel and on
// the change panel FrmCambioSott, and the request for real-time data. It owns
// the sequence (Caricamento), whose routines the window's ServiziFinestra runs.

#include "shell/Caricamento.h"
#include "shell/ui/FormS1.h"

#include <QObject>
#include <QPointer>
#include <memory>

class DialoghiFinestra;
class PannelloQuotazioni;
class SessioneQuotazioni;

class ControlloreCaricamento : public QObject, public FasiAvvio {
    Q_OBJECT
public:
    ControlloreCaricamento(FormS1 &form, PannelloQuotazioni &quotazioni, ServiziCaricamento &servizi,
                           DialoghiFinestra &dialoghi, QObject *parent);
    ~ControlloreCaricamento() override;

    Caricamento &Sequenza() { return *m_caricamento; }
    // The online session, when there is one: server waits, sends and copies go through it.
    void Collega_Sessione(SessioneQuotazioni *sessione);
    SessioneQuotazioni *Sessione() const;

    // FasiAvvio
    void Carica_Storici_Avvio() override;
    void Carica_Dati_Avvio() override;
    // Phase 1 for a new underlying, and offline phase 2 at once.
    void Carica_Sottostante();

    // The loading progress on the start panel and the change panel.
    void Mostra_Avanzamento_Avvio(int passo);
    // The change panel, its right and bottom edges on the chart frame's centre lines.
    void Mostra_Pannello_Cambio();
    void Richiesta_Dati_RT_Al_Server();
    // A history file of the loading kept its old contents: the notice, with its text.
    static void Storico_Non_Salvato(const QString &testo);

signals:
    // Phase 2 has run, or the server's latest bars never came: what waited on the loading goes on.
    void Caricamento_Concluso();

private:
    void Esito_Fase(Caricamento::Esito esito);

    FormS1 &m_form;
    PannelloQuotazioni &m_quotazioni;
    DialoghiFinestra &m_dialoghi;
    std::unique_ptr<Caricamento> m_caricamento;
    QPointer<SessioneQuotazioni> m_sessione;
};
