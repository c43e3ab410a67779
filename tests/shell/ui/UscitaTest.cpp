#include "CartellaTemporanea.h"
#include "DiscoProva.h"
#include "FinestraProva.h"
#include "InterfacceVuote.h"
#include "ArchivioProva.h"
#include "ProcessoFiglio.h"
#include "SincronieLente.h"
#include "VariabileTemporanea.h"
#include "archive/CreaArchivi.h"
#include "archive/ScrittoreArchivio.h"
#include "archive/StatoArchivio.h"
#include "archive/TabSottostanti.h"
#include "market/ScrittoreStorico.h"
#include "market/SessioneQuotazioni.h"
#include "platform/Socket.h"
#include "shell/Pausa.h"
#include "shell/Uscita.h"
#include "shell/StatoShell.h"
#include "shell/ui/FormMsg.h"
#include "shell/ui/Avvio.h"
#include "shell/ui/ControlloreRidisegno.h"
#include "shell/ui/ControlloreTempoReale.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/GestoreMessaggi.h"
#include "shell/ui/PannelloAvvio.h"
#include "simulatore/GeneratoreStorico.h"
#include "simulatore/ServerQuotazioni.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>

namespace {
// The 5-minute series the exit's child saves, and the file it must leave.
StatoMercato SerieUscita()
{
    StatoMercato m;
    storico::Inizializza_Tabella_Chiave(m);
    for (int r = 1; r <= m.Storico_5M.capacita(); ++r)
        m.Storico_5M.barra(r) = {QDate(2025, 12, 5).addDays(-r), 600, 100.0 + r, 1.0};
    return m;
}
}  // namespace

// What every exit watched from a child shows: the process ended by itself with status 0,
// the exit began once and ended within its bound (DURATA, from its start), and no modal
// window was on screen once it had begun (APERTA), save the exit's own notice.
void Verifica_Fine(const EsitoFiglio &f, int attesa)
{
    QVERIFY2(f.finito && f.stato == QProcess::NormalExit && f.codice == 0, f.uscita.constData());
    QVERIFY2(f.uscita.endsWith("FINE\n"), f.uscita.constData());
    QCOMPARE(f.uscita.count("INIZIO\n"), 1);
    QVERIFY2(!f.uscita.contains("APERTA"), f.uscita.constData());
    const qsizetype durata = f.uscita.lastIndexOf("DURATA ");
    QVERIFY(durata >= 0);
    const int ms = f.uscita.mid(durata + 7, f.uscita.indexOf('\n', durata) - durata - 7).toInt();
    QVERIFY2(ms < attesa + 900, qPrintable(QString::number(ms)));
    if (f.msFine >= 0)
        QVERIFY2(f.msFine < attesa + 2000, qPrintable(QString::number(f.msFine)));
}

class UscitaTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_server;  // the quote server's history, made once

