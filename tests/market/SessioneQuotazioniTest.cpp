#include "Stato.h"
#include "simulatore/ServerQuotazioni.h"
#include "market/RigaChat.h"
#include "market/SessioneQuotazioni.h"
#include "market/StoricoLocale.h"
#include "platform/Codec1252.h"
#include "platform/Socket.h"

#include "CartellaTemporanea.h"
#include "ClientGrezzo.h"
#include "DatabaseProva.h"
#include "DiscoProva.h"
#include "InterfacceVuote.h"

#include <QScopeGuard>
#include <QTcpServer>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace testi_sessione;

namespace {

const QDateTime Ultimo(QDate(2025, 12, 5), QTime(17, 25));

// What the session asked of the window, in order.
class Registro : public AzioniSessioneVuote {
public:
    QStringList stati;
    QStringList textStato;
    bool pulsanti = true;
    QStringList messaggi;  // "titolo|testo"
    QStringList domande;
    QList<bool> risposte;   // answers to the questions, in order (default No)
    QStringList mostrati;   // "tipo|testo"
    bool formMsgVisibile = false;
    QStringList chat;
    QString utente;
    int chiusure = 0;
    int lampeggi = 0;
    int caselle = 0;       // times the quote boxes were shown
    int ultimiPrezzi = 0;  // of which with a new last price
    int riconnessioni = 0;
    std::function<void()> duranteDomanda;  // runs while a question is open
    // Runs while a message stays open, which closes when it returns; without it a
    // message closes at once. Messages open at once, now and at most.
    std::function<void()> duranteMessaggio;
    int aperti = 0;
    int massimoAperti = 0;
    // The loading steps and the merge, when a test plays them.
    std::function<void()> caricaStorici;
    std::function<void()> caricaDati;
    std::function<void()> accendiLed;
    std::function<void(const fusione::EsitoFusioneRT &)> dopoFusione;

    void Imposta_Lbl_Stato(const QString &t) override { stati << t; }
    void Imposta_Text_Stato(const QString &t) override { textStato << t; }
    void Abilita_Pulsanti(bool b) override { pulsanti = b; }
    void Mostra_Utente(const QString &c, const QString &d) override { utente = c + QLatin1Char('|') + d; }
    void Messaggio(Icona, const QString &t, const QString &x) override
    {
        messaggi << t + QLatin1Char('|') + x;
        massimoAperti = std::max(massimoAperti, ++aperti);
        // As the modal box: the event loop runs until it is closed.
        if (duranteMessaggio && aperti == 1) {
            QEventLoop ciclo;
            QTimer::singleShot(0, &ciclo, [&] {
                duranteMessaggio();
                ciclo.quit();
            });
            ciclo.exec();
        }
        --aperti;
    }
    bool Domanda(Icona, const QString &t, const QString &x) override
    {
        domande << t + QLatin1Char('|') + x;
        if (duranteDomanda)
            duranteDomanda();
        return risposte.isEmpty() ? false : risposte.takeFirst();
    }
    void Mostra_Messaggio(int tipo, const QString &t) override { mostrati << QString::number(tipo) + '|' + t; }
    bool Form_Msg_Visibile() const override { return formMsgVisibile; }
    void Mostra_Messaggio_Chat(const QString &t) override { chat << t; }
    void Chiudi_Programma() override { ++chiusure; }
    void Lampeggia_Led_RT() override { ++lampeggi; }
    void Aggiorna_Caselle(bool ultimo) override
    {
        ++caselle;
        ultimiPrezzi += ultimo ? 1 : 0;
    }
    void Mostra_Riconnessione(bool b) override { riconnessioni += b ? 1 : 0; }
    void Pausa(double) override {}
    void Carica_Storici_Avvio() override
    {
        if (caricaStorici)
            caricaStorici();
    }
    void Carica_Dati_Avvio() override
    {
        if (caricaDati)
            caricaDati();
    }
    void Accendi_Led_Storico_RT() override
    {
        if (accendiLed)
            accendiLed();
    }
    void Dopo_Fusione_RT(const fusione::EsitoFusioneRT &esito) override
    {
        if (dopoFusione)
            dopoFusione(esito);
    }
};

QByteArray Leggi(const QString &percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Series whose newest 5-minute bar is 17:25 of `Ultimo`, the others on earlier days.
void PreparaSerie(Stato &s)
{
    s.archivio.Sottostante_Corrente = 2;
    s.shell.Blocco_Grafici = false;
    s.mercato.Fine_Sessione = QTime(17, 30);
    storico::Inizializza_Tabella_Chiave(s.mercato);
    for (int r = 1; r <= s.mercato.Storico_5M.capacita(); ++r)
        s.mercato.Storico_5M.barra(r) = {Ultimo.date(), 17 * 60 + 25 - 5 * (r - 1) % 600, 100.0 + r, 1.0};
    for (int r = 1; r <= s.mercato.Storico_15M.capacita(); ++r)
        s.mercato.Storico_15M.barra(r) = {Ultimo.date().addDays(-r), 600, 1.0, 1.0};
    for (int r = 1; r <= s.mercato.Storico_1H.capacita(); ++r)
        s.mercato.Storico_1H.barra(r) = {Ultimo.date().addDays(-r), 600, 1.0, 1.0};
    for (int r = 1; r <= s.mercato.Storico_1D.capacita(); ++r)
        s.mercato.Storico_1D.barra(r) = {Ultimo.date().addDays(-r), 0, 1.0, 1.0};
}

// A bar update of 05/12/2025 whose 5-minute bar is `ora` and closes at `chiusura`.
QString BarraRT(const QString &ora, const QString &chiusura)
{
    return QStringLiteral("COMM33\u00D805/12/2025 %1\u00D8%2\u00D81\u00D805/12/2025 17:30\u00D8%2\u00D81\u00D8"
                          "05/12/2025 17:00\u00D8%2\u00D81\u00D805/12/2025 00:00\u00D8%2\u00D81\u00D8")
        .arg(ora, chiusura);
}

// That update and the quote that lets it merge.
QByteArray Aggiornamento(int minuti, const QString &chiusura)
{
    return codec1252::Codifica(
        BarraRT(QStringLiteral("17:%1").arg(minuti), chiusura) +
        QStringLiteral("COMM31\u00D805/12/2025 17:%1:01\u00D81\u00D80\u00D81\u00D8").arg(minuti));
}

// Each timeframe's series of regular bars, the newest at `ultimi[k]`.
void RiempiSerie(StatoMercato &m, const std::array<QDateTime, 5> &ultimi)
{
    const int passo[5] = {0, 5, 15, 60, 24 * 60};
    for (int k = 1; k <= 4; ++k) {
        SerieStorico &h = fusione::Serie(m, k);
        for (int r = 1; r <= h.capacita(); ++r) {
            const QDateTime t = ultimi[size_t(k)].addSecs(-qint64(r - 1) * 60 * passo[k]);
            h.barra(r) = {t.date(), t.time().hour() * 60 + t.time().minute(), 100.0 + r % 17, double(r % 5)};
        }
    }
}

// What the bar updates of a stream must leave in the series, worked out apart from the
// program: every bar where the date and time its own text gives put it (the daily one
// on its quote's day), a timeframe taking the update only in its slots of the quote
// that follows. `dovuti` gets, per update, the timeframes due ("1234").
void FusioneAttesa(StatoMercato &m, const std::vector<protocollo::Messaggio> &flusso, const QTime &fineSessione,
                   QStringList &dovuti)
{
    const auto numero = [](QString t) { return t.remove(QLatin1Char('.')).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(); };
    for (auto it = flusso.begin(); it != flusso.end(); ++it) {
        if (it->Codice != QLatin1String("COMM33"))
            continue;
        const auto tick = std::find_if(it, flusso.end(), [](const auto &x) { return x.Codice == QLatin1String("COMM31"); });
        if (tick == flusso.end())
            break;
        const QDateTime q = QDateTime::fromString(tick->Campo(1), QStringLiteral("dd/MM/yyyy hh:mm:ss"));
        const int m5 = q.time().minute() - q.time().minute() % 5;
        const bool dovuto[5] = {false, true, m5 % 15 == 0, m5 == 0, QTime(q.time().hour(), m5) == fineSessione};
        QString d;
        for (int k = 1; k <= 4; ++k) {
            if (!dovuto[k])
                continue;
            d += QString::number(k);
            const QDateTime t = QDateTime::fromString(it->Campo(3 * k - 2), QStringLiteral("dd/MM/yyyy hh:mm"));
            const BarraStorico b{k == 4 ? q.date() : t.date(), t.time().hour() * 60 + t.time().minute(),
                                 numero(it->Campo(3 * k - 1)), numero(it->Campo(3 * k))};
            auto &v = fusione::Serie(m, k).barre();
            const auto chiave = [k](const BarraStorico &x) { return std::pair(x.data, k == 4 ? 0 : x.minuti); };
            if (chiave(b) > chiave(v.front())) {
                v.pop_back();
                v.insert(v.begin(), b);
            } else if (chiave(b) == chiave(v.front())) {
                v.front() = b;
            }
        }
        dovuti << d;
    }
}

// The timeframes a merge rewrote or added a bar to: "124".
QString Timeframe_Aggiornati(const fusione::EsitoFusioneRT &e)
{
    QString k;
    for (int t = 1; t <= 4; ++t)
        k += e.Aggiornata[size_t(t)] ? QString::number(t) : QString();
    return k;
}

// The timeframes whose series in `reale`, or history file of underlying 2, are not
// `attesa`'s byte for byte: "" when all four are.
QString Diversi_Da(const StatoMercato &reale, const StatoMercato &attesa)
{
    QStringList diversi;
    for (const QString &tf : storico::Timeframes()) {
        QByteArray atteso;
        if (storico::SerieDelTimeframe(reale, tf)->barre() != storico::SerieDelTimeframe(attesa, tf)->barre() ||
            !storico::Contenuto_Storico(attesa, 2, tf, atteso).ok || Leggi(storico::PercorsoFileStorico(2, tf)) != atteso)
            diversi << tf;
    }
    return diversi.join(QLatin1Char(' '));
}

// Underlying 2 before a night session: the newest 5-minute bar 23:25 of `giorno`, the
// 15-minute one 23:15, the hourly 23:00, the daily the day before; the day ends at 23:30.
void PreparaNotte(Stato &s, const QDate &giorno)
{
    s.archivio.Sottostante_Corrente = 2;
    s.shell.Blocco_Grafici = false;
    s.mercato.Fine_Sessione = QTime(23, 30);
    storico::Inizializza_Tabella_Chiave(s.mercato);
    RiempiSerie(s.mercato, {QDateTime(), QDateTime(giorno, QTime(23, 25)), QDateTime(giorno, QTime(23, 15)),
                            QDateTime(giorno, QTime(23, 0)), QDateTime(giorno.addDays(-1), QTime(0, 0))});
}

}  // namespace

class SessioneQuotazioniTest : public QObject {
    Q_OBJECT

