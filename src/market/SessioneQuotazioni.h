#pragma once

// The client's side of the quote-server conversation: login, the catalogue of
// server messages and their effects, the senders, the history download on
// "COMM35", the connection watchdog and the queue of real-time bar updates.
// Free of widgets: what the window must show or do is reached through
// AzioniSessione, which the window implements and tests replace with recorders.

#include "market/FusioneStorico.h"
#include "market/Protocollo.h"
#include "market/ScaricoStorico.h"
#include "market/ScrittoreStorico.h"
#include "platform/Socket.h"
#include "platform/StatoProgramma.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>

struct StatoArchivio;

namespace testi_sessione {
inline const QString Titolo = QStringLiteral("Wavelore \u00AE");
inline const QString Titolo_Spazio = QStringLiteral(" Wavelore \u00AE");
inline const QString Inserire_UserId = QStringLiteral("Inserire UserId per avviare OnLine.    ");
inline const QString Caratteri_Non_Ammessi =
    QStringLiteral("UserId e Password non possono contenere il carattere \u00D8 o caratteri non ammessi.");
inline const QString Connessione_Fallita = QStringLiteral("Impossibile connettersi al Server.");
inline const QString Server_Non_Risponde = QStringLiteral("Il Server non risponde.");
inline const QString Autenticazione_Fallita = QStringLiteral("Autenticazione Non Riuscita, UserId o Password Errati.");
inline const QString Titolo_Gia_Connesso = QStringLiteral("- Utente gi\u00E0 connesso - ");
inline const QString Gia_Connesso = QStringLiteral(
    "Utente gi\u00E0 connesso, chiudere\r\nconnessione e avviare questa?\r\n\r\nPremere Si per Avviare questa.");
inline const QString Altra_Istanza =
    QStringLiteral("Disconnesso da Altra Istanza Aperta con Stessa UserId e Password");
inline const QString Titolo_Perdita = QStringLiteral("- Perdita Connessione con il Server - ");
inline const QString Perdita = QStringLiteral(
    "Wavelore ha perso la connessione con il Server.\r\n\r\nPremere Si per provare a riconnettersi al Server.");
inline const QString Messaggio_Troppo_Lungo = QStringLiteral("Chiusa: messaggio del Server troppo lungo");
inline const QString Problema_Tipo_1 =
    QStringLiteral("Problema tipo 1 di Scarico Storico dal Server, Wavelore verr\u00E0 chiuso");
}  // namespace testi_sessione

// What the session asks of the window and of the rest of the program.
class AzioniSessione {
public:
    enum Icona { Nessuna, Critica, DomandaIcona };

    virtual ~AzioniSessione() = default;

    virtual void Imposta_Lbl_Stato(const QString &testo) = 0;
    virtual void Imposta_Text_Stato(const QString &testo) = 0;
    // Cmd_OnLine and Cmd_OffLine.
    virtual void Abilita_Pulsanti(bool abilitati) = 0;
    virtual void Mostra_Utente(const QString &codice, const QString &descrizione) = 0;
    // The quote boxes changed (texts in StatoMercato); ultimo: Text_Last changed.
    // Called at most once a display frame, with the newest quote.
    virtual void Aggiorna_Caselle(bool ultimo) = 0;
    virtual void Lampeggia_Led_RT() = 0;
    virtual void Mostra_Messaggio_Chat(const QString &testo) = 0;
    virtual void Beep() = 0;
    // Message box; an empty title means the application's own title.
    virtual void Messaggio(Icona, const QString &titolo, const QString &testo) = 0;
    // Yes/No question; true for Yes.
    virtual bool Domanda(Icona, const QString &titolo, const QString &testo) = 0;
    virtual void Mostra_Messaggio(int tipo, const QString &testo) = 0;
    virtual bool Form_Msg_Visibile() const = 0;
    // The reconnection notice shown (window and chat disabled) or taken away.
    virtual void Mostra_Riconnessione(bool mostra) = 0;
    virtual void Mostra_Avanzamento_Avvio(int passo) = 0;
    virtual void Pausa(double secondi) = 0;
    virtual void Salva_Dati_Login() = 0;