private slots:
    void pausaZeroGestisceGliEventiInAttesa()
    {
        bool eseguito = false;
        QTimer::singleShot(0, this, [&] { eseguito = true; });
        finestra::Pausa(0);
        QVERIFY(eseguito);
    }

    void pausaLasciaCorrereTimerEAltrePause()
    {
        int scatti = 0;
        bool annidata = false;
        QTimer t;
        connect(&t, &QTimer::timeout, this, [&] {
            if (++scatti == 1) {
                finestra::Pausa(0.02);  // a pause inside a pause
                annidata = true;
            }
        });
        t.start(10);
        finestra::Pausa(0.3);
        t.stop();
        QVERIFY(scatti >= 2);
        QVERIFY(annidata);
    }

    void pausaNonFiniteNonSiBlocca_data()
    {
        QTest::addColumn<double>("secondi");
        QTest::newRow("negative") << -5.0;
        QTest::newRow("nan") << std::nan("");
        QTest::newRow("infinite") << HUGE_VAL;
    }
    void pausaNonFiniteNonSiBlocca()
    {
        QFETCH(double, secondi);
        finestra::Pausa(secondi);  // returns, does not hang
    }

    void uscitaConnessoInviaCOMM18()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        Socket socket;
        socket.Connect(QStringLiteral("127.0.0.1"), server.serverPort());
        QTRY_COMPARE(socket.State(), int(Socket::Connesso));
        QTRY_VERIFY(server.hasPendingConnections());
        QTcpSocket *lato = server.nextPendingConnection();

        StatoShell shell;
        QStringList passi;
        QList<bool> bloccoDuranteLePause;
        QTimer sonda;
        connect(&sonda, &QTimer::timeout, this, [&] {
            // What a chart or quote handler would see during the exit's pauses.
            bloccoDuranteLePause << (shell.Blocco_Grafici && shell.Blocco_Aggiornamento);
        });
        sonda.start(50);
        struct : UscitaVuota {
            QStringList *passi = nullptr;
            Socket *socket = nullptr;
            void Scarica_Form_Msg() override { *passi << QStringLiteral("form_msg") << QString::number(socket->State()); }
            void Termina(int codice) override
            {
                *passi << QStringLiteral("fine") << QString::number(socket->State());
                Termina_Prova(codice);
            }
        } u;
        u.passi = &passi;
        u.socket = &socket;
        QCOMPARE(Attendi_Uscita([&] { finestra::Chiudi_Programma(shell, socket, u); }), 0);
        sonda.stop();
        // The message windows go first, before anything waits; the socket is closed at the end.
        QCOMPARE(passi, (QStringList{QStringLiteral("form_msg"), QStringLiteral("7"), QStringLiteral("fine"),
                                     QStringLiteral("0")}));
        QVERIFY(!bloccoDuranteLePause.isEmpty());
        QVERIFY(!bloccoDuranteLePause.contains(false));
        QTRY_VERIFY(lato->bytesAvailable() > 0 || lato->state() != QAbstractSocket::ConnectedState);
        lato->waitForReadyRead(200);
        QCOMPARE(lato->readAll(), QByteArray("COMM18\xD8"));
    }

    void uscitaNonConnessoNonInviaNulla()
    {
        Socket socket;
        StatoShell shell;
        struct : UscitaVuota {
            void Termina(int codice) override { Termina_Prova(codice); }
        } u;
        QCOMPARE(Attendi_Uscita([&] { finestra::Chiudi_Programma(shell, socket, u); }), 0);
        QVERIFY(shell.Blocco_Grafici);
        QVERIFY(shell.Blocco_Aggiornamento);
        QCOMPARE(socket.State(), int(Socket::Chiuso));
    }

    // The process ends without destructors, yet the history file it queued to a disk
    // slower than the exit's pauses is on disk whole.
    void uscitaDaDentroUnaPausaTerminaIlProcesso()
    {
        CartellaTemporanea cartella;
        const EsitoFiglio f = EseguiFiglio(QStringLiteral("USCITA_FIGLIO"), QStringLiteral("pausa"));
        QVERIFY(f.finito);
        QCOMPARE(f.stato, QProcess::NormalExit);
        QCOMPARE(f.codice, 0);
        QVERIFY(f.uscita.contains("IN PAUSA"));
        QVERIFY2(!f.uscita.contains("DOPO"), f.uscita.constData());
        QByteArray atteso;
        QVERIFY(storico::Contenuto_Storico(SerieUscita(), 3, QStringLiteral("5M"), atteso).ok);
        QFile file(storico::PercorsoFileStorico(3, QStringLiteral("5M")));
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == atteso);
    }

    // A history file and a batch of settings still being written: a SIGTERM or SIGHUP (a
    // logout) ends the program as the close does, both files whole on disk, within the
    // exit's bound, saying so from half a second on. A file that failed is tried once
    // more; each file that keeps its old contents is named, once on standard error and in
    // the notice (none after a signal). A second "SI", a click or a signal during the wait
    // neither begins the exit again nor moves its bound.
    void uscitaConSalvataggiInCorso_data()
    {
        QTest::addColumn<QString>("modo");
        QTest::addColumn<int>("segnale");
        QTest::addColumn<int>("ritardo");  // ms each sync takes
        QTest::addColumn<int>("attesa");   // the exit's bound, ms
        QTest::addColumn<bool>("mostrato");
        QTest::addColumn<bool>("scritto");    // the history file
        QTest::addColumn<bool>("impostato");  // the batch of settings
        QTest::addColumn<QString>("avviso");  // standard output, after PRONTO
        QTest::addColumn<QString>("errore");  // standard error
        const int sempre = 600000;  // a sync that never returns while the test looks
        const int limite = finestra::Attesa_Salvataggi_Uscita_ms;
        const QString rifiutata = QStringLiteral("Impostazioni non salvate: Sistema3.dat: la riga da aggiornare manca nel file\n");
        const QString fallito = QStringLiteral("Storico locale non salvato: S5M_3.dat: il disco \u00E8 pieno\n");
        QTest::newRow("SIGTERM, disco lento") << "segnale" << int(SIGTERM) << 700 << limite << true << true << true << ""
                                              << "";
        QTest::newRow("SIGHUP, disco lento") << "segnale" << int(SIGHUP) << 700 << limite << true << true << true << ""
                                             << "";
        QTest::newRow("SIGTERM, disco pronto") << "segnale" << int(SIGTERM) << 0 << limite << false << true << true << ""
                                               << "";
        QTest::newRow("chiusura, disco lento") << "chiusura" << 0 << 700 << limite << true << true << true << "" << "";
        QTest::newRow("chiusura, impostazione rifiutata")
            << "chiusura_rifiutata" << 0 << 0 << limite << false << true << false
            << QStringLiteral("AVVISO Wavelore \u00AE\n") + rifiutata << rifiutata;
        QTest::newRow("chiusura, storico fallito, disco tornato")
            << "chiusura_ripresa" << 0 << 0 << limite << false << true << true << "" << "";
        QTest::newRow("chiusura, storico fallito")
            << "chiusura_fallita" << 0 << 0 << limite << false << false << true
            << QStringLiteral("AVVISO Wavelore \u00AE\n") + fallito << fallito;
        QTest::newRow("SIGTERM, sincronie senza fine")
            << "segnale_bloccato" << int(SIGTERM) << sempre << 2000 << true << false << false << ""
            << "Salvataggio non concluso in 2 secondi: S5M_3.dat, S5M_4.dat e Sistema3.dat restano come prima.\n";
        QTest::newRow("chiusura, poi SI, clic e SIGTERM nell'attesa")
            << "chiusura_doppia" << 0 << sempre << 2000 << true << false << false << ""
            << "Salvataggio non concluso in 2 secondi: S5M_3.dat e Sistema3.dat restano come prima.\n";
    }
    void uscitaConSalvataggiInCorso()
    {
        QFETCH(QString, modo);
        QFETCH(int, segnale);
        QFETCH(int, ritardo);
        QFETCH(int, attesa);
        QFETCH(bool, mostrato);
        QFETCH(bool, scritto);
        QFETCH(bool, impostato);
        QFETCH(QString, avviso);
        QFETCH(QString, errore);
        CartellaTemporanea cartella;
        VariabileTemporanea lento("USCITA_RITARDO", QByteArray::number(ritardo));
        VariabileTemporanea limite("USCITA_ATTESA", QByteArray::number(attesa));
        const EsitoFiglio f = EseguiFiglio(QStringLiteral("USCITA_FIGLIO"), modo, 60000, segnale, "SALVATAGGIO");
        Verifica_Fine(f, attesa);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(f.uscita.count("SALVATAGGIO Salvataggio dei dati in corso...\n"), mostrato ? 1 : 0);
        if (mostrato && segnale != 0)
            QVERIFY2(f.msAttesa >= finestra::Avviso_Salvataggio_Uscita_ms - 50, qPrintable(QString::number(f.msAttesa)));
        QByteArray atteso;
        QVERIFY(storico::Contenuto_Storico(SerieUscita(), 3, QStringLiteral("5M"), atteso).ok);
        QFile file(storico::PercorsoFileStorico(3, QStringLiteral("5M")));
        if (scritto)
            QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == atteso);
        else
            QVERIFY(!file.exists());
        QCOMPARE(ValoreArchivio(archivio::FileArchivio::Sistema3, QStringLiteral("TAB4"), QStringLiteral("C2"), 3) ==
                     QLatin1String("77"),
                 impostato);
        const QByteArray dopo = f.uscita.mid(f.uscita.indexOf("PRONTO\n"));
        if (!avviso.isEmpty())
            QVERIFY2(dopo.contains(avviso.toUtf8()), f.uscita.constData());
        else
            QVERIFY2(!dopo.contains("AVVISO"), f.uscita.constData());
        if (!errore.isEmpty())
            QVERIFY2(f.errori.count(errore.toUtf8()) == 1, f.errori.constData());
        else
            QVERIFY2(!f.errori.contains("salvat") && !f.errori.contains("concluso"), f.errori.constData());
    }

    // A logout while a modal window is open ends the program as the close does: the window
    // goes at once, nothing waits for a click.
    void segnaleConFinestraAperta_data()
    {
        QTest::addColumn<QString>("modo");
        QTest::addColumn<int>("segnale");
        QTest::newRow("domanda di chiusura") << "aperta_chiusura" << int(SIGTERM);
        QTest::newRow("avviso all'avvio") << "aperta_avvio" << int(SIGHUP);
        QTest::newRow("Riprova o Esci") << "aperta_in_uso" << int(SIGTERM);
        QTest::newRow("impostazione rifiutata") << "aperta_rifiutata" << int(SIGHUP);
    }
    void segnaleConFinestraAperta()
    {
        QFETCH(QString, modo);
        QFETCH(int, segnale);
        CartellaTemporanea cartella;
        if (modo == QLatin1String("aperta_avvio")) {
            // A damaged archive file: its repair is told in a notice at start.
            QFile danneggiato(cartella.sistema() + QStringLiteral("/Sistema2.dat"));
            QVERIFY(danneggiato.open(QIODevice::WriteOnly) && danneggiato.write(QByteArray(4096, 'x')) == 4096);
        }
        const EsitoFiglio f = EseguiFiglio(QStringLiteral("USCITA_FIGLIO"), modo, 60000, segnale);
        Verifica_Fine(f, finestra::Attesa_Salvataggi_Uscita_ms);
        QVERIFY2(f.msFine >= 0 && f.msFine < 5000, qPrintable(QString::number(f.msFine)));
    }

    // An ONLINE session whose watchdog is armed, every sync slower than its period, closed by
    // a signal, by the window, or by a signal over the watchdog's question: nothing of the
    // session runs in the exit's waits (no question, no second login), and the files on disk
    // are the series as merged when the exit began.
    void uscitaOnline_data()
    {
        QTest::addColumn<QString>("modo");
        QTest::addColumn<int>("segnale");
        QTest::newRow("SIGTERM") << "online_segnale" << int(SIGTERM);
        QTest::newRow("SIGHUP") << "online_segnale" << int(SIGHUP);
        QTest::newRow("chiusura") << "online_chiusura" << 0;
        QTest::newRow("SIGTERM sulla domanda di riconnessione") << "online_domanda" << int(SIGTERM);
    }
    void uscitaOnline()
    {
        QFETCH(QString, modo);
        QFETCH(int, segnale);
        if (!m_server) {
            m_server = std::make_unique<QTemporaryDir>();
            StatoArchivio tab;
            archivio::Inizializza_Tab_Sottostanti(tab);
            generatore::Parametri p;
            p.sottostante = tab.Tab_Sottostanti[2];
            p.seme = 7;
            QVERIFY(generatore::ScriviDatabase(generatore::Genera(p),
                                               m_server->filePath(generatore::NomeDatabase(2) + QStringLiteral(".db")))
                        .ok);
        }
        const QByteArray db = m_server->filePath(QStringLiteral("{db}.db")).toUtf8();
        CartellaTemporanea cartella;
        VariabileTemporanea odbc("WAVELORE_HISTORY_ODBC", "DRIVER={SQLite3};Database=" + db + ';');
        VariabileTemporanea server("USCITA_DB", db);
        VariabileTemporanea lento("USCITA_RITARDO", "400");  // longer than the watchdog's 300 ms
        const EsitoFiglio f = EseguiFiglio(QStringLiteral("USCITA_FIGLIO"), modo, 90000, segnale);
        Verifica_Fine(f, finestra::Attesa_Salvataggi_Uscita_ms);
        QVERIFY2(f.uscita.contains("ARMATO\n"), f.uscita.constData());
        QCOMPARE(f.uscita.count("ACCESSO\n"), 1);
        // Whole, and what was merged: the history as the exit found it.
        int confrontati = 0;
        for (const QByteArray &riga : f.uscita.split('\n')) {
            if (!riga.startsWith("ATTESO "))
                continue;
            const QList<QByteArray> campi = riga.split(' ');
            QFile file(QString::fromUtf8(campi.value(1)));
            QVERIFY2(file.open(QIODevice::ReadOnly), campi.value(1).constData());
            QCOMPARE(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex(), campi.value(2));
            ++confrontati;
        }
        QCOMPARE(confrontati, 4);
    }

    // The window's own timers and message windows do nothing in the exit's waits: the
    // timers armed before it never fire, a close or a message asked for during it opens
    // no message window.
    void nienteNelleAttese_data()
    {
        QTest::addColumn<QString>("cosa");
        QTest::newRow("Timer_Disegno") << "Timer_Disegno";
        QTest::newRow("Timer_Indicatori") << "Timer_Indicatori";
        QTest::newRow("Timer_Agg_RT") << "Timer_Agg_RT";
        QTest::newRow("la finestra chiusa") << "chiusura";
        QTest::newRow("un messaggio") << "messaggio";
    }
    void nienteNelleAttese()
    {
        QFETCH(QString, cosa);
        FinestraProva prova({2});
        QVERIFY(prova.AvviaOffline());
        FormS1 &form = *prova.form;
        bool iniziata = false;
        int scatti = 0;
        int mostrati = 0;
        connect(&form.Messaggi(), &GestoreMessaggi::Mostrato, this, [&](FormMsg *) {
            ++mostrati;
            QTimer::singleShot(0, &form, [&form] { form.Messaggi().Scarica_Form_Msg(); });
        });
        QTimer *timer = cosa == QLatin1String("Timer_Disegno")      ? &prova.op->Ridisegno().Timer_Disegno
                        : cosa == QLatin1String("Timer_Indicatori") ? &prova.op->Ridisegno().Timer_Indicatori
                        : cosa == QLatin1String("Timer_Agg_RT")     ? &prova.op->Tempo_Reale().Timer_Agg_RT
                                                                    : nullptr;
        if (timer) {
            connect(timer, &QTimer::timeout, this, [&] { scatti += iniziata ? 1 : 0; });
            timer->start(100);
        }
        connect(&form, &FormS1::Uscita_Iniziata, this, [&] {
            iniziata = true;
            QTimer::singleShot(100, &form, [&form, cosa] {
                if (cosa == QLatin1String("chiusura"))
                    form.close();
                else if (cosa == QLatin1String("messaggio"))
                    form.Mostra_Messaggio(5, QStringLiteral("testo"));
            });
        });
        QCOMPARE(Attendi_Uscita([&] { form.Chiudi_Programma(); }), 0);
        QVERIFY(iniziata);
        QCOMPARE(scatti, 0);
        QCOMPARE(mostrati, 0);
    }

    // The window fixture's exit reached where no test can get control back: the test
    // program stops there, saying so, with a status that is not 0.
    void uscitaInattesaFermaLaProva_data()
    {
        QTest::addColumn<QString>("modo");
        QTest::addColumn<QString>("dove");
        QTest::newRow("the window's exit, called") << "diretta" << "outside Attendi_Uscita";
        QTest::newRow("Yes in the closing confirmation") << "modale" << "outside Attendi_Uscita";
        QTest::newRow("awaited, but inside the confirmation") << "modale_attesa" << "inside an event loop";
    }
    void uscitaInattesaFermaLaProva()
    {
        QFETCH(QString, modo);
        QFETCH(QString, dove);
        const EsitoFiglio f = EseguiFiglio(QStringLiteral("USCITA_FIGLIO"), modo);
        QVERIFY(f.finito);
        QCOMPARE(f.stato, QProcess::NormalExit);
        QCOMPARE(f.codice, 1);
        const QByteArray riga = "FAIL!  : esce() The program's exit was reached " + dove.toUtf8();
        QVERIFY2(f.uscita.contains(riga), f.uscita.constData());
        QVERIFY2(!f.uscita.contains("DOPO") && !f.uscita.contains("Totals:"), f.uscita.constData());
    }
};

