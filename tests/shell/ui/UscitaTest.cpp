#include "CartellaTemporanea.h"
#include "DiscoProva.h"
#include "FinestraProva.h"
#include "InterfacceVuote.h"
#include "ArchivioProva.h"
#include "ProcessoFiglio.h"
#include "SincronieLente.h"
#include "VariabileTemporanea.h"
#include "archive/ScrittoreArchivio.h"
#include "market/ScrittoreStorico.h"
#include "platform/Socket.h"
#include "shell/Pausa.h"
#include "shell/StatoShell.h"
#include "shell/ui/FormMsg.h"
#include "shell/ui/Avvio.h"
#include "shell/ui/GestoreMessaggi.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
#include <csignal>
#include <cstdio>

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

class UscitaTest : public QObject {
    Q_OBJECT
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
                *passi << QStringLiteral("fine");
                Termina_Prova(codice);
            }
        } u;
        u.passi = &passi;
        u.socket = &socket;
        QCOMPARE(Attendi_Uscita([&] { finestra::Chiudi_Programma(shell, socket, u); }), 0);
        sonda.stop();
        QCOMPARE(passi, (QStringList{QStringLiteral("form_msg"), QStringLiteral("0"), QStringLiteral("fine")}));
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
    // exit's bound, saying so from half a second on; what could not be saved is told.
    void uscitaConSalvataggiInCorso_data()
    {
        QTest::addColumn<QString>("modo");
        QTest::addColumn<int>("segnale");
        QTest::addColumn<int>("ritardo");  // ms each sync takes
        QTest::addColumn<bool>("mostrato");
        QTest::addColumn<QString>("avviso");
        QTest::newRow("SIGTERM, disco lento") << "segnale" << int(SIGTERM) << 700 << true << "";
        QTest::newRow("SIGHUP, disco lento") << "segnale" << int(SIGHUP) << 700 << true << "";
        QTest::newRow("SIGTERM, disco pronto") << "segnale" << int(SIGTERM) << 0 << false << "";
        QTest::newRow("chiusura, disco lento") << "chiusura" << 0 << 700 << true << "";
        QTest::newRow("chiusura, impostazione rifiutata")
            << "chiusura_rifiutata" << 0 << 0 << false
            << "AVVISO Wavelore \u00AE\nImpostazioni non salvate: Sistema3.dat: la riga da aggiornare manca nel file\n";
    }
    void uscitaConSalvataggiInCorso()
    {
        QFETCH(QString, modo);
        QFETCH(int, segnale);
        QFETCH(int, ritardo);
        QFETCH(bool, mostrato);
        QFETCH(QString, avviso);
        CartellaTemporanea cartella;
        VariabileTemporanea lento("USCITA_RITARDO", QByteArray::number(ritardo));
        const EsitoFiglio f = EseguiFiglio(QStringLiteral("USCITA_FIGLIO"), modo, 60000, segnale, "SALVATAGGIO");
        QVERIFY2(f.finito && f.stato == QProcess::NormalExit && f.codice == 0, f.uscita.constData());
        QVERIFY2(f.uscita.endsWith("FINE\n"), f.uscita.constData());
        if (segnale != 0) {
            QVERIFY(f.msFine >= 0);
            QVERIFY2(f.msFine < finestra::Attesa_Salvataggi_Uscita_ms + 2000, qPrintable(QString::number(f.msFine)));
        }
        QCOMPARE(f.uscita.contains("SALVATAGGIO Salvataggio dei dati in corso...\n"), mostrato);
        if (mostrato && segnale != 0)
            QVERIFY2(f.msAttesa >= finestra::Avviso_Salvataggio_Uscita_ms - 50, qPrintable(QString::number(f.msAttesa)));
        QByteArray atteso;
        QVERIFY(storico::Contenuto_Storico(SerieUscita(), 3, QStringLiteral("5M"), atteso).ok);
        QFile file(storico::PercorsoFileStorico(3, QStringLiteral("5M")));
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == atteso);
        QCOMPARE(ValoreArchivio(archivio::FileArchivio::Sistema3, QStringLiteral("TAB4"), QStringLiteral("C2"), 3) ==
                     QLatin1String("77"),
                 avviso.isEmpty());
        if (!avviso.isEmpty())
            QVERIFY2(f.uscita.contains(avviso.toUtf8()), f.uscita.constData());
        else
            QVERIFY2(!f.uscita.contains("AVVISO"), f.uscita.constData());
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

// Child process: the real window with a history file and a batch of settings queued
// (the batch for a row that does not exist with "_rifiutata"), every sync taking
// USCITA_RITARDO ms. It prints PRONTO once both are queued and then waits for the parent's
// signal ("segnale"), or ends by the window's exit ("chiusura"); SALVATAGGIO and the
// text when the window shows the saving, FINE at the end.
static int figlioSalvataggi(int argc, char **argv, const QByteArray &modo)
{
    QApplication app(argc, argv);
    FinestraProva prova;
    if (!prova.Carica())
        return 4;
    FormS1 &form = *prova.form;
    struct UscitaFiglio : UscitaFinestra {
        using UscitaFinestra::UscitaFinestra;
        void Termina(int) override { std::printf("FINE\n"); }
    };
    form.Imposta_Uscita(std::make_unique<UscitaFiglio>(form));
    wavelore::Collega_Segnali_Uscita(form);
    QTimer sonda;
    QObject::connect(&sonda, &QTimer::timeout, &app, [&sonda] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *testo = w->findChild<QLabel *>(QStringLiteral("LblSalvataggio"));
            if (w->objectName() == QLatin1String("FrmSalvataggio") && w->isVisible() && testo) {
                std::printf("SALVATAGGIO %s\n", qUtf8Printable(testo->text()));
                std::fflush(stdout);
                sonda.stop();
            }
        }
    });
    sonda.start(10);
    QTimer::singleShot(0, &form, [&form, modo] {
        sincronie::Imposta_Ritardo(qEnvironmentVariableIntValue("USCITA_RITARDO"));
        if (!form.Scrittore().Salva(SerieUscita(), 3, QStringLiteral("5M"), ScrittoreStorico::Tempo_Reale).ok)
            return;
        const int riga = modo.endsWith("_rifiutata") ? 99 : 3;
        form.Scrittore_Archivio().Accoda(
            {{archivio::FileArchivio::Sistema3, QStringLiteral("TAB4"), riga, {{QStringLiteral("C2"), QStringLiteral("77")}}}});
        std::printf("PRONTO\n");
        std::fflush(stdout);
        if (modo.startsWith("chiusura"))
            form.Chiudi_Programma();
    });
    return app.exec();
}

int main(int argc, char **argv)
{
    const QByteArray modo = qgetenv("USCITA_FIGLIO");
    if (modo == "pausa")
        return figlio(argc, argv);
    if (modo.startsWith("segnale") || modo.startsWith("chiusura"))
        return figlioSalvataggi(argc, argv, modo);
    if (!modo.isEmpty()) {
        QApplication app(argc, argv);
        ProvaFiglio prova;
        return QTest::qExec(&prova, argc, argv);
    }
    QCoreApplication app(argc, argv);
    UscitaTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "UscitaTest.moc"