    CartellaTemporanea cartella;
    std::unique_ptr<ServerQuotazioni> server;

    void AvviaServer(ServerQuotazioni::Consegna modo = ServerQuotazioni::Consegna::Normale)
    {
        ServerQuotazioni::Configurazione cfg;
        cfg.Utenti.insert(QStringLiteral("mario"), {QStringLiteral("Segreta1"), QStringLiteral("1001"),
                                                    QStringLiteral("Mario"), QStringLiteral("Ros\u00E8")});
        cfg.Percorso_Database = cartella.percorso() + QStringLiteral("/{db}.db");
        cfg.Intervallo_Tick_ms = 40;
        cfg.Velocita = 1500;  // one minute per tick
        cfg.Modo = modo;
        server = std::make_unique<ServerQuotazioni>(cfg);
        QVERIFY(server->Avvia());
        qputenv("WAVELORE_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(server->Porta()));
    }

    // A session logged in on `server`, loading nothing.
    std::unique_ptr<SessioneQuotazioni> Collegata(Stato &s, Registro &r)
    {
        auto sess = std::make_unique<SessioneQuotazioni>(s.shell, s.archivio, s.mercato, r);
        sess->Cmd_OnLine_Click(QStringLiteral("Mario"), QStringLiteral("Segreta1"), false);
        [&] { QTRY_VERIFY(r.stati.contains(QStringLiteral("Connesso"))); }();
        return sess;
    }

    // The writer's news told as the window tells it, a notice that runs the event loop
    // while open: the session itself shows none.
    void Avvisa(ScrittoreStorico &w, Registro &r)
    {
        connect(&w, &ScrittoreBase::Scrittura_Fallita, this, [&r](int, const QString &nome, const QString &causa) {
            r.Messaggio(AzioniSessione::Critica, Titolo, storico::Testo_Non_Salvato(nome, causa));
        });
    }

private slots:
    void initTestCase()
    {
        QVERIFY(prova::ScriviDatabase(cartella.percorso() + QStringLiteral("/WaveloreDax.db"), Ultimo));
        qputenv("WAVELORE_HISTORY_ODBC", prova::StringaOdbc(cartella.percorso()).toUtf8());
    }

    void cleanup() { server.reset(); }

    // The whole online start against our server, however it cuts its messages.
    void login_e_caricamento_data()
    {
        QTest::addColumn<int>("modo");
        QTest::newRow("messaggi interi") << int(ServerQuotazioni::Consegna::Normale);
        QTest::newRow("un byte alla volta") << int(ServerQuotazioni::Consegna::Byte);
        QTest::newRow("piu messaggi insieme") << int(ServerQuotazioni::Consegna::Unite);
    }
    void login_e_caricamento()
    {
        QFETCH(int, modo);
        AvviaServer(ServerQuotazioni::Consegna(modo));
        QStringList ricevuti;
        connect(server.get(), &ServerQuotazioni::Ricevuto, this,
                [&](const QString &c, const QStringList &campi) { ricevuti << c + '|' + campi.join('|'); });
        Stato s;
        s.archivio.Sottostante_Corrente = 2;
        storico::Inizializza_Tabella_Chiave(s.mercato);
        Registro r;
        SessioneQuotazioni sess(s.shell, s.archivio, s.mercato, r);
        bool fase2 = false;
        r.caricaStorici = [&] {
            s.mercato.Scarica_Storico = true;
            QVERIFY(sess.Invia(QStringLiteral("COMM34"), {QStringLiteral("2")}));
            QVERIFY(sess.Attendi_Download(10000));
            QVERIFY(sess.Carica_Storico_Da_Server());
            sess.Invia(QStringLiteral("COMM36"), {QStringLiteral("2")});
        };
        r.caricaDati = [&] {
            sess.Aggiorna_Ultime_Barre_Storico();
            QVERIFY(sess.Salva_Storici());
            sess.Richiesta_Dati_RT_Al_Server();
            s.shell.Blocco_Grafici = false;
            fase2 = true;
        };
        sess.Cmd_OnLine_Click(QStringLiteral("Mario"), QStringLiteral("Segreta1"), false);
        QTRY_VERIFY_WITH_TIMEOUT(fase2, 15000);
        QCOMPARE(ricevuti.first(), QStringLiteral("COMM11|mario|Segreta1|2.52"));
        QCOMPARE(r.stati.mid(0, 3), (QStringList{QStringLiteral("In Connessione"), QStringLiteral("In Autenticazione"),
                                                 QStringLiteral("Connesso")}));
        QCOMPARE(r.utente, QStringLiteral("1001|Mario Ros\u00E8"));
        QVERIFY(!r.pulsanti);
        // The series hold the database's bars, the server's last two merged in front.
        QCOMPARE(s.mercato.Storico_5M.barra(1).data, Ultimo.date());
        QCOMPARE(s.mercato.Storico_5M.barra(1).minuti, 17 * 60 + 25);
        QCOMPARE(s.mercato.Storico_1D.barra(3000).data, Ultimo.date().addDays(-2999));
        sess.Scrittore().Attendi();
        QVERIFY(QFileInfo::exists(storico::PercorsoFileStorico(2, QStringLiteral("1D"))));
        // Ticks fill the boxes and keep the watchdog armed.
        QTRY_VERIFY_WITH_TIMEOUT(!s.mercato.Text_Last.isEmpty(), 5000);
        QVERIFY(sess.Watchdog_Attivo());
        QTRY_VERIFY(r.lampeggi > 0);
        QVERIFY(ricevuti.contains(QStringLiteral("COMM30|2")));
    }

    void login_rifiutato_poi_riprovato()
    {
        AvviaServer();
        Stato s;
        Registro r;
        SessioneQuotazioni sess(s.shell, s.archivio, s.mercato, r);
        sess.Cmd_OnLine_Click(QStringLiteral("mario"), QStringLiteral("sbagliata"), false);
        QTRY_VERIFY(r.stati.contains(QStringLiteral("Non Autenticato")));
        QCOMPARE(r.messaggi, QStringList{Titolo + '|' + Autenticazione_Fallita});
        QVERIFY(r.pulsanti);
        // The second attempt starts a fresh connection and logs in.
        sess.Cmd_OnLine_Click(QStringLiteral("mario"), QStringLiteral("Segreta1"), false);
        QTRY_VERIFY(r.stati.contains(QStringLiteral("Connesso")));
        QCOMPARE(server->Client_Connessi(), 1);
    }

    void controlli_prima_di_connettere_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("id vuoto") << "" << "x" << Titolo_Spazio + '|' + Inserire_UserId;
        QTest::newRow("terminatore nella password") << "mario" << "a\u00D8b" << Titolo_Spazio + '|' + Caratteri_Non_Ammessi;
        QTest::newRow("fuori dal codice") << "mar\u4E2Dio" << "x" << Titolo_Spazio + '|' + Caratteri_Non_Ammessi;
    }
    void controlli_prima_di_connettere()
    {
        QFETCH(QString, id);
        QFETCH(QString, password);
        QFETCH(QString, messaggio);
        Stato s;
        Registro r;
        SessioneQuotazioni sess(s.shell, s.archivio, s.mercato, r);
        sess.Cmd_OnLine_Click(id, password, false);
        QCOMPARE(r.messaggi, QStringList{messaggio});
        QVERIFY(r.pulsanti);
        QCOMPARE(sess.socket().State(), 0);
    }