// Played by a child: one test function that reaches the exit the way USCITA_FIGLIO names
// (or, "controllo_modale", fails a check inside a modal window).
class ProvaFiglio : public QObject {
    Q_OBJECT
private slots:
    void esce()
    {
        const QByteArray modo = qgetenv("USCITA_FIGLIO");
        if (modo == "programma") {
            StatoShell shell;
            Socket socket;
            finestra::Chiudi_Programma(shell, socket);
        }
        FinestraProva prova(QList<int>{});
        QVERIFY(prova.Carica());
        if (modo == "controllo_modale") {
            // A check failing in the closing confirmation's handler: nothing in the test
            // closes the window, the fixture must, and the test ends failed.
            connect(&prova.form->Messaggi(), &GestoreMessaggi::Mostrato, this, [](FormMsg *m) {
                QTimer::singleShot(0, m, [m] { QCOMPARE(m->Tipo(), 0); });
            });
            prova.form->close();
            return;
        }
        if (modo == "diretta")
            prova.form->Chiudi_Programma();
        connect(&prova.form->Messaggi(), &GestoreMessaggi::Mostrato, this, [](FormMsg *m) {
            QTimer::singleShot(0, m, [m] { QTest::mouseClick(m->Cmd_Si, Qt::LeftButton); });
        });
        if (modo == "modale")
            prova.form->close();
        else
            Attendi_Uscita([&] { prova.form->close(); });
        std::printf("DOPO\n");
    }
};