    // Loading sequence and exit.
    virtual void Inizializza_Variabili() = 0;
    virtual void Carica_Storici_Avvio() = 0;
    virtual void Carica_Dati_Avvio() = 0;
    virtual void Chiudi_Programma() = 0;

    // Real-time merge: lamps of the slots in use lit, Timer_Agg_RT armed.
    virtual void Accendi_Led_Storico_RT() = 0;
    // After the series merged: cycle positions and starts, "P" saves, scroll bars,
    // indicators, titles and future axes.
    virtual void Dopo_Fusione_RT(const fusione::EsitoFusioneRT &esito) = 0;
};

class SessioneQuotazioni : public QObject {
    Q_OBJECT
public:
    // `socket`: the window's connection to the quote server; `scrittore`: the window's
    // writer of the history files; private ones when null. `azioni` must outlive the session.
    SessioneQuotazioni(StatoProgramma &programma, const StatoArchivio &archivio, StatoMercato &mercato,
                       AzioniSessione &azioni, QObject *parent = nullptr, Socket *socket = nullptr,
                       ScrittoreStorico *scrittore = nullptr);
    ~SessioneQuotazioni() override;

    AzioniSessione &Azioni() { return m_azioni; }
    Socket &socket() { return *m_socket; }
    ScrittoreStorico &Scrittore() { return *m_scrittore; }

    // Waits that the protocol sets itself; tests shorten them.
    int Intervallo_Watchdog_ms = 10000;
    int Timeout_Connessione_ms = 15000;
    int Attesa_Tick_Fusione_ms = 2000;
    // Quotes arriving within one frame are shown once, the newest.
    int Intervallo_Schermo_ms = 16;
    // A link broken by a message over the bound is reconnected without asking once;
    // another break asks the watchdog's question until the new link has held this long.
    qint64 Tenuta_Collegamento_ms = 60000;

    // Login panel.
    void Cmd_OnLine_Click(const QString &textId, const QString &textPassword, bool ricordami);

    // Senders; false when not connected.
    bool Invia(const QString &codice, const QStringList &campi = {});
    bool Invia_Testo(const QString &messaggio);
    void Richiesta_Dati_RT_Al_Server();
    void Blocca_Dati_RT_Dal_Server();
    bool Connesso() const;
    void Chiudi_Socket();

    // Loading-sequence services.
    // Waits, letting events run, until the download started by "COMM35" has ended.
    bool Attendi_Download(int millisecondi);
    bool Download_Concluso() const { return m_downloadConcluso; }
    // Copies the downloaded tables into the series; on failure shows the
    // "Problema tipo 1" message, closes the connection, ends the program and returns false.
    bool Carica_Storico_Da_Server();
    // Sets Aggiorna_Storico and merges the server's last two bars.
    fusione::EsitoUltimeBarre Aggiorna_Ultime_Barre_Storico();
    // The four history files of the current underlying, queued to the writer; false when
    // one cannot be formatted. A write that fails later is shown as a message.
    bool Salva_Storici(QString *errore = nullptr);

    // The exit has begun: the session stops for good. The watchdog, the reconnection, the
    // login's and the merges' waits are off, nothing more is read from the socket nor
    // handled of what was read, no call already queued runs and no connection is made:
    // nothing of the session opens a box, connects, downloads or merges again.
    void Ferma_Per_Uscita();
    bool Fermata() const { return m_vivo == nullptr; }

    // Watchdog.
    void TimerCtrlConn_Timer();
    void Ferma_Watchdog();
    bool Watchdog_Attivo() const { return m_timerCtrlConn.isActive(); }