    void connessione_rifiutata()
    {
        // A port nobody listens on.
        QTcpServer libero;
        QVERIFY(libero.listen(QHostAddress::LocalHost));
        const quint16 porta = libero.serverPort();
        libero.close();
        qputenv("WAVELORE_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(porta));
        Stato s;
        Registro r;
        SessioneQuotazioni sess(s.shell, s.archivio, s.mercato, r);
        sess.Cmd_OnLine_Click(QStringLiteral("mario"), QStringLiteral("x"), false);
        QTRY_VERIFY(r.pulsanti);
        QCOMPARE(r.messaggi, QStringList{Titolo + '|' + Connessione_Fallita});
        QCOMPARE(r.stati.last(), QStringLiteral("Non Connesso"));
    }

    void gia_connesso_preso_in_carico()
    {
        AvviaServer();
        Stato s1, s2;
        Registro r1, r2;
        auto prima = Collegata(s1, r1);
        r2.risposte = {true};
        SessioneQuotazioni seconda(s2.shell, s2.archivio, s2.mercato, r2);
        seconda.Cmd_OnLine_Click(QStringLiteral("mario"), QStringLiteral("Segreta1"), false);
        QTRY_VERIFY(r2.stati.contains(QStringLiteral("Connesso")));
        QCOMPARE(r2.domande, QStringList{Titolo_Gia_Connesso + '|' + Gia_Connesso});
        QVERIFY(r2.stati.contains(QStringLiteral("Gi\u00E0 Connesso")));
        // The first session learns it was replaced.
        QTRY_VERIFY(r1.stati.contains(QStringLiteral("Disconnesso da Altra Sessione")));
        QCOMPARE(r1.messaggi, QStringList{QLatin1Char('|') + Altra_Istanza});
        QCOMPARE(server->Client_Connessi(), 1);
    }

    void gia_connesso_rifiutato_e_riconnessione_automatica()
    {
        AvviaServer();
        Stato s1, s2, s3;
        Registro r1, r2, r3;
        auto prima = Collegata(s1, r1);
        // No: the socket closes and the buttons come back.
        SessioneQuotazioni seconda(s2.shell, s2.archivio, s2.mercato, r2);
        seconda.Cmd_OnLine_Click(QStringLiteral("mario"), QStringLiteral("Segreta1"), false);
        QTRY_VERIFY(r2.pulsanti);
        QCOMPARE(r2.domande.size(), 1);
        QCOMPARE(seconda.socket().State(), 0);
        // While reconnecting the take-over is answered without asking.
        s3.mercato.Riconnessione_In_Corso = true;
        SessioneQuotazioni terza(s3.shell, s3.archivio, s3.mercato, r3);
        terza.Cmd_OnLine_Click(QStringLiteral("mario"), QStringLiteral("Segreta1"), false);
        QTRY_VERIFY(r3.stati.contains(QStringLiteral("Connesso")));
        QVERIFY(r3.domande.isEmpty());
        QVERIFY(!s3.mercato.Riconnessione_In_Corso);
    }

    void avvisi_messaggi_e_chat()
    {
        AvviaServer();
        Stato s;
        Registro r;
        auto sess = Collegata(s, r);
        server->Invia_Chat(QStringLiteral("prezzo COMM31 su, COMM5 resta"));
        QTRY_COMPARE(r.chat, QStringList{QStringLiteral("prezzo  su, COMM5 resta")});
        // Server text is shown as it came, markup included.
        server->Invia_Messaggio(QStringLiteral("<b>Manutenzione</b> stasera"));
        QTRY_COMPARE(r.mostrati, QStringList{QStringLiteral("5|<b>Manutenzione</b> stasera")});
        // While the message window is open the texts queue, up to 30.
        r.formMsgVisibile = true;
        s.shell.Coda_Messaggi.clear();
        for (int i = 1; i <= 31; ++i)
            server->Invia_Messaggio(QStringLiteral("avviso %1").arg(i));
        QTRY_COMPARE(s.shell.Coda_Messaggi.size(), 30);
        QTest::qWait(50);
        QCOMPARE(s.shell.Coda_Messaggi.size(), 30);
        QCOMPARE(s.shell.Coda_Messaggi.last(), QStringLiteral("avviso 30"));
        QCOMPARE(r.mostrati.size(), 1);
        // A notice with flag "1" closes the connection and leaves the program running.
        server->Invia_Avviso(QStringLiteral("1"), QStringLiteral("Server in pausa"));
        QTRY_VERIFY(r.messaggi.contains(Titolo + QStringLiteral("|Server in pausa")));
        QTRY_COMPARE(sess->socket().State(), 0);
        QCOMPARE(r.chiusure, 0);
        QVERIFY(!r.textStato.contains(QStringLiteral("Chiusa dal Server")));
    }

    void avviso_finale_e_chiusura_data()
    {
        QTest::addColumn<QString>("codice");
        QTest::addColumn<QString>("flag");
        QTest::addColumn<int>("chiusure");
        QTest::addColumn<int>("mostrati");
        QTest::newRow("COMM17 chiude il programma") << "COMM17" << "0" << 1 << 0;
        QTest::newRow("COMM19 mostra e chiude") << "COMM19" << "1" << 0 << 1;
        QTest::newRow("COMM19 senza flag") << "COMM19" << "0" << 0 << 0;
    }
    void avviso_finale_e_chiusura()
    {
        QFETCH(QString, codice);
        QFETCH(QString, flag);
        QFETCH(int, chiusure);
        QFETCH(int, mostrati);
        AvviaServer();
        Stato s;
        Registro r;
        auto sess = Collegata(s, r);
        if (codice == QLatin1String("COMM17"))
            server->Invia_Avviso(flag, QStringLiteral("Fine"));
        else
            server->Invia_Chiusura(flag, QStringLiteral("azione"), QStringLiteral("Arrivederci"));
        QTRY_COMPARE(sess->socket().State(), 0);
        QTest::qWait(20);
        QCOMPARE(r.chiusure, chiusure);
        QCOMPARE(r.mostrati.size(), mostrati);
        if (mostrati)
            QCOMPARE(r.mostrati.first(), QStringLiteral("6|COMM19\u00D81\u00D8azione\u00D8Arrivederci\u00D8"));
        QVERIFY(!sess->Watchdog_Attivo());
    }

    // Once the exit has begun nothing of the session acts again, whatever comes: no
    // question, box, chat line, login, merge or exit of its own, nor anything already
    // decoded or queued before the stop.
    void ferma_per_uscita_data()
    {
        QTest::addColumn<QString>("dopo");
        QTest::newRow("quotazioni ferme: il watchdog") << "silenzio";
        QTest::newRow("messaggi del server") << "messaggi";
        QTest::newRow("collegamento chiuso dal server") << "chiuso";
        QTest::newRow("messaggio oltre il limite") << "limite";
        QTest::newRow("accesso chiesto di nuovo") << "accesso";
        QTest::newRow("messaggio decodificato, non ancora gestito") << "decodificato";
        QTest::newRow("avviso di chiusura in attesa") << "in_attesa";
    }
    void ferma_per_uscita()
    {
        QFETCH(QString, dopo);
        AvviaServer();
        int accessi = 0;
        connect(server.get(), &ServerQuotazioni::Ricevuto, this, [&accessi](const QString &c, const QStringList &) {
            accessi += c == QLatin1String("COMM11") ? 1 : 0;
        });
        Stato s;
        PreparaSerie(s);
        Registro r;
        auto sess = Collegata(s, r);
        sess->Intervallo_Watchdog_ms = 150;
        sess->Richiesta_Dati_RT_Al_Server();
        QTRY_VERIFY(sess->Watchdog_Attivo());
        if (dopo == QLatin1String("decodificato")) {
            connect(sess.get(), &SessioneQuotazioni::Messaggio_Ricevuto, this, [&](const QString &c) {
                if (c == QLatin1String("COMM25"))
                    sess->Ferma_Per_Uscita();
            });
            server->Invia_Chat(QStringLiteral("tardi"));
            QTRY_VERIFY(sess->Fermata());
        } else if (dopo == QLatin1String("in_attesa")) {
            // The closing notice waits for the open message window, and is never shown.
            r.formMsgVisibile = true;
            server->Invia_Chiusura(QStringLiteral("1"), QString(), QStringLiteral("Arrivederci"));
            QTRY_COMPARE(sess->socket().State(), 0);
            sess->Ferma_Per_Uscita();
            r.formMsgVisibile = false;
        } else {
            sess->Ferma_Per_Uscita();
        }
        QVERIFY(sess->Fermata());
        QVERIFY(!sess->Watchdog_Attivo());
        r.stati.clear();
        r.textStato.clear();
        if (dopo == QLatin1String("silenzio")) {
            server->Sospendi_Tick(true);
        } else if (dopo == QLatin1String("messaggi")) {
            server->Invia_Chat(QStringLiteral("ciao"));
            server->Invia_Messaggio(QStringLiteral("testo"));
            server->Invia_Grezzo(Aggiornamento(30, QStringLiteral("101")));
            server->Invia_Avviso(QStringLiteral("0"), QStringLiteral("Fine"));
            server->Invia_Chiusura(QStringLiteral("1"), QString(), QStringLiteral("Arrivederci"));
        } else if (dopo == QLatin1String("chiuso")) {
            server.reset();
        } else if (dopo == QLatin1String("limite")) {
            server->Invia_Grezzo("COMM25\xD8" + QByteArray(protocollo::Limite_Messaggio, 'x') + "\xD8");
        } else if (dopo == QLatin1String("accesso")) {
            sess->Cmd_OnLine_Click(QStringLiteral("Mario"), QStringLiteral("Segreta1"), false);
        }
        // Nothing is to happen: four watchdog periods, and the 200 ms of a closing notice's wait.
        QTest::qWait(600);
        QCOMPARE(r.domande, QStringList());
        QCOMPARE(r.messaggi, QStringList());
        QCOMPARE(r.mostrati, QStringList());
        QCOMPARE(r.chat, QStringList());
        QCOMPARE(r.stati, QStringList());
        QCOMPARE(r.textStato, QStringList());
        QCOMPARE(r.chiusure, 0);
        QCOMPARE(r.riconnessioni, 0);
        QCOMPARE(accessi, 1);
        QCOMPARE(sess->Fusioni_Eseguite(), 0);
        QVERIFY(!sess->Watchdog_Attivo());
    }

    // The closing notice waits while another message window is open.
    void chiusura_attende_la_finestra_aperta()
    {
        AvviaServer();
        Stato s;
        Registro r;
        auto sess = Collegata(s, r);
        r.formMsgVisibile = true;
        server->Invia_Chiusura(QStringLiteral("1"), QString(), QStringLiteral("Arrivederci"));
        QTRY_COMPARE(sess->socket().State(), 0);
        QTest::qWait(250);
        QVERIFY(r.mostrati.isEmpty());
        r.formMsgVisibile = false;
        QTRY_COMPARE(r.mostrati.size(), 1);
        QVERIFY(r.mostrati.first().startsWith(QStringLiteral("6|COMM19")));
    }

    // A tick shown in both regional conventions; short ticks only re-arm the watchdog.
    void tick_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("dataOra");
        QTest::addColumn<QString>("ultimo");
        QTest::addColumn<QString>("variazione");
        QTest::addColumn<QString>("volume");
        QTest::newRow("UE") << "UE" << "17/03/12 15:30:05" << "20.150,50" << "-0,25 %" << "1.234";
        QTest::newRow("US") << "US" << "03/17/12 3:30:05 PM" << "20,150.50" << "-0.25 %" << "1234";
    }
    void tick()
    {
        QFETCH(QString, locale);
        QFETCH(QString, dataOra);
        QFETCH(QString, ultimo);
        QFETCH(QString, variazione);
        QFETCH(QString, volume);
        AvviaServer();
        Stato s;
        s.shell.Formato_Locale = locale;
        if (locale == QLatin1String("US")) {
            s.shell.Formato_Data = QStringLiteral("MM/DD/YY");
            s.shell.Formato_Ora_Secondi = QStringLiteral("h:mm:ss AM/PM");
        }
        s.mercato.Formato_Prezzo = QStringLiteral("#,##0.00");
        Registro r;
        auto sess = Collegata(s, r);
        sess->Intervallo_Watchdog_ms = 60000;
        auto invia = [&](const QString &testo) { server->Invia_Grezzo(codec1252::Codifica(testo)); };
        invia(QStringLiteral("COMM31\u00D817/03/2012 15:30:05\u00D820.150,5\u00D8-0,25\u00D81.234\u00D8"));
        QTRY_COMPARE(s.mercato.Text_Data_Ora, dataOra);
        QCOMPARE(s.mercato.Text_Last, ultimo);
        QCOMPARE(s.mercato.Text_Var, variazione);
        QCOMPARE(s.mercato.Text_Volume, volume);
        QTRY_COMPARE(r.lampeggi, 1);  // with the boxes, once a frame
        QVERIFY(sess->Watchdog_Attivo());
        // Three fields: nothing shown, the lamp stays, the watchdog is re-armed.
        sess->Ferma_Watchdog();
        invia(QStringLiteral("COMM31\u00D818/03/2012 10:00:00\u00D81\u00D82\u00D8COMM35\u00D8"));
        QTRY_VERIFY(sess->Watchdog_Attivo());
        QCOMPARE(s.mercato.Text_Data_Ora, dataOra);
        QCOMPARE(r.lampeggi, 1);
        // Real-time data stopped: boxes still follow, the watchdog stays off.
        sess->Ferma_Watchdog();
        s.shell.RT_Bloccato = true;
        invia(QStringLiteral("COMM31\u00D817/03/2012 15:31:00\u00D8abc\u00D80\u00D81\u00D8"));
        QTRY_COMPARE(r.lampeggi, 2);
        QCOMPARE(s.mercato.Text_Last, ultimo);  // not a number: box unchanged
        QVERIFY(!sess->Watchdog_Attivo());
    }