// Child process: the exit is called from a timer while a long pause runs, with a
// history file queued to a slow disk.
static int figlio(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    StatoShell shell;
    Socket socket;
    ScrittoreStorico scrittore;
    scrittore.Imposta_Disco(std::make_shared<DiscoProva>(2000));
    UscitaVuota nessuna;
    QTimer::singleShot(50, &app, [&] {
        std::printf("IN PAUSA\n");
        if (scrittore.Salva(SerieUscita(), 3, QStringLiteral("5M"), ScrittoreStorico::Tempo_Reale).ok)
            finestra::Chiudi_Programma(shell, socket, nessuna, &scrittore);
    });
    finestra::Pausa(60);
    std::printf("DOPO\n");
    return 3;
}

namespace {

void Riga(const QByteArray &riga)
{
    std::printf("%s\n", riga.constData());
    std::fflush(stdout);
}

// A modal window or popup on screen, or nullptr.
QWidget *Finestra_Modale()
{
    if (QWidget *w = QApplication::activePopupWidget())
        return w;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && (w->isModal() || w->windowModality() != Qt::NonModal))
            return w;
    return nullptr;
}

// The exit of the child's window, telling its parent what it does.
struct UscitaFiglio : UscitaFinestra {
    UscitaFiglio(FormS1 &form, const QElapsedTimer &inizio_) : UscitaFinestra(form), inizio(inizio_) {}
    const QElapsedTimer &inizio;
    bool avvisoUscita = false;  // the exit's own notice, the one box it may open
    void Mostra_Salvataggio(bool mostra) override
    {
        UscitaFinestra::Mostra_Salvataggio(mostra);
        if (mostra)
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *testo = w->findChild<QLabel *>(QStringLiteral("LblSalvataggio"));
                    testo && w->isVisible() && w->objectName() == QLatin1String("FrmSalvataggio"))
                    Riga("SALVATAGGIO " + testo->text().toUtf8());
    }
    void Avviso_Uscita(const QString &testo) override
    {
        avvisoUscita = true;
        UscitaFinestra::Avviso_Uscita(testo);
    }
    void Termina(int) override
    {
        Riga("DURATA " + QByteArray::number(inizio.elapsed()));
        Riga("FINE");
    }
};

}  // namespace

