#include "market/SessioneQuotazioni.h"

#include "archive/StatoArchivio.h"
#include "market/RigaChat.h"
#include "market/StoricoLocale.h"
#include "platform/CodaMessaggi.h"
#include "platform/Codec1252.h"
#include "platform/DataOra.h"
#include "platform/Percorsi.h"
#include "platform/Socket.h"
#include "platform/VbRuntime.h"

#include <QEventLoop>
#include <QRegularExpression>

using namespace testi_sessione;

SessioneQuotazioni::SessioneQuotazioni(StatoProgramma &programma, const StatoArchivio &archivio,
                                       StatoMercato &mercato, AzioniSessione &azioni, QObject *parent, Socket *socket,
                                       ScrittoreStorico *scrittore)
    : QObject(parent), m_programma(programma), m_archivio(archivio), m_mercato(mercato), m_azioni(azioni),
      m_socket(socket ? socket : new Socket(this)), m_scrittore(scrittore ? scrittore : new ScrittoreStorico(this)),
      m_vivo(new QObject(this))
{
    m_timerCtrlConn.setSingleShot(true);
    // A coarse timer may fire up to 5 % early: the question must never come before
    // a whole interval without quotes.
    m_timerCtrlConn.setTimerType(Qt::PreciseTimer);
    m_timerConnessione.setSingleShot(true);
    m_timerAttesaTick.setSingleShot(true);
    m_timerSchermo.setSingleShot(true);
    connect(&m_timerSchermo, &QTimer::timeout, m_vivo, [this] { Mostra_Quotazione(); });
    connect(&m_timerCtrlConn, &QTimer::timeout, m_vivo, [this] { TimerCtrlConn_Timer(); });
    connect(&m_timerConnessione, &QTimer::timeout, m_vivo, [this] {
        if (m_inLogin)
            Login_Fallito(Server_Non_Risponde);
    });
    connect(&m_timerAttesaTick, &QTimer::timeout, m_vivo, [this] { Esegui_Fusione(); });
    connect(m_socket, &Socket::Connected, m_vivo, [this] { Socket_Connect(); });
    connect(m_socket, &Socket::Closed, m_vivo, [this] { Socket_Close(); });
    connect(m_socket, &Socket::Error, m_vivo, [this](const QString &d) { Socket_Errore(d); });
    connect(m_socket, &Socket::DataArrival, m_vivo, [this](const QByteArray &b) { Socket_DataArrival(b); });
}

SessioneQuotazioni::~SessioneQuotazioni()
{
    m_chiusuraLocale = true;
    // A window's socket outlives the session: it must not call back into it.
    delete m_vivo;
}

template <typename F>
void SessioneQuotazioni::In_Coda(F &&chiamata)
{
    if (m_vivo)
        QMetaObject::invokeMethod(m_vivo, std::forward<F>(chiamata), Qt::QueuedConnection);
}

void SessioneQuotazioni::Ferma_Per_Uscita()
{
    if (!m_vivo)
        return;
    for (QTimer *t : {&m_timerCtrlConn, &m_timerConnessione, &m_timerAttesaTick, &m_timerSchermo})
        t->stop();
    delete m_vivo;
    m_vivo = nullptr;
    ++m_connessione;
    m_arrivati.clear();
    m_coda.clear();
    m_attesaTick = false;
    m_inLogin = false;
    m_mercato.Riconnessione_In_Corso = false;
}

// ---- login and connection