    // `ritorni`: questions during which one quote arrives, so the connection is kept;
    // with `silenzio` the feed then stalls again while the question is still open.
    // No question ever comes before a whole interval since the last quote.
    void watchdog_chiede_e_riconnette_data()
    {
        QTest::addColumn<bool>("si");
        QTest::addColumn<bool>("ripartono");
        QTest::addColumn<int>("ritorni");
        QTest::addColumn<bool>("silenzio");
        QTest::newRow("Si") << true << false << 0 << false;
        QTest::newRow("No") << false << false << 0 << false;
        QTest::newRow("Si dopo che i tick sono ripartiti") << true << true << 0 << false;
        QTest::newRow("tick nella domanda, poi di nuovo silenzio") << false << false << 1 << true;
        QTest::newRow("Si, tick nella domanda, poi di nuovo silenzio") << true << false << 2 << true;
        QTest::newRow("un tick in ciascuna di dieci domande") << false << false << 10 << false;
    }
    void watchdog_chiede_e_riconnette()
    {
        QFETCH(bool, si);
        QFETCH(bool, ripartono);
        QFETCH(int, ritorni);
        QFETCH(bool, silenzio);
        const int intervallo = 150;
        AvviaServer();
        Stato s;
        s.archivio.Sottostante_Corrente = 2;
        s.shell.Blocco_Grafici = false;
        Registro r;
        r.risposte = QList<bool>(ritorni + 1, si);
        auto sess = Collegata(s, r);
        sess->Intervallo_Watchdog_ms = intervallo;
        QElapsedTimer ultimoTick;
        connect(sess.get(), &SessioneQuotazioni::Messaggio_Ricevuto, this, [&](const QString &c) {
            if (c == QLatin1String("COMM31"))
                ultimoTick.start();
        });
        sess->Richiesta_Dati_RT_Al_Server();
        QTRY_VERIFY(sess->Watchdog_Attivo());
        r.stati.clear();
        server->Sospendi_Tick(true);
        QList<qint64> silenzi;  // microseconds from the last quote to each question
        r.duranteDomanda = [&] {
            silenzi << ultimoTick.nsecsElapsed() / 1000;
            if (ripartono) {
                server->Sospendi_Tick(false);
                QTest::qWait(150);
            } else if (r.domande.size() <= ritorni) {
                QEventLoop ciclo;
                connect(sess.get(), &SessioneQuotazioni::Messaggio_Gestito, &ciclo, [&](const QString &c) {
                    if (c == QLatin1String("COMM31"))
                        ciclo.quit();
                });
                QTimer::singleShot(10000, &ciclo, &QEventLoop::quit);
                server->Invia_Grezzo(codec1252::Codifica(
                    QStringLiteral("COMM31\u00D805/12/2025 17:30:02\u00D81\u00D80\u00D81\u00D8")));
                ciclo.exec();
                QVERIFY(sess->Watchdog_Attivo());
                // The feed stalls again before the answer: the timer fires unseen.
                if (silenzio)
                    QTRY_VERIFY(!sess->Watchdog_Attivo());
            }
        };
        QTRY_COMPARE_WITH_TIMEOUT(r.domande.size(), ritorni + 1, 5000 + 500 * ritorni);
        for (const QString &d : std::as_const(r.domande))
            QCOMPARE(d, Titolo_Perdita + '|' + Perdita);
        for (qint64 us : std::as_const(silenzi))
            QVERIFY2(us >= intervallo * 1000, qPrintable(QStringLiteral("%1 us").arg(us)));
        if (ripartono) {
            // The connection works again: the late Yes does not tear it down.
            QTest::qWait(50);
            QCOMPARE(r.riconnessioni, 0);
            QCOMPARE(sess->socket().State(), 7);
            QVERIFY(r.stati.isEmpty());
            QVERIFY(sess->Watchdog_Attivo());
        } else if (si) {
            QCOMPARE(r.riconnessioni, 1);
            QTRY_VERIFY(r.stati.contains(QStringLiteral("Connesso")));
        } else {
            QTRY_COMPARE(sess->socket().State(), 0);
            QTest::qWait(2 * intervallo);
            QCOMPARE(r.domande.size(), ritorni + 1);
            QVERIFY(r.stati.isEmpty());
        }
    }