// Child process: the real window, which USCITA_FIGLIO leads to its exit and which tells
// its parent what happens (the lines Verifica_Fine reads, and PRONTO when the parent may
// send its signal). Every sync takes USCITA_RITARDO ms, the exit waits USCITA_ATTESA ms.
// "segnale*" and "chiusura*": a history file (S5M_3.dat) and a batch of settings queued,
// the batch for a row that does not exist with "_rifiutata", the file failing with
// "_fallita" (and the disk back before the exit with "_ripresa"), a second file with
// "_bloccato"; then the parent's signal, or the exit called ("chiusura"), or the closing
// question answered SI, then SI again, a close and a SIGTERM during the wait ("_doppia").
// "aperta_*": a modal window open for the signal (the closing question, a start notice,
// the in-use question, a refused save). "online_*": an ONLINE session against a quote
// server of the child's own (USCITA_DB), the watchdog armed, every sync slower than its
// period, then a signal, the window closed, or a signal over the watchdog's question.
class FiglioFinestra {
public:
    explicit FiglioFinestra(const QByteArray &modo_)
        : modo(modo_), online(modo_.startsWith("online")), aperta(modo_.startsWith("aperta"))
    {
    }

    int Esegui()
    {
        if (modo == "aperta_in_uso" && !Tieni_Archivio())
            return 4;
        prova = std::make_unique<FinestraProva>();
        if (aperta)
            qunsetenv("WAVELORE_AVVISI_AUTOMATICI");  // the boxes stay open until answered
        FormS1 &form = *prova->form;
        if (const int attesa = qEnvironmentVariableIntValue("USCITA_ATTESA"); attesa > 0)
            form.Attesa_Salvataggi_Uscita_ms = attesa;
        uscita = new UscitaFiglio(form, inizio);
        form.Imposta_Uscita(std::unique_ptr<Uscita>(uscita));
        wavelore::Collega_Segnali_Uscita(form);
        if (online && !Avvia_Server())
            return 4;
        Osserva_Uscita();
        sonda.callOnTimeout([this] { Guarda_Finestre(); });
        sonda.start(10);
        if (!prova->Carica())
            return 4;
        if (online)
            Avvia_Online();
        else if (modo == "aperta_chiusura")
            QTimer::singleShot(0, &form, [&form] { form.close(); });
        else if (modo == "aperta_rifiutata")
            QTimer::singleShot(0, &form, [&form] { form.Scrittore_Archivio().Accoda(Lotto(99)); });
        else if (aperta)
            return 5;  // the window should have been open inside the start
        else
            QTimer::singleShot(0, &form, [this] { Accoda_Salvataggi(); });
        return QApplication::exec();
    }

private:
    static archivio::Lotto Lotto(int riga)
    {
        return {{archivio::FileArchivio::Sistema3, QStringLiteral("TAB4"), riga, {{QStringLiteral("C2"), QStringLiteral("77")}}}};
    }

