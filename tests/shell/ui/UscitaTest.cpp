#include "CartellaTemporanea.h"
#include "DiscoProva.h"
#include "FinestraProva.h"
#include "InterfacceVuote.h"
#include "ProcessoFiglio.h"
#include "market/ScrittoreStorico.h"
#include "platform/Socket.h"
#include "shell/Pausa.h"
#include "shell/StatoShell.h"
#include "shell/ui/FormMsg.h"
#include "shell/ui/GestoreMessaggi.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>
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

int main(int argc, char **argv)
{
    const QByteArray modo = qgetenv("USCITA_FIGLIO");
    if (modo == "pausa")
        return figlio(argc, argv);
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