void SessioneQuotazioni::Cmd_OnLine_Click(const QString &textId, const QString &textPassword, bool ricordami)
{
    // The one way in that no event of the session's own drives: closed once the exit has begun.
    if (Fermata())
        return;
    auto &a = m_azioni;
    a.Abilita_Pulsanti(false);
    m_programma.Modalita = QStringLiteral("ONLINE");
    if (textId.isEmpty()) {
        a.Beep();
        a.Messaggio(AzioniSessione::Critica, Titolo_Spazio, Inserire_UserId);
        a.Abilita_Pulsanti(true);
        return;
    }
    // "Ø" separates the fields on the wire and the wire carries Windows-1252 only.
    const QString login = textId + textPassword;
    if (login.contains(protocollo::TerminatoreTesto) || !codec1252::Codificabile(login)) {
        a.Messaggio(AzioniSessione::Critica, Titolo_Spazio, Caratteri_Non_Ammessi);
        a.Abilita_Pulsanti(true);
        return;
    }
    // The user's own start: a server that breaks the link may be reconnected without asking again.
    m_riconnessioneAutomatica = false;
    m_mercato.UserId = textId.toLower();
    m_mercato.Password = textPassword;
    if (ricordami)
        a.Salva_Dati_Login();
    m_mercato.Indirizzo_Server = percorsi::IndirizzoServer();
    m_mercato.Porta_Server = percorsi::PortaServer();
    // After a refusal the old connection is useless: start a new one.
    if (m_socket->State() == Socket::Chiuso || m_tentativoConcluso)
        Connetti();
    a.Imposta_Lbl_Stato(QStringLiteral("In Connessione"));
}

void SessioneQuotazioni::Connetti()
{
    ++m_connessione;
    m_decodificatore.Azzera();
    m_arrivati.clear();
    m_oltreIlLimite = false;
    m_chiusuraLocale = true;
    m_socket->Connect(m_mercato.Indirizzo_Server, m_mercato.Porta_Server);
    m_chiusuraLocale = false;
    m_inLogin = true;
    m_loggato = false;
    m_tentativoConcluso = false;
    m_timerConnessione.start(Timeout_Connessione_ms);
}

void SessioneQuotazioni::Socket_Connect()
{
    m_azioni.Imposta_Lbl_Stato(QStringLiteral("In Autenticazione"));
    if (m_socket->State() == Socket::Connesso) {
        Invia(QStringLiteral("COMM11"),
              {m_mercato.UserId, m_mercato.Password, m_programma.Versione});
    } else {
        m_azioni.Imposta_Lbl_Stato(QStringLiteral("Non Connesso"));
        Chiudi_Socket();
    }
}

void SessioneQuotazioni::Socket_Close()
{
    if (!m_chiusuraLocale)
        Connessione_Persa();
}

void SessioneQuotazioni::Connessione_Persa()
{
    Chiudi_Socket();
    m_azioni.Imposta_Text_Stato(QStringLiteral("Chiusa dal Server"));
    if (m_inLogin)
        Login_Fallito(QString());
}

void SessioneQuotazioni::Socket_Errore(const QString &)
{
    if (m_inLogin && m_socket->State() != Socket::Connesso)
        Login_Fallito(Connessione_Fallita);
}

void SessioneQuotazioni::Login_Fallito(const QString &testo)
{
    m_inLogin = false;
    m_tentativoConcluso = true;
    m_timerConnessione.stop();
    Chiudi_Socket();
    m_azioni.Imposta_Lbl_Stato(QStringLiteral("Non Connesso"));
    if (m_mercato.Riconnessione_In_Corso) {
        // The reconnection failed: the notice goes and the user may try again or stop.
        m_mercato.Riconnessione_In_Corso = false;
        m_azioni.Mostra_Riconnessione(false);
        In_Coda([this] { TimerCtrlConn_Timer(); });
        return;
    }
    if (!testo.isEmpty())
        m_azioni.Messaggio(AzioniSessione::Critica, Titolo, testo);
    m_azioni.Abilita_Pulsanti(true);
}

bool SessioneQuotazioni::Connesso() const { return m_socket->State() == Socket::Connesso; }

void SessioneQuotazioni::Chiudi_Socket()
{
    m_chiusuraLocale = true;
    m_socket->Close();
    m_chiusuraLocale = false;
    m_decodificatore.Azzera();
}