    // Another program holding Sistema1.dat.
    bool Tieni_Archivio()
    {
        if (!archivio::Crea_Archivi().ok)
            return false;
        altro.emplace(archivio::FileArchivio::Sistema1);
        return altro->Esegui(QStringLiteral("BEGIN EXCLUSIVE"));
    }

    bool Avvia_Server()
    {
        ServerQuotazioni::Configurazione cfg;
        cfg.Utenti.insert(QStringLiteral("demo"), {QStringLiteral("demo"), QStringLiteral("1001"),
                                                   QStringLiteral("Utente"), QStringLiteral("Demo")});
        cfg.Percorso_Database = qEnvironmentVariable("USCITA_DB");
        cfg.Intervallo_Tick_ms = 50;
        cfg.Velocita = 600;  // a new 5-minute bar every half second
        server = std::make_unique<ServerQuotazioni>(cfg);
        if (!server->Avvia(0))
            return false;
        QObject::connect(server.get(), &ServerQuotazioni::Ricevuto, [](const QString &codice, const QStringList &) {
            if (codice == QLatin1String("COMM11"))
                Riga("ACCESSO");
        });
        qputenv("WAVELORE_SERVER", "127.0.0.1:" + QByteArray::number(server->Porta()));
        prova->sessione->Intervallo_Watchdog_ms = 300;
        return true;
    }