    // Real-time bar updates waiting or being merged.
    int Aggiornamenti_In_Coda() const { return int(m_coda.size()) + (m_fusioneInCorso ? 1 : 0); }
    int Fusioni_Eseguite() const { return m_fusioniEseguite; }
    quint64 Tick_Ricevuti() const { return m_tickRicevuti; }
    // Quotes handled when the quote boxes were last shown.
    quint64 Tick_Mostrati() const { return m_tickMostrati; }

signals:
    // One decoded message, before it is handled.
    void Messaggio_Ricevuto(const QString &codice);
    // The message went through its handler (a message the handler needs whole
    // and that came short is dropped without it).
    void Messaggio_Gestito(const QString &codice);
    void Fusione_RT_Conclusa();
    // The quote boxes now show the newest quote handled (Tick_Mostrati).
    void Quotazione_Mostrata();
    void Download_Terminato();

private:
    void Connetti();
    void Socket_Connect();
    void Socket_Close();
    void Connessione_Persa();
    void Socket_Errore(const QString &descrizione);
    void Socket_DataArrival(const QByteArray &byte);
    // Handles, in order, the messages decoded and not yet handled.
    void Gestisci_Arrivati();
    void Messaggio_Oltre_Il_Limite();
    // Closes and reconnects with the same credentials, the reconnection notice shown.
    void Riconnetti();
    void Mostra_Quotazione();
    void Login_Fallito(const QString &testo);
    // Dispatches through the table of handlers, one per message code.
    void Gestisci(const protocollo::Messaggio &m);
    void Login_Riuscito(const protocollo::Messaggio &m);         // COMM12
    void Login_Rifiutato(const protocollo::Messaggio &m);        // COMM13
    void Utente_Gia_Connesso(const protocollo::Messaggio &m);    // COMM14
    void Sostituita_Da_Altra(const protocollo::Messaggio &m);    // COMM16
    void Avviso_Server(const protocollo::Messaggio &m);          // COMM17
    void Chiusura_Server(const protocollo::Messaggio &m);        // COMM19
    void Testo_Server(const protocollo::Messaggio &m);           // COMM20
    void Messaggio_Chat(const protocollo::Messaggio &m);         // COMM25
    void Gestisci_Tick(const protocollo::Messaggio &m);          // COMM31
    void Gestisci_Barra(const protocollo::Messaggio &m);         // COMM33
    void Gestisci_Storico(const protocollo::Messaggio &m);       // COMM35
    void Ultime_Barre_Server(const protocollo::Messaggio &m);    // COMM37
    void Mostra_Chiusura(const QString &testo);
    void Arma_Watchdog();
    void Avvia_Fusione();
    void Esegui_Fusione();
    void Pausa(double secondi);
    // Every queued call of the session goes through here: Ferma_Per_Uscita drops those
    // still waiting.
    template <typename F>
    void In_Coda(F &&chiamata);

    struct AggiornamentoRT {
        std::array<StatoMercato::BarraRT, 5> barre;
        int sottostante = 0;
        QDateTime quotazione;  // of the first quote after it
    };

    StatoProgramma &m_programma;
    const StatoArchivio &m_archivio;
    StatoMercato &m_mercato;
    AzioniSessione &m_azioni;
    QPointer<Socket> m_socket;  // the window may delete its socket first
    QPointer<ScrittoreStorico> m_scrittore;  // and its writer
    protocollo::Decodificatore m_decodificatore;
    // The receiver of everything that makes the session act (socket, timers, writer,
    // queued calls); gone once stopped, and every connection and call with it.
    QObject *m_vivo;
    QTimer m_timerCtrlConn;
    QTimer m_timerConnessione;
    QTimer m_timerAttesaTick;
    QTimer m_timerSchermo;
    bool m_chiusuraLocale = false;
    bool m_inLogin = false;          // connect requested, no answer to the login yet
    bool m_loggato = false;
    bool m_tentativoConcluso = true;  // the last attempt ended: a new one reconnects
    bool m_domandaWatchdog = false;
    quint64 m_connessione = 0;       // drops messages queued from an earlier connection
    std::deque<protocollo::Messaggio> m_arrivati;
    bool m_gestioneInCoda = false;
    bool m_oltreIlLimite = false;  // the link broke after the messages waiting
    // Reconnected on its own after a broken message, since the user's last start.
    bool m_riconnessioneAutomatica = false;
    QElapsedTimer m_collegatoDa;  // since the last login accepted

    scarico::TabelleScaricate m_tabelle;
    bool m_downloadConcluso = false;

    std::deque<AggiornamentoRT> m_coda;
    bool m_fusioneInCorso = false;
    bool m_attesaTick = false;
    int m_fusioniEseguite = 0;
    quint64 m_tickRicevuti = 0;  // every quote message
    quint64 m_tickMostrati = 0;
    bool m_ultimoCambiato = false;  // Text_Last changed since the boxes were shown
};