    // A message larger than the decoder holds cuts the link: the status names the
    // cause and the client reconnects at once, without the watchdog's question; the
    // messages before it are still handled. One at the limit is shown.
    void messaggio_oltre_il_limite_data()
    {
        QTest::addColumn<QByteArray>("byte");
        QTest::addColumn<bool>("chiusa");
        const qsizetype testo = protocollo::Limite_Messaggio - 8;
        const QByteArray prima = "COMM25\xD8prima\xD8";
        QTest::newRow("chat al limite") << prima + "COMM25\xD8" + QByteArray(testo, 'x') + "\xD8" << false;
        QTest::newRow("chat oltre il limite") << prima + "COMM25\xD8" + QByteArray(testo + 1, 'x') + "\xD8" << true;
        QTest::newRow("campo senza fine") << prima + "COMM20\xD8" + QByteArray(2 * protocollo::Limite_Messaggio, 'y')
                                          << true;
    }
    void messaggio_oltre_il_limite()
    {
        QFETCH(QByteArray, byte);
        QFETCH(bool, chiusa);
        AvviaServer();
        Stato s;
        Registro r;
        auto sess = Collegata(s, r);
        sess->Intervallo_Watchdog_ms = 10 * 60 * 1000;
        r.stati.clear();
        server->Invia_Grezzo(byte);
        server->Invia_Chat(QStringLiteral("dopo"));
        if (chiusa) {
            QTRY_COMPARE(r.riconnessioni, 1);
            QVERIFY(r.textStato.contains(Messaggio_Troppo_Lungo));
            QTRY_VERIFY(r.stati.contains(QStringLiteral("Connesso")));
            QCOMPARE(sess->socket().State(), 7);
            QVERIFY(r.domande.isEmpty());
            // The cause stays in the chat, whole.
            QCOMPARE(r.chat, (QStringList{QStringLiteral("prima"), Messaggio_Troppo_Lungo}));
            QVERIFY(r.mostrati.isEmpty());
        } else {
            QTRY_COMPARE(r.chat.size(), 3);
            // Shown cut to its start.
            QCOMPARE(r.chat.at(1), QString(protocollo::Caratteri_Riga_Chat - 1, QLatin1Char('x')) + QChar(0x2026));
            QCOMPARE(sess->socket().State(), 7);
        }
    }

    // A server that sends a few good quotes and then a message over the bound after each
    // login, `rotture` times: the client logs in again by itself once, and asks before
    // any other login until a new link has held `tenuta` ms.
    void riconnessione_senza_giri_data()
    {
        QTest::addColumn<qint64>("tenuta");
        QTest::addColumn<QList<bool>>("risposte");
        QTest::addColumn<int>("login");  // the first included
        QTest::addColumn<int>("rotture");
        QTest::newRow("non ha tenuto, No") << qint64(600000) << QList<bool>{false} << 2 << 2;
        QTest::newRow("non ha tenuto, Si poi No") << qint64(600000) << QList<bool>{true, false} << 3 << 3;
        QTest::newRow("ha tenuto ogni volta") << qint64(0) << QList<bool>{} << 4 << 3;
    }
    void riconnessione_senza_giri()
    {
        QFETCH(qint64, tenuta);
        QFETCH(QList<bool>, risposte);
        QFETCH(int, login);
        QFETCH(int, rotture);
        AvviaServer();
        Stato s;
        Registro r;
        r.risposte = risposte;
        auto sess = Collegata(s, r);
        sess->Intervallo_Watchdog_ms = 10 * 60 * 1000;
        sess->Tenuta_Collegamento_ms = tenuta;
        QByteArray guasto;
        for (int i = 0; i < 3; ++i)
            guasto += codec1252::Codifica(QStringLiteral("COMM31\u00D805/12/2025 17:30:0%1\u00D81\u00D80\u00D81\u00D8").arg(i));
        guasto += "COMM25\xD8" + QByteArray(protocollo::Limite_Messaggio, 'x') + "\xD8";
        int accessi = 1, inviati = 1;
        connect(sess.get(), &SessioneQuotazioni::Messaggio_Gestito, this, [&](const QString &c) {
            if (c != QLatin1String("COMM12"))
                return;
            ++accessi;
            if (inviati++ < rotture)
                server->Invia_Grezzo(guasto);
        });
        server->Invia_Grezzo(guasto);
        QTRY_COMPARE_WITH_TIMEOUT(accessi, login, 15000);
        QTRY_COMPARE(r.chat.count(Messaggio_Troppo_Lungo), rotture);
        QTRY_COMPARE(r.domande.size(), int(risposte.size()));
        QCOMPARE(r.riconnessioni, login - 1);
        QCOMPARE(sess->Tick_Ricevuti(), quint64(3 * rotture));
        QTRY_COMPARE(sess->socket().State(), risposte.isEmpty() ? 7 : 0);
        QCOMPARE(accessi, login);
    }