    // The exit's start told; online, the history as it stands is what the files must hold.
    // The closing question answered SI; "_doppia" keeps it to answer again during the wait,
    // with a close and a logout after.
    void Osserva_Uscita()
    {
        FormS1 &form = *prova->form;
        QObject::connect(&form, &FormS1::Uscita_Iniziata, [this, &form] {
            inizio.start();
            Riga("INIZIO");
            for (const QString &tf : storico::Timeframes()) {
                QByteArray contenuto;
                if (!online)
                    break;
                const int u = form.S().archivio.Sottostante_Corrente;
                if (storico::Contenuto_Storico(form.S().mercato, u, tf, contenuto).ok)
                    Riga("ATTESO " + storico::PercorsoFileStorico(u, tf).toUtf8() + ' ' +
                         QCryptographicHash::hash(contenuto, QCryptographicHash::Sha1).toHex());
            }
            if (modo != "chiusura_doppia")
                return;
            QTimer::singleShot(1000, &form, [this] {
                if (domanda)
                    domanda->Cmd_Si->click();
            });
            QTimer::singleShot(1200, &form, [&form] { form.close(); });
            QTimer::singleShot(1400, &form, [] { std::raise(SIGTERM); });
        });
        if (modo == "chiusura_doppia" || modo == "online_chiusura")
            QObject::connect(&form.Messaggi(), &GestoreMessaggi::Mostrato, [this](FormMsg *m) {
                domanda = m;
                QTimer::singleShot(0, m, [m] { QTest::mouseClick(m->Cmd_Si, Qt::LeftButton); });
            });
    }