// ---- senders

bool SessioneQuotazioni::Invia(const QString &codice, const QStringList &campi)
{
    return Invia_Testo(protocollo::Componi(codice, campi));
}

bool SessioneQuotazioni::Invia_Testo(const QString &messaggio)
{
    if (!Connesso())
        return false;
    if (messaggio.startsWith(QLatin1String("COMM34"))) {
        // A new history request: the answer starts a fresh download.
        m_downloadConcluso = false;
        m_tabelle = {};
    }
    return m_socket->SendData(messaggio);
}

void SessioneQuotazioni::Richiesta_Dati_RT_Al_Server()
{
    if (Connesso()) {
        Invia(QStringLiteral("COMM30"), {QString::number(m_archivio.Sottostante_Corrente)});
        return;
    }
    m_azioni.Imposta_Lbl_Stato(QStringLiteral("Non Connesso"));
    m_azioni.Imposta_Text_Stato(QStringLiteral("Non Connesso"));
    Chiudi_Socket();
}

void SessioneQuotazioni::Blocca_Dati_RT_Dal_Server()
{
    if (Connesso()) {
        Invia(QStringLiteral("COMM32"));
        return;
    }
    m_azioni.Imposta_Lbl_Stato(QStringLiteral("Non Connesso"));
    Chiudi_Socket();
}

// ---- receiving

void SessioneQuotazioni::Socket_DataArrival(const QByteArray &byte)
{
    // Only decode here. A delivery is handled as one batch from a queued call, in
    // order; a handler that lets events run goes on with the messages that follow,
    // so it may wait for later messages without blocking the socket.
    for (protocollo::Messaggio &m : m_decodificatore.Aggiungi(byte)) {
        emit Messaggio_Ricevuto(m.Codice);
        m_arrivati.push_back(std::move(m));
    }
    // A message beyond any sensible size: the server is broken or hostile. Nothing
    // more is read from this link; what came before it is still handled first.
    if (m_decodificatore.Traboccato()) {
        Chiudi_Socket();
        m_oltreIlLimite = true;
    }
    if ((!m_arrivati.empty() || m_oltreIlLimite) && !m_gestioneInCoda) {
        m_gestioneInCoda = true;
        const quint64 connessione = m_connessione;
        In_Coda([this, connessione] {
            m_gestioneInCoda = false;
            if (connessione == m_connessione)
                Gestisci_Arrivati();
        });
    }
}

void SessioneQuotazioni::Gestisci_Arrivati()
{
    const quint64 connessione = m_connessione;
    while (!m_arrivati.empty() && connessione == m_connessione) {
        const protocollo::Messaggio m = std::move(m_arrivati.front());
        m_arrivati.pop_front();
        Gestisci(m);
    }
    if (m_oltreIlLimite && m_arrivati.empty() && connessione == m_connessione) {
        m_oltreIlLimite = false;
        Messaggio_Oltre_Il_Limite();
    }
}

void SessioneQuotazioni::Messaggio_Oltre_Il_Limite()
{
    const bool loggato = m_loggato;
    Chiudi_Socket();
    // The status box is soon overwritten and too narrow for the cause: the chat keeps it whole.
    m_azioni.Imposta_Text_Stato(Messaggio_Troppo_Lungo);
    m_azioni.Mostra_Messaggio_Chat(Messaggio_Troppo_Lungo);
    if (m_inLogin) {
        Login_Fallito(QString());
        return;
    }
    if (!loggato)
        return;
    m_loggato = false;
    m_tentativoConcluso = true;
    m_timerCtrlConn.stop();
    // The link is broken, not silent: reconnect at once, as the watchdog does when
    // the user asks. A server that breaks it again before the new link has held,
    // however many quotes came between, gets the question: no loop of logins.
    const bool tenuto = m_collegatoDa.isValid() && m_collegatoDa.elapsed() >= Tenuta_Collegamento_ms;
    if (m_riconnessioneAutomatica && !tenuto) {
        In_Coda([this] { TimerCtrlConn_Timer(); });
        return;
    }
    m_riconnessioneAutomatica = true;
    Riconnetti();
}