    // A server that accepts the connection and never answers the login.
    void server_muto()
    {
        QTcpServer muto;
        QVERIFY(muto.listen(QHostAddress::LocalHost));
        qputenv("WAVELORE_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(muto.serverPort()));
        Stato s;
        Registro r;
        SessioneQuotazioni sess(s.shell, s.archivio, s.mercato, r);
        sess.Timeout_Connessione_ms = 200;
        sess.Cmd_OnLine_Click(QStringLiteral("mario"), QStringLiteral("x"), false);
        QTRY_VERIFY(r.pulsanti);
        QCOMPARE(r.messaggi, QStringList{Titolo + '|' + Server_Non_Risponde});
        QCOMPARE(r.stati, (QStringList{QStringLiteral("In Connessione"), QStringLiteral("In Autenticazione"),
                                       QStringLiteral("Non Connesso")}));
        QCOMPARE(sess.socket().State(), 0);
    }

    // A table one row short: the message, the connection closed, the program ended,
    // the series untouched.
    void download_incompleto_chiude()
    {
        QVERIFY(prova::ScriviDatabase(cartella.percorso() + QStringLiteral("/WaveloreBund.db"), Ultimo, {0, 0, 1, 0}));
        AvviaServer();
        Stato s;
        s.archivio.Sottostante_Corrente = 4;
        Registro r;
        auto sess = Collegata(s, r);
        bool esito = true;
        s.mercato.Scarica_Storico = true;
        sess->Invia(QStringLiteral("COMM34"), {QStringLiteral("4")});
        QVERIFY(sess->Attendi_Download(10000));
        esito = sess->Carica_Storico_Da_Server();
        QVERIFY(!esito);
        QCOMPARE(r.messaggi, QStringList{QLatin1Char('|') + Problema_Tipo_1});
        QCOMPARE(r.chiusure, 1);
        QCOMPARE(sess->socket().State(), 0);
        QVERIFY(!s.mercato.Storico_1H.barra(1).data.isValid());
    }

    // Without an answer to the history request the wait ends on its time limit.
    void download_senza_risposta()
    {
        AvviaServer();
        Stato s;
        Registro r;
        auto sess = Collegata(s, r);
        s.mercato.Scarica_Storico = true;
        QVERIFY(!sess->Attendi_Download(100));
        QVERIFY(!sess->Download_Concluso());
    }

    // The reconnection finds no server: the notice goes and the question comes again.
    void riconnessione_fallita_chiede_di_nuovo()
    {
        AvviaServer();
        Stato s;
        s.shell.Blocco_Grafici = false;
        Registro r;
        auto sess = Collegata(s, r);
        sess->Intervallo_Watchdog_ms = 100;
        sess->Richiesta_Dati_RT_Al_Server();
        QTRY_VERIFY(sess->Watchdog_Attivo());
        r.risposte = {true, false};
        server.reset();  // the server goes away
        QTRY_COMPARE_WITH_TIMEOUT(r.domande.size(), 2, 5000);
        QCOMPARE(r.domande[1], Titolo_Perdita + '|' + Perdita);
        QCOMPARE(r.riconnessioni, 1);
        QVERIFY(!s.mercato.Riconnessione_In_Corso);
        QTest::qWait(100);
        QCOMPARE(r.domande.size(), 2);
        QCOMPARE(sess->socket().State(), 0);
    }

    // Short last bars: the tables stay empty, the start merge skips them, phase 2 still runs.
    void ultime_barre_corte()
    {
        AvviaServer();
        Stato s;
        Registro r;
        auto sess = Collegata(s, r);
        int fase2 = 0;
        r.caricaDati = [&] {
            ++fase2;
            const SerieStorico prima = s.mercato.Storico_15M;
            QVERIFY(sess->Aggiorna_Ultime_Barre_Storico().Azioni[2] == fusione::Azione::Nessuna);
            QVERIFY(s.mercato.Storico_15M.barre() == prima.barre());
        };
        s.mercato.Tab_Server[2][1][1] = QStringLiteral("vecchio");
        server->Invia_Grezzo(codec1252::Codifica(QStringLiteral("COMM37\u00D805/12/25\u00D817:25\u00D8COMM20\u00D8ok\u00D8")));
        QTRY_COMPARE(r.mostrati.size(), 1);
        QCOMPARE(fase2, 1);
        QVERIFY(s.mercato.Tab_Server[2][1][1].isEmpty());
    }

    // Bar updates arriving back to back, and one arriving while the files are rewritten,
    // are merged one after the other.
    void aggiornamenti_in_coda()
    {
        AvviaServer();
        Stato s;
        PreparaSerie(s);
        Registro r;
        auto sess = Collegata(s, r);
        // The quotes decide every merge here, never the time-out, however slow the run.
        sess->Attesa_Tick_Fusione_ms = 10 * 60 * 1000;
        int dentro = 0, massimo = 0, led = 0;
        QList<double> ordine;
        r.accendiLed = [&] { ++led; };
        r.dopoFusione = [&](const fusione::EsitoFusioneRT &) {
            ++dentro;
            massimo = std::max(massimo, dentro);
            ordine << s.mercato.Storico_5M.barra(1).chiusura;
            // The files of the previous merge are written whole, off this thread.
            if (ordine.size() == 3) {
                sess->Scrittore().Attendi();
                const auto file = storico::LeggiFileStorico(storico::PercorsoFileStorico(2, QStringLiteral("5M")),
                                                            QStringLiteral("5M"), s.mercato.Tabella_Chiave);
                QVERIFY(file && file->barra(1).chiusura == 2.5 && file->barra(2).chiusura == 1.5);
            }
            // Let events run, as the redraw does: another update arrives here and
            // waits, for this merge to end and for a quote of its own.
            if (ordine.size() == 2) {
                server->Invia_Grezzo(codec1252::Codifica(
                    QStringLiteral("COMM33\u00D805/12/2025 17:40\u00D83,5\u00D81\u00D805/12/2025 17:30\u00D83\u00D81\u00D8"
                                   "05/12/2025 17:00\u00D83\u00D81\u00D805/12/2025 00:00\u00D83\u00D81\u00D8")));
                QTRY_COMPARE(sess->Aggiornamenti_In_Coda(), 2);
            }
            --dentro;
        };
        const auto barra = BarraRT;
        // Two updates in one delivery wait for a quote.
        server->Invia_Grezzo(codec1252::Codifica(barra(QStringLiteral("17:30"), QStringLiteral("1,5")) +
                                                 barra(QStringLiteral("17:35"), QStringLiteral("2,5"))));
        QTRY_COMPARE(sess->Aggiornamenti_In_Coda(), 2);
        QCOMPARE(sess->Fusioni_Eseguite(), 0);
        // The quote follows both: they merge one after the other, each bar in the
        // slot of its own time. The third update, come during the second merge, waits.
        server->Invia_Grezzo(codec1252::Codifica(QStringLiteral("COMM31\u00D805/12/2025 17:30:02\u00D81\u00D80\u00D81\u00D8")));
        QTRY_COMPARE(sess->Fusioni_Eseguite(), 2);
        QCOMPARE(sess->Aggiornamenti_In_Coda(), 1);
        QCOMPARE(ordine, (QList<double>{1.5, 2.5}));
        server->Invia_Grezzo(codec1252::Codifica(QStringLiteral("COMM31\u00D805/12/2025 17:40:01\u00D83\u00D80\u00D81\u00D8")));
        QTRY_COMPARE(sess->Fusioni_Eseguite(), 3);
        QCOMPARE(sess->Aggiornamenti_In_Coda(), 0);
        QCOMPARE(massimo, 1);
        QCOMPARE(ordine, (QList<double>{1.5, 2.5, 3.5}));
        QCOMPARE(led, 3);
        const SerieStorico &h = s.mercato.Storico_5M;
        QCOMPARE(h.barra(1).minuti, 17 * 60 + 40);
        QCOMPARE(h.barra(2).minuti, 17 * 60 + 35);
        QCOMPARE(h.barra(3).minuti, 17 * 60 + 30);
        QCOMPARE(h.barra(4).chiusura, 101.0);
        // The daily bar was due at the session's end (17:30-17:34) only.
        QCOMPARE(s.mercato.Storico_1D.barra(1).data, Ultimo.date());
        QCOMPARE(s.mercato.Storico_1D.barra(2).data, Ultimo.date().addDays(-1));
        // The files hold the final series.
        sess->Scrittore().Attendi();
        QString errore;
        const auto letta = storico::LeggiFileStorico(storico::PercorsoFileStorico(2, QStringLiteral("5M")),
                                                     QStringLiteral("5M"), s.mercato.Tabella_Chiave, &errore);
        QVERIFY2(letta.has_value(), qPrintable(errore));
        QCOMPARE(letta->barra(1), h.barra(1));
        QCOMPARE(letta->barra(1500), h.barra(1500));
    }

    // A sync that hangs holds the writer, never the session: a call queued after the
    // sync began runs before it ends, and bar updates merge meanwhile. Of the files
    // waiting only the newest contents are written, and in the end every file is the
    // merged series. A write that fails keeps the file and is told once.
    void salvataggi_con_disco_lento()
    {
        AvviaServer();
        Stato s;
        PreparaSerie(s);
        Registro r;
        auto sess = Collegata(s, r);
        sess->Attesa_Tick_Fusione_ms = 10 * 60 * 1000;
        auto disco = std::make_shared<DiscoProva>();
        sess->Scrittore().Imposta_Disco(disco);
        Avvisa(sess->Scrittore(), r);
        const auto aggiornamento = Aggiornamento;
        server->Invia_Grezzo(aggiornamento(30, QStringLiteral("1,5")));
        QTRY_COMPARE(disco->sincronie.load(), 1);
        bool eseguita = false;
        QMetaObject::invokeMethod(
            this,
            [&] {
                eseguita = true;
                disco->chiamataFinestra = true;
            },
            Qt::QueuedConnection);
        QTRY_VERIFY(eseguita);
        server->Invia_Grezzo(aggiornamento(35, QStringLiteral("2,5")) + aggiornamento(40, QStringLiteral("3,5")));
        QTRY_COMPARE(sess->Fusioni_Eseguite(), 3);
        QCOMPARE(disco->sincronie.load(), 1);
        disco->via.release(1000);
        sess->Scrittore().Attendi();
        QVERIFY(disco->chiamataPrimaDellaFine);
        // The 5-minute file held by the sync, then the four of the last merge: the
        // second merge's 15M, 1H and 1D and its 5M were replaced while they waited.
        QCOMPARE(disco->sincronie.load(), 5);
        QCOMPARE(sess->Scrittore().Sostituiti(), quint64(7));
        for (const QString &tf : storico::Timeframes()) {
            QString errore;
            const auto letta = storico::LeggiFileStorico(storico::PercorsoFileStorico(2, tf), tf,
                                                         s.mercato.Tabella_Chiave, &errore);
            QVERIFY2(letta.has_value(), qPrintable(errore));
            QVERIFY2(letta->barre() == storico::SerieDelTimeframe(s.mercato, tf)->barre(), qPrintable(tf));
        }
        QCOMPARE(s.mercato.Storico_5M.barra(1).chiusura, 3.5);
        QVERIFY(r.messaggi.isEmpty());

        const QByteArray prima = Leggi(storico::PercorsoFileStorico(2, QStringLiteral("5M")));
        disco->guasto = true;
        server->Invia_Grezzo(aggiornamento(45, QStringLiteral("4,5")));
        QTRY_COMPARE(sess->Fusioni_Eseguite(), 4);
        sess->Scrittore().Attendi();
        QTRY_COMPARE(r.messaggi, QStringList{Titolo + QLatin1Char('|') +
                                             storico::Testo_Non_Salvato(QStringLiteral("S5M_2.dat"),
                                                                        QStringLiteral("il disco \u00E8 pieno"))});
        QCOMPARE(Leggi(storico::PercorsoFileStorico(2, QStringLiteral("5M"))), prima);
    }

    // A disk that refuses the files for a while, under a notice that stays open while
    // bar updates go on merging: one notice, naming the first file and the cause, and
    // once the disk takes files again every file holds the newest series, also when no
    // merge followed. A disk failing again after that is told again.
    void disco_che_si_riprende_data()
    {
        QTest::addColumn<int>("guasti");  // syncs that fail; -1: all until the last merge
        QTest::addColumn<bool>("sola_lettura");
        QTest::newRow("disco pieno per dieci scritture") << 10 << false;
        QTest::newRow("disco pieno fino all'ultima fusione") << -1 << false;
        QTest::newRow("cartella di sola lettura fino all'ultima fusione") << -1 << true;
    }
    void disco_che_si_riprende()
    {
        QFETCH(int, guasti);
        QFETCH(bool, sola_lettura);
        AvviaServer();
        Stato s;
        PreparaSerie(s);
        Registro r;
        auto sess = Collegata(s, r);
        sess->Attesa_Tick_Fusione_ms = 10 * 60 * 1000;
        sess->Intervallo_Watchdog_ms = 10 * 60 * 1000;
        ScrittoreStorico &w = sess->Scrittore();
        w.Imposta_Riprova(std::chrono::milliseconds(20), std::chrono::milliseconds(100));
        auto disco = std::make_shared<DiscoProva>(0);
        w.Imposta_Disco(disco);
        Avvisa(w, r);
        QSignalSpy riprese(&w, &ScrittoreStorico::Scrittura_Ripresa);
        const QByteArray sistema = QFile::encodeName(cartella.sistema());
        const bool chmodVale =
            sola_lettura && ::chmod(sistema.constData(), 0555) == 0 && ::access(sistema.constData(), W_OK) != 0;
        // Root writes in a read-only folder: the disk then refuses as the folder would.
        disco->codice = sola_lettura ? EACCES : ENOSPC;
        const QString causa =
            chmodVale      ? QStringLiteral("la cartella %1 \u00E8 di sola lettura").arg(cartella.sistema())
            : sola_lettura ? QStringLiteral("accesso negato")
                           : QStringLiteral("il disco \u00E8 pieno");
        disco->guasti = guasti;
        disco->guasto = !chmodVale && guasti < 0;
        const auto ripristina = [&] {
            ::chmod(sistema.constData(), 0700);
            disco->guasto = false;
        };
        const auto allaFine = qScopeGuard(ripristina);
        int minuti = 30;
        const auto invia = [&] {
            server->Invia_Grezzo(Aggiornamento(minuti, QStringLiteral("%1,5").arg(minuti)));
            minuti += 5;
        };
        r.duranteMessaggio = [&] {
            for (int fusioni : {2, 3}) {
                invia();
                QTRY_COMPARE(sess->Fusioni_Eseguite(), fusioni);
            }
            if (guasti < 0) {
                // Every file tried and refused: only the writer's own retry is left.
                w.Attendi();
                ripristina();
            }
            QTRY_COMPARE(riprese.count(), 1);
            w.Attendi();
            for (const QString &tf : storico::Timeframes()) {
                QByteArray atteso;
                QVERIFY(storico::Contenuto_Storico(s.mercato, 2, tf, atteso).ok);
                QVERIFY2(Leggi(storico::PercorsoFileStorico(2, tf)) == atteso, qPrintable(tf));
            }
        };
        invia();
        QTRY_COMPARE(r.messaggi.size(), 1);  // once the notice has closed
        QCOMPARE(r.massimoAperti, 1);
        QCOMPARE(r.messaggi.first(),
                 Titolo + QLatin1Char('|') + storico::Testo_Non_Salvato(QStringLiteral("S5M_2.dat"), causa));

        r.duranteMessaggio = nullptr;
        disco->guasto = true;
        invia();
        QTRY_COMPARE(r.messaggi.size(), 2);
    }

    // A burst in one delivery: the boxes are shown once, with the newest quote; every
    // bar update merges, in order, dated by the quote that followed it in the stream.
    void raffica_data()
    {
        QTest::addColumn<int>("tick");
        QTest::addColumn<int>("barre");
        QTest::newRow("solo quotazioni") << 600 << 0;
        QTest::newRow("quotazioni e tre barre") << 600 << 3;
    }
    void raffica()
    {
        QFETCH(int, tick);
        QFETCH(int, barre);
        AvviaServer();
        Stato s;
        PreparaSerie(s);
        Registro r;
        auto sess = Collegata(s, r);
        sess->Attesa_Tick_Fusione_ms = 10 * 60 * 1000;
        sess->Intervallo_Watchdog_ms = 10 * 60 * 1000;
        sess->Intervallo_Schermo_ms = 1000;  // the whole burst surely within one frame
        QList<double> ordine;
        r.dopoFusione = [&](const fusione::EsitoFusioneRT &) { ordine << s.mercato.Storico_5M.barra(1).chiusura; };
        QString flusso;
        int fatte = 0;
        for (int i = 0; i < tick; ++i) {
            if (fatte < barre && i == (fatte + 1) * tick / (barre + 1)) {
                flusso += BarraRT(QStringLiteral("17:%1").arg(30 + 5 * fatte), QStringLiteral("%1,5").arg(fatte + 1));
                ++fatte;
            }
            // Each quote lies in the slot of the last bar update before it.
            flusso += QStringLiteral("COMM31\u00D805/12/2025 17:%1:%2\u00D8%3,5\u00D80\u00D81\u00D8")
                          .arg(25 + 5 * fatte)
                          .arg(i % 60, 2, 10, QLatin1Char('0'))
                          .arg(2000 + i);
        }
        const int lampeggi = r.lampeggi;
        server->Invia_Grezzo(codec1252::Codifica(flusso));
        QTRY_COMPARE(sess->Tick_Mostrati(), quint64(tick));
        QTRY_COMPARE(sess->Fusioni_Eseguite(), barre);
        QCOMPARE(r.caselle, 1);
        QCOMPARE(r.ultimiPrezzi, 1);
        QCOMPARE(r.lampeggi, lampeggi + 1);
        QCOMPARE(s.mercato.Text_Last, QStringLiteral("%1,50").arg(2000 + tick - 1));
        QCOMPARE(s.mercato.Ultimo_Prezzo, std::optional<double>(2000 + tick - 1 + 0.5));
        QCOMPARE(ordine.size(), barre);
        for (int b = 0; b < barre; ++b) {
            QCOMPARE(ordine[b], b + 1.5);
            const auto &h = s.mercato.Storico_5M.barra(barre - b);
            QCOMPARE(h.minuti, 17 * 60 + 30 + 5 * b);
            QCOMPARE(h.chiusura, b + 1.5);
        }
        QCOMPARE(s.mercato.Storico_5M.barra(barre + 1).minuti, 17 * 60 + 25);
    }

    // The quote of the new slot does not come: the update's own time decides the slot,
    // so the 15-minute bar completed at 17:30 is not lost.
    void quotazione_in_ritardo()
    {
        AvviaServer();
        Stato s;
        s.archivio.Sottostante_Corrente = 2;
        s.shell.Blocco_Grafici = false;
        s.mercato.Fine_Sessione = QTime(18, 0);
        storico::Inizializza_Tabella_Chiave(s.mercato);
        for (int k = 1; k <= 4; ++k) {
            SerieStorico &h = fusione::Serie(s.mercato, k);
            for (int r = 1; r <= h.capacita(); ++r)
                h.barra(r) = {Ultimo.date().addDays(-r), 600, 1.0, 1.0};
        }
        Registro r;
        auto sess = Collegata(s, r);
        sess->Attesa_Tick_Fusione_ms = 50;
        server->Invia_Grezzo(codec1252::Codifica(QStringLiteral(
            "COMM31\u00D805/12/2025 17:29:58\u00D81\u00D80\u00D81\u00D8"
            "COMM33\u00D805/12/2025 17:30\u00D82\u00D81\u00D805/12/2025 17:30\u00D83\u00D81\u00D8"
            "05/12/2025 17:00\u00D84\u00D81\u00D805/12/2025 00:00\u00D85\u00D81\u00D8")));
        QTRY_COMPARE(sess->Fusioni_Eseguite(), 1);
        QCOMPARE(s.mercato.Storico_5M.barra(1).minuti, 17 * 60 + 30);
        QCOMPARE(s.mercato.Storico_15M.barra(1).chiusura, 3.0);
        QCOMPARE(s.mercato.Storico_1H.barra(1).chiusura, 1.0);  // not due at 17:30
    }

    // A bar of the old underlying still waiting for its quote when the underlying
    // changes: the quote that comes after the change merges nothing, and no file of
    // either underlying is written.
    void aggiornamento_del_sottostante_precedente()
    {
        AvviaServer();
        Stato s;
        s.archivio.Sottostante_Corrente = 2;
        s.shell.Blocco_Grafici = false;
        s.mercato.Fine_Sessione = QTime(18, 0);
        storico::Inizializza_Tabella_Chiave(s.mercato);
        for (int k = 1; k <= 4; ++k) {
            SerieStorico &h = fusione::Serie(s.mercato, k);
            for (int r = 1; r <= h.capacita(); ++r)
                h.barra(r) = {Ultimo.date().addDays(-r), 600, 1.0, 1.0};
        }
        Registro r;
        auto sess = Collegata(s, r);
        sess->Attesa_Tick_Fusione_ms = 10 * 60 * 1000;
        server->Invia_Grezzo(codec1252::Codifica(QStringLiteral(
            "COMM33\u00D805/12/2025 17:30\u00D82\u00D81\u00D805/12/2025 17:30\u00D83\u00D81\u00D8"
            "05/12/2025 17:00\u00D84\u00D81\u00D805/12/2025 00:00\u00D85\u00D81\u00D8")));
        QTRY_COMPARE(sess->Aggiornamenti_In_Coda(), 1);
        const auto file = [] {
            QList<QByteArray> v;
            for (int u : {2, 5}) {
                QFile f(storico::PercorsoFileStorico(u, QStringLiteral("5M")));
                v << (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("assente"));
            }
            return v;
        };
        const QList<QByteArray> prima = file();
        s.archivio.Sottostante_Corrente = 5;
        server->Invia_Grezzo(codec1252::Codifica(QStringLiteral("COMM31\u00D805/12/2025 17:30:02\u00D81\u00D80\u00D81\u00D8")));
        QTRY_COMPARE(sess->Aggiornamenti_In_Coda(), 0);
        QCOMPARE(s.mercato.Data_Ora_Quotazione, QDateTime(Ultimo.date(), QTime(17, 30, 2)));
        QCOMPARE(sess->Fusioni_Eseguite(), 0);
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(fusione::Serie(s.mercato, k).barra(1).data, Ultimo.date().addDays(-1));
        QCOMPARE(file(), prima);
    }

    // A server whose clock starts at 23:26 of `giorno`, a minute a tick, that sends its
    // bars as each ends; users "mario" and "spia".
    bool AvviaServerNotturno(const QDate &giorno)
    {
        const QString notte = cartella.percorso() + QStringLiteral("/notte");
        if (!QDir().mkpath(notte) ||
            !prova::ScriviDatabase(notte + QStringLiteral("/WaveloreDax.db"), QDateTime(giorno, QTime(23, 25))))
            return false;
        ServerQuotazioni::Configurazione cfg;
        cfg.Utenti.insert(QStringLiteral("mario"), {QStringLiteral("Segreta1"), QStringLiteral("1001"),
                                                    QStringLiteral("Mario"), QStringLiteral("Rossi")});
        cfg.Utenti.insert(QStringLiteral("spia"), {QStringLiteral("pw"), QStringLiteral("2"), QString(), QString()});
        cfg.Percorso_Database = notte + QStringLiteral("/{db}.db");
        cfg.Intervallo_Tick_ms = 40;
        cfg.Velocita = 1500;
        cfg.Barre_Concluse = true;
        server = std::make_unique<ServerQuotazioni>(cfg);
        if (!server->Avvia())
            return false;
        qputenv("WAVELORE_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(server->Porta()));
        return true;
    }

    // The real-time stream the session receives until the server's clock reaches
    // `fine`, as a bare client saw it from the same first tick; empty if it never got there.
    std::vector<protocollo::Messaggio> StreamFino(SessioneQuotazioni &sess, const QDateTime &fine)
    {
        server->Sospendi_Tick(true);
        prova::ClientGrezzo spia(server->Porta());
        spia.Invia(QStringLiteral("COMM11"), {QStringLiteral("spia"), QStringLiteral("pw"), QStringLiteral("2.52")});
        spia.Invia(QStringLiteral("COMM30"), {QStringLiteral("2")});
        sess.Richiesta_Dati_RT_Al_Server();
        if (!QTest::qWaitFor([&] { return server->Client_In_Tempo_Reale() == 2; }))
            return {};
        server->Sospendi_Tick(false);
        const auto arrivato = [&] {
            const protocollo::Messaggio *t = spia.Ultimo(QStringLiteral("COMM31"));
            return t && QDateTime::fromString(t->Campo(1), QStringLiteral("dd/MM/yyyy hh:mm:ss")) >= fine;
        };
        const bool ok = QTest::qWaitFor(arrivato, 120000);
        server->Sospendi_Tick(true);
        // Behind every tick already written: once it is read, the whole stream is.
        server->Invia_Chat(QStringLiteral("fine"));
        if (!ok || !QTest::qWaitFor([&] { return spia.Conta(QStringLiteral("COMM25")) == 1; }))
            return {};
        return spia.ricevuti;
    }

    // A market that trades through midnight, its bars sent as each ends: the bars that
    // end at midnight come with a quote of the new day. Each lands on its own day, every
    // later update of every timeframe is merged, and series and files are what the
    // stream, merged apart, makes of them.
    void aggiornamenti_a_mezzanotte()
    {
        const QDate giorno(2025, 12, 4);
        QVERIFY(AvviaServerNotturno(giorno));
        Stato s;
        PreparaNotte(s, giorno);
        StatoMercato attesa = s.mercato;
        Registro r;
        auto sess = Collegata(s, r);
        sess->Attesa_Tick_Fusione_ms = 10 * 60 * 1000;
        sess->Intervallo_Watchdog_ms = 10 * 60 * 1000;
        QStringList aggiornate;
        r.dopoFusione = [&](const fusione::EsitoFusioneRT &e) { aggiornate << Timeframe_Aggiornati(e); };
        const auto flusso = StreamFino(*sess, QDateTime(giorno.addDays(1), QTime(1, 40)));
        QVERIFY(!flusso.empty());
        QStringList dovuti;
        FusioneAttesa(attesa, flusso, s.mercato.Fine_Sessione, dovuti);
        QVERIFY(QTest::qWaitFor([&] { return sess->Fusioni_Eseguite() == int(dovuti.size()); }, 60000));
        QCOMPARE(aggiornate, dovuti);
        QVERIFY(dovuti.contains(QStringLiteral("124")));  // the daily bar at 23:30 too
        QCOMPARE(s.mercato.Storico_15M.barra(1).data, giorno.addDays(1));
        sess->Scrittore().Attendi();
        QCOMPARE(Diversi_Da(s.mercato, attesa), QString());
    }

    void aggiornamento_scartato_durante_il_caricamento()
    {
        AvviaServer();
        Stato s;
        s.shell.Blocco_Grafici = true;
        Registro r;
        auto sess = Collegata(s, r);
        server->Invia_Grezzo(codec1252::Codifica(
            QStringLiteral("COMM33\u00D805/12/2025 17:30\u00D81\u00D81\u00D8a\u00D81\u00D81\u00D8b\u00D81\u00D81\u00D8"
                           "c\u00D81\u00D81\u00D8COMM20\u00D8x\u00D8")));
        QTRY_COMPARE(r.mostrati.size(), 1);
        QCOMPARE(sess->Aggiornamenti_In_Coda(), 0);
    }
};

QTEST_MAIN(SessioneQuotazioniTest)
#include "SessioneQuotazioniTest.moc"