    // Before the exit, a modal window open is the parent's cue; once it began, a window left
    // waiting for a click is told and answered (a question Yes), or the exit would wait for it.
    void Guarda_Finestre()
    {
        QWidget *w = Finestra_Modale();
        if (!w)
            return;
        if (!inizio.isValid()) {
            if (!pronto && (aperta || modo == "online_domanda")) {
                pronto = true;
                Riga("PRONTO");
            }
            return;
        }
        if (uscita->avvisoUscita)
            return;
        Riga("APERTA " + QByteArray(w->metaObject()->className()) + ' ' + w->windowTitle().toUtf8());
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->button(QMessageBox::Yes))
            QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
        else
            w->hide();
    }

    // Logged in, the watchdog armed by the quotes, and a merge queued once the disk is slow.
    void Avvia_Online()
    {
        FormS1 &form = *prova->form;
        QObject::connect(&attesa, &QTimer::timeout, [this, &form] {
            SessioneQuotazioni &s = *prova->sessione;
            if (form.S().shell.Blocco_Grafici || s.Fusioni_Eseguite() < 1 || !s.Watchdog_Attivo())
                return;
            if (fusioni < 0) {
                sincronie::Imposta_Ritardo(qEnvironmentVariableIntValue("USCITA_RITARDO"));
                fusioni = s.Fusioni_Eseguite();
                return;
            }
            if (s.Fusioni_Eseguite() <= fusioni)
                return;
            attesa.stop();
            Riga("ARMATO");
            if (modo == "online_segnale")
                Riga("PRONTO");
            else if (modo == "online_chiusura")
                form.close();
            else
                server->Sospendi_Tick(true);
        });
        attesa.start(20);
        form.Frm_Avvio->Text_ID->setText(QStringLiteral("Demo"));
        form.Frm_Avvio->Text_Password->setText(QStringLiteral("demo"));
        QTest::mouseClick(form.Frm_Avvio->Cmd_OnLine, Qt::LeftButton);
    }

    // The history file and the batch queued to a disk USCITA_RITARDO slow, then the exit.
    void Accoda_Salvataggi()
    {
        FormS1 &form = *prova->form;
        sincronie::Imposta_Ritardo(qEnvironmentVariableIntValue("USCITA_RITARDO"));
        if (modo.endsWith("_fallita") || modo.endsWith("_ripresa")) {
            // The file fails at its first try; the writer alone would try it again a minute later.
            disco->guasto = true;
            form.Scrittore().Imposta_Disco(disco);
            form.Scrittore().Imposta_Riprova(std::chrono::minutes(1), std::chrono::minutes(1));
        }
        const auto salva = [&form](int u) {
            return form.Scrittore().Salva(SerieUscita(), u, QStringLiteral("5M"), ScrittoreStorico::Tempo_Reale).ok;
        };
        if (!salva(3) || (modo.endsWith("_bloccato") && !salva(4)))
            return;
        form.Scrittore_Archivio().Accoda(Lotto(modo.endsWith("_rifiutata") ? 99 : 3));
        if (!disco->guasto) {
            Esci();
            return;
        }
        // Once the failure has been told.
        QObject::connect(&form.Scrittore(), &ScrittoreStorico::Scrittura_Fallita, &form,
                         [this] { QTimer::singleShot(0, [this] { Esci(); }); });
    }

    void Esci()
    {
        FormS1 &form = *prova->form;
        if (modo.endsWith("_ripresa"))
            disco->guasto = false;
        Riga("PRONTO");
        if (modo == "chiusura_doppia")
            form.close();
        else if (modo.startsWith("chiusura"))
            form.Chiudi_Programma();
    }

    const QByteArray modo;
    const bool online;
    const bool aperta;
    std::optional<ConnessioneProva> altro;
    std::unique_ptr<FinestraProva> prova;
    std::unique_ptr<ServerQuotazioni> server;
    UscitaFiglio *uscita = nullptr;  // the form's
    QElapsedTimer inizio;            // since the exit began
    QPointer<FormMsg> domanda;       // the closing question
    bool pronto = false;
    QTimer sonda;
    QTimer attesa;
    int fusioni = -1;  // merges when the disk was slowed
    std::shared_ptr<DiscoProva> disco = std::make_shared<DiscoProva>(0);
};

static int figlioFinestra(int argc, char **argv, const QByteArray &modo)
{
    QApplication app(argc, argv);
    FiglioFinestra figlio(modo);
    return figlio.Esegui();
}

int main(int argc, char **argv)
{
    const QByteArray modo = qgetenv("USCITA_FIGLIO");
    if (modo == "pausa")
        return figlio(argc, argv);
    if (modo.startsWith("segnale") || modo.startsWith("chiusura") || modo.startsWith("aperta_") ||
        modo.startsWith("online_"))
        return figlioFinestra(argc, argv, modo);
    if (!modo.isEmpty()) {
        QApplication app(argc, argv);
        ProvaFiglio prova;
        return QTest::qExec(&prova, argc, argv);
    }
    QApplication app(argc, argv);
    UscitaTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "UscitaTest.moc"