void SessioneQuotazioni::Gestisci(const protocollo::Messaggio &m)
{
    struct Gestore {
        const char *codice;
        bool intero;  // a short message is dropped unhandled
        void (SessioneQuotazioni::*gestisci)(const protocollo::Messaggio &);
    };
    static constexpr Gestore Gestori[] = {
        {"COMM12", true, &SessioneQuotazioni::Login_Riuscito},
        {"COMM13", false, &SessioneQuotazioni::Login_Rifiutato},
        {"COMM14", true, &SessioneQuotazioni::Utente_Gia_Connesso},
        {"COMM16", false, &SessioneQuotazioni::Sostituita_Da_Altra},
        {"COMM17", true, &SessioneQuotazioni::Avviso_Server},
        {"COMM19", true, &SessioneQuotazioni::Chiusura_Server},
        {"COMM20", true, &SessioneQuotazioni::Testo_Server},
        {"COMM25", true, &SessioneQuotazioni::Messaggio_Chat},
        {"COMM31", false, &SessioneQuotazioni::Gestisci_Tick},
        {"COMM33", false, &SessioneQuotazioni::Gestisci_Barra},
        {"COMM35", false, &SessioneQuotazioni::Gestisci_Storico},
        {"COMM37", false, &SessioneQuotazioni::Ultime_Barre_Server},
    };
    for (const Gestore &g : Gestori) {
        if (m.Codice != QLatin1String(g.codice))
            continue;
        if (g.intero && !m.Completo)
            return;
        (this->*g.gestisci)(m);
        break;
    }
    emit Messaggio_Gestito(m.Codice);
}

void SessioneQuotazioni::Login_Riuscito(const protocollo::Messaggio &m)
{
    if (m_loggato)
        return;
    m_inLogin = false;
    m_loggato = true;
    m_collegatoDa.start();
    m_timerConnessione.stop();
    m_azioni.Imposta_Lbl_Stato(QStringLiteral("Connesso"));
    m_azioni.Imposta_Text_Stato(QStringLiteral("Connesso"));
    m_mercato.Cod_Utente = m.Campo(1);
    m_mercato.Desc_Utente = m.Campo(2) + QLatin1Char(' ') + m.Campo(3);
    m_azioni.Mostra_Utente(m_mercato.Cod_Utente, m_mercato.Desc_Utente);
    m_azioni.Inizializza_Variabili();
    m_azioni.Carica_Storici_Avvio();
}

void SessioneQuotazioni::Login_Rifiutato(const protocollo::Messaggio &)
{
    m_inLogin = false;
    m_tentativoConcluso = true;
    m_timerConnessione.stop();
    if (m_mercato.Riconnessione_In_Corso) {
        m_mercato.Riconnessione_In_Corso = false;
        m_azioni.Mostra_Riconnessione(false);
    }
    m_azioni.Imposta_Lbl_Stato(QStringLiteral("Non Autenticato"));
    m_azioni.Beep();
    m_azioni.Messaggio(AzioniSessione::Nessuna, Titolo, Autenticazione_Fallita);
    m_azioni.Abilita_Pulsanti(true);
}

void SessioneQuotazioni::Utente_Gia_Connesso(const protocollo::Messaggio &m)
{
    m_timerConnessione.stop();
    // A reconnection takes the old session's place without asking.
    bool subentra = m_mercato.Riconnessione_In_Corso;
    if (subentra) {
        m_mercato.Riconnessione_In_Corso = false;
    } else {
        m_azioni.Imposta_Lbl_Stato(QStringLiteral("Gi\u00E0 Connesso"));
        subentra = m_azioni.Domanda(AzioniSessione::DomandaIcona, Titolo_Gia_Connesso, Gia_Connesso);
        if (!subentra) {
            m_inLogin = false;
            m_tentativoConcluso = true;
            Chiudi_Socket();
            m_azioni.Abilita_Pulsanti(true);
            return;
        }
    }
    if (Connesso()) {
        Invia(QStringLiteral("COMM15"), {m.Campo(1), QStringLiteral("1")});
        m_timerConnessione.start(Timeout_Connessione_ms);
    }
}

void SessioneQuotazioni::Sostituita_Da_Altra(const protocollo::Messaggio &)
{
    // Another session took this one's place on purpose: nothing to watch any more.
    m_tentativoConcluso = true;
    m_loggato = false;
    m_timerCtrlConn.stop();
    m_azioni.Imposta_Lbl_Stato(QStringLiteral("Disconnesso da Altra Sessione"));
    m_azioni.Messaggio(AzioniSessione::Nessuna, QString(), Altra_Istanza);
    m_azioni.Abilita_Pulsanti(true);
}

void SessioneQuotazioni::Avviso_Server(const protocollo::Messaggio &m)
{
    m_azioni.Beep();
    m_azioni.Messaggio(AzioniSessione::Nessuna, Titolo, m.Campo(2));
    Chiudi_Socket();
    m_loggato = false;
    m_tentativoConcluso = true;
    if (m.Campo(1) == QLatin1String("1"))
        m_timerCtrlConn.stop();
    else
        m_azioni.Chiudi_Programma();
}

void SessioneQuotazioni::Chiusura_Server(const protocollo::Messaggio &m)
{
    Chiudi_Socket();
    m_loggato = false;
    m_tentativoConcluso = true;
    m_timerCtrlConn.stop();
    if (m.Campo(1) == QLatin1String("1"))
        Mostra_Chiusura(m.Testo());
}

void SessioneQuotazioni::Testo_Server(const protocollo::Messaggio &m)
{
    if (m_azioni.Form_Msg_Visibile())
        messaggi::Accoda(m_programma.Coda_Messaggi, m.Campo(1));
    else
        m_azioni.Mostra_Messaggio(5, m.Campo(1));
}

void SessioneQuotazioni::Messaggio_Chat(const protocollo::Messaggio &m)
{
    // Cut first: the removals below then cost little, whatever the server sends.
    QString testo = protocollo::Riga_Chat(m.Campo(1));
    for (int n = 10; n <= 99; ++n)
        testo.remove(QStringLiteral("COMM") + QString::number(n));
    m_azioni.Mostra_Messaggio_Chat(testo);
}

void SessioneQuotazioni::Ultime_Barre_Server(const protocollo::Messaggio &m)
{
    // A short message leaves the tables empty: the start merge then skips them,
    // and the loading still goes on.
    for (int k = 1; k <= 4; ++k)
        for (int b = 1; b <= 2; ++b)
            for (int f = 1; f <= 4; ++f)
                m_mercato.Tab_Server[size_t(k)][size_t(b)][size_t(f)] =
                    m.Completo ? m.Campo(8 * (k - 1) + 4 * (b - 1) + f) : QString();
    m_azioni.Carica_Dati_Avvio();
}

namespace {

// "dd/mm/yyyy hh:mm:ss" as the server writes it (day first); seconds optional.
bool LeggiDataOraServer(const QString &testo, QDateTime *dataOra)
{
    const QString t = testo.trimmed();
    const qsizetype spazio = t.indexOf(QLatin1Char(' '));
    if (spazio < 0)
        return false;
    const auto data = dataora::LeggiData(t.left(spazio), QStringLiteral("DD/MM/YY"));
    const QString ora = t.mid(spazio + 1).trimmed();
    const auto minuti = dataora::LeggiOra(ora);
    if (!data || !minuti)
        return false;
    static const QRegularExpression sep(QStringLiteral("[:.]"));
    static const QRegularExpression ampm(QStringLiteral("\\s*[AaPp][Mm]$"));
    const QStringList parti = ora.split(sep);
    int secondi = 0;
    if (parti.size() == 3) {
        QString s = parti[2];
        s.remove(ampm);
        secondi = s.toInt();
    }
    *dataOra = QDateTime(*data, QTime(*minuti / 60, *minuti % 60, secondi));
    return dataOra->isValid();
}

}  // namespace

void SessioneQuotazioni::Gestisci_Tick(const protocollo::Messaggio &m)
{
    auto &mercato = m_mercato;
    const auto &programma = m_programma;
    ++m_tickRicevuti;
    m_timerCtrlConn.stop();
    if (m.Completo && !programma.Blocco_Aggiornamento) {
        const bool ue = programma.Formato_Locale == QLatin1String("UE");
        const QChar dec = ue ? QLatin1Char(',') : QLatin1Char('.');
        const QChar mig = ue ? QLatin1Char('.') : QLatin1Char(',');
        bool ultimo = false;
        QDateTime dataOra;
        if (LeggiDataOraServer(m.Campo(1), &dataOra)) {
            mercato.Data_Ora_Quotazione = dataOra;
            // Bar updates still waiting for their quote get this one.
            for (auto u = m_coda.rbegin(); u != m_coda.rend() && !u->quotazione.isValid(); ++u)
                u->quotazione = dataOra;
            const int minuti = dataOra.time().hour() * 60 + dataOra.time().minute();
            mercato.Text_Data_Ora = dataora::ScriviData(dataOra.date(), programma.Formato_Data) + QLatin1Char(' ') +
                                    dataora::ScriviOra(minuti, programma.Formato_Ora_Secondi, dataOra.time().second());
        }
        if (auto v = fusione::NumeroServer(m.Campo(2))) {
            const QString formato =
                m_mercato.Formato_Prezzo.isEmpty() ? QStringLiteral("0.00") : m_mercato.Formato_Prezzo;
            const QString testo = vb::Format(*v, formato, dec, mig);
            ultimo = testo != mercato.Text_Last || mercato.Ultimo_Prezzo != v;
            mercato.Text_Last = testo;
            mercato.Ultimo_Prezzo = v;
        }
        if (auto v = fusione::NumeroServer(m.Campo(3)))
            mercato.Text_Var = vb::Format(*v, QStringLiteral("0.00"), dec, mig) + QStringLiteral(" %");
        if (auto v = fusione::NumeroServer(m.Campo(4))) {
            if (ue) {
                mercato.Text_Volume = m.Campo(4);
            } else {
                QString t = m.Campo(4).trimmed();
                t.remove(QLatin1Char('.'));
                t.replace(QLatin1Char(','), QLatin1Char('.'));
                mercato.Text_Volume = t;
            }
        }
        m_ultimoCambiato = m_ultimoCambiato || ultimo;
        if (!m_timerSchermo.isActive())
            m_timerSchermo.start(Intervallo_Schermo_ms);
        // A bar update waiting for the quote that follows it can go on now.
        if (m_attesaTick && dataOra.isValid())
            In_Coda([this] { Esegui_Fusione(); });
    } else if (m.Completo) {
        if (!m_timerSchermo.isActive())
            m_timerSchermo.start(Intervallo_Schermo_ms);
    }
    Arma_Watchdog();
}

void SessioneQuotazioni::Mostra_Quotazione()
{
    const bool ultimo = std::exchange(m_ultimoCambiato, false);
    m_tickMostrati = m_tickRicevuti;
    m_azioni.Aggiorna_Caselle(ultimo);
    m_azioni.Lampeggia_Led_RT();
    emit Quotazione_Mostrata();
}

void SessioneQuotazioni::Arma_Watchdog()
{
    m_timerCtrlConn.setInterval(Intervallo_Watchdog_ms);
    if (!m_programma.RT_Bloccato)
        m_timerCtrlConn.start();
}

void SessioneQuotazioni::Ferma_Watchdog() { m_timerCtrlConn.stop(); }

void SessioneQuotazioni::Gestisci_Storico(const protocollo::Messaggio &)
{
    auto &mercato = m_mercato;
    if (mercato.Scarica_Storico) {
        // The download's steps and pauses are the window's.
        class Ambiente : public scarico::AmbienteScarico {
        public:
            explicit Ambiente(AzioniSessione &azioni) : m_azioni(azioni) {}
            void Avanzamento(int passo) override { m_azioni.Mostra_Avanzamento_Avvio(passo); }
            void Pausa(double secondi) override { m_azioni.Pausa(secondi); }

        private:
            AzioniSessione &m_azioni;
        } ambiente(m_azioni);
        m_tabelle = scarico::Scarica_Storico_Dal_Server(
            scarico::StringaConnessione(mercato.Indirizzo_Server, m_archivio.Sottostante_Corrente), ambiente,
            mercato.Riconnessione_In_Corso);
        // The reconnection has reached the download: later take-overs ask again.
        mercato.Riconnessione_In_Corso = false;
        m_downloadConcluso = true;
        emit Download_Terminato();
    }
    if (mercato.Aggiorna_Storico)
        Aggiorna_Ultime_Barre_Storico();
}

bool SessioneQuotazioni::Attendi_Download(int millisecondi)
{
    if (m_downloadConcluso)
        return true;
    QEventLoop ciclo;
    QTimer limite;
    limite.setSingleShot(true);
    connect(&limite, &QTimer::timeout, &ciclo, &QEventLoop::quit);
    connect(this, &SessioneQuotazioni::Download_Terminato, &ciclo, &QEventLoop::quit);
    connect(m_socket.data(), &Socket::Closed, &ciclo, &QEventLoop::quit);
    limite.start(millisecondi);
    ciclo.exec();
    return m_downloadConcluso;
}

bool SessioneQuotazioni::Carica_Storico_Da_Server()
{
    QString problema;
    const bool ok = scarico::Carica_Storico_Da_Server(m_mercato, m_tabelle, &problema);
    m_tabelle = {};
    if (ok)
        return true;
    m_azioni.Messaggio(AzioniSessione::Nessuna, QString(), Problema_Tipo_1);
    Chiudi_Socket();
    m_azioni.Chiudi_Programma();
    return false;
}

fusione::EsitoUltimeBarre SessioneQuotazioni::Aggiorna_Ultime_Barre_Storico()
{
    m_mercato.Aggiorna_Storico = true;
    return fusione::Aggiorna_Ultime_Barre_Storico(m_mercato);
}

bool SessioneQuotazioni::Salva_Storici(QString *errore)
{
    if (!m_scrittore)
        return false;
    bool ok = true;
    for (const QString &tf : storico::Timeframes()) {
        const storico::Esito e =
            m_scrittore->Salva(m_mercato, m_archivio.Sottostante_Corrente, tf, ScrittoreStorico::Tempo_Reale);
        if (!e.ok) {
            if (errore && ok)
                *errore = e.errore;
            ok = false;
        }
    }
    return ok;
}

void SessioneQuotazioni::Mostra_Chiusura(const QString &testo)
{
    // One message window at a time: the closing notice waits for the open one to close.
    if (m_azioni.Form_Msg_Visibile()) {
        QTimer::singleShot(200, m_vivo, [this, testo] { Mostra_Chiusura(testo); });
        return;
    }
    m_azioni.Mostra_Messaggio(6, testo);
}

// ---- watchdog

void SessioneQuotazioni::TimerCtrlConn_Timer()
{
    m_timerCtrlConn.stop();
    if (m_domandaWatchdog)
        return;
    m_domandaWatchdog = true;
    const quint64 tickPrima = m_tickRicevuti;
    const bool si = m_azioni.Domanda(AzioniSessione::Critica, Titolo_Perdita, Perdita);
    m_domandaWatchdog = false;
    // Quotes came back while the question was open: the connection works, keep it
    // and keep watching it. The timer may have fired and been dropped while the
    // question was open, so it is armed afresh.
    if (m_tickRicevuti != tickPrima && Connesso()) {
        Arma_Watchdog();
        return;
    }
    Chiudi_Socket();
    m_loggato = false;
    m_tentativoConcluso = true;
    if (!si)
        return;
    Riconnetti();
}

void SessioneQuotazioni::Riconnetti()
{
    m_azioni.Mostra_Riconnessione(true);
    m_mercato.Riconnessione_In_Corso = true;
    if (m_socket->State() == Socket::Chiuso)
        Connetti();
}

// ---- real-time bar updates

void SessioneQuotazioni::Gestisci_Barra(const protocollo::Messaggio &m)
{
    // A short update, or one that comes while the charts are held, is dropped.
    if (!m.Completo || m_programma.Blocco_Grafici)
        return;
    AggiornamentoRT u;
    u.sottostante = m_archivio.Sottostante_Corrente;
    for (int k = 1; k <= 4; ++k) {
        auto &b = u.barre[size_t(k)];
        b.Data_Ora = m.Campo(3 * k - 2);
        b.Chiusura = fusione::NumeroServer(m.Campo(3 * k - 1)).value_or(std::nan(""));
        b.Volume = fusione::NumeroServer(m.Campo(3 * k)).value_or(std::nan(""));
    }
    m_coda.push_back(u);
    Avvia_Fusione();
}

void SessioneQuotazioni::Avvia_Fusione()
{
    if (m_fusioneInCorso || m_attesaTick || m_coda.empty())
        return;
    // The quote that follows a bar update carries the time the bar belongs to;
    // it may already have come while an earlier update was being merged.
    m_attesaTick = true;
    if (m_coda.front().quotazione.isValid())
        In_Coda([this] { Esegui_Fusione(); });
    else
        m_timerAttesaTick.start(Attesa_Tick_Fusione_ms);
}

void SessioneQuotazioni::Esegui_Fusione()
{
    if (!m_attesaTick || m_fusioneInCorso)
        return;
    m_attesaTick = false;
    m_timerAttesaTick.stop();
    if (m_coda.empty())
        return;
    AggiornamentoRT u = m_coda.front();
    m_coda.pop_front();
    m_fusioneInCorso = true;
    auto &mercato = m_mercato;
    // An emptied quote box (change of underlying) means no quote yet.
    if (!m_programma.Blocco_Grafici && u.sottostante == m_archivio.Sottostante_Corrente &&
        !mercato.Text_Data_Ora.isEmpty() && mercato.Data_Ora_Quotazione.isValid()) {
        mercato.Agg_Barra = u.barre;
        m_azioni.Accendi_Led_Storico_RT();
        // A late quote must not date the bar to the slot before: the update's own
        // 5-minute time counts when it is later.
        QDateTime riferimento = u.quotazione.isValid() ? u.quotazione : mercato.Data_Ora_Quotazione;
        QDateTime barra;
        if (LeggiDataOraServer(u.barre[1].Data_Ora, &barra) && barra > riferimento)
            riferimento = barra;
        const auto esito = fusione::Fondi_Barre_RT(mercato, riferimento, m_mercato.Fine_Sessione);
        m_azioni.Dopo_Fusione_RT(esito);
        QString errore;
        if (!Salva_Storici(&errore))
            m_azioni.Messaggio(AzioniSessione::Critica, Titolo, errore);
        ++m_fusioniEseguite;
    }
    m_fusioneInCorso = false;
    emit Fusione_RT_Conclusa();
    Avvia_Fusione();
}

void SessioneQuotazioni::Pausa(double secondi) { m_azioni.Pausa(secondi); }
