// Saving in the real window, ONLINE against our own quote server with a bar update
// every half second: on a really read-only archive folder the history files and the
// settings saved on their own fail together, and the trader sees one notice, which stays
// open (running the event loop, as the real box does) while merges go on and the folder
// is made writable again; no second one follows, and every file then holds the merged
// series and every degree's cycle start.

#include "ArchivioProva.h"
#include "FinestraProva.h"
#include "Stato.h"
#include "archive/ScrittoreArchivio.h"
#include "archive/TabSottostanti.h"
#include "market/ScrittoreStorico.h"
#include "market/SessioneQuotazioni.h"
#include "market/StoricoLocale.h"
#include "platform/DataOra.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "simulatore/GeneratoreStorico.h"
#include "simulatore/ServerQuotazioni.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QStringList Utente_Semplice{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                  QStringLiteral("--clear-groups")};

QByteArray Leggi(const QString &percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class SalvataggiFinestraTest : public QObject {
    Q_OBJECT

private slots:
    void cartella_di_sola_lettura()
    {
        if (::geteuid() == 0) {
            // Root writes in any folder: the same test, as a plain user, in a child.
            if (QProcess::execute(QStringLiteral("setpriv"), Utente_Semplice + QStringList{QStringLiteral("true")}) != 0)
                QSKIP("root here cannot run a program as a plain user");
            QProcess figlio;
            figlio.setProcessChannelMode(QProcess::ForwardedChannels);
            figlio.start(QStringLiteral("setpriv"), Utente_Semplice + QStringList{QCoreApplication::applicationFilePath(),
                                                                                  QStringLiteral("cartella_di_sola_lettura")});
            QVERIFY(figlio.waitForFinished(100000));
            QCOMPARE(figlio.exitStatus(), QProcess::NormalExit);
            QCOMPARE(figlio.exitCode(), 0);
            return;
        }
        FinestraProva a(QList<int>{});
        const QString cartella = a.cartella->percorso();
        StatoArchivio tab;
        archivio::Inizializza_Tab_Sottostanti(tab);
        generatore::Parametri p;
        p.sottostante = tab.Tab_Sottostanti[2];
        const QString db = cartella + QStringLiteral("/Server/{db}.db");
        QVERIFY(QDir().mkpath(cartella + QStringLiteral("/Server")));
        QVERIFY(generatore::ScriviDatabase(generatore::Genera(p), QString(db).replace(QStringLiteral("{db}"),
                                                                                       generatore::NomeDatabase(2)))
                    .ok);
        VariabileTemporanea odbc("WAVELORE_HISTORY_ODBC", QStringLiteral("DRIVER={SQLite3};Database=%1;").arg(db).toUtf8());
        ServerQuotazioni::Configurazione cfg;
        cfg.Utenti.insert(QStringLiteral("demo"), {QStringLiteral("demo"), QStringLiteral("1001"),
                                                   QStringLiteral("Utente"), QStringLiteral("Demo")});
        cfg.Percorso_Database = db;
        cfg.Intervallo_Tick_ms = 100;
        cfg.Velocita = 600;  // a new 5-minute bar every half second
        ServerQuotazioni server(cfg);
        QVERIFY(server.Avvia(0));
        VariabileTemporanea indirizzo("WAVELORE_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(server.Porta()));

        QVERIFY(a.Carica());
        a.form->Frm_Avvio->Text_ID->setText(QStringLiteral("demo"));
        a.form->Frm_Avvio->Text_Password->setText(QStringLiteral("demo"));
        QTest::mouseClick(a.form->Frm_Avvio->Cmd_OnLine, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!a.S().shell.Blocco_Grafici || !a.fallimenti.isEmpty(), 20000);
        QVERIFY(a.fallimenti.isEmpty());
        SessioneQuotazioni *sessione = a.op->Sessione();
        QTRY_VERIFY_WITH_TIMEOUT(sessione->Fusioni_Eseguite() > 0, 15000);
        ScrittoreStorico &storici = a.form->Scrittore();
        ScrittoreArchivio &archivio = a.form->Scrittore_Archivio();
        storici.Attendi();
        archivio.Attendi();
        QSignalSpy ripresiStorici(&storici, &ScrittoreBase::Scrittura_Ripresa);
        QSignalSpy ripresoArchivio(&archivio, &ScrittoreBase::Scrittura_Ripresa);

        // Real boxes from here on, kept open by the test.
        AvvisiTenuti avvisi;
        const QStringList &testi = avvisi.testi;
        const QByteArray sistema = QFile::encodeName(a.cartella->sistema());
        const auto scrivibile = qScopeGuard([&] { ::chmod(sistema.constData(), 0700); });
        avvisi.durante = [&] {
            // Open: merges go on, and both kinds of save fail while it is.
            const int fuse = sessione->Fusioni_Eseguite();
            QTRY_VERIFY_WITH_TIMEOUT(sessione->Fusioni_Eseguite() >= fuse + 2, 15000);
            QTRY_VERIFY(storici.Da_Scrivere().size() == 4 && archivio.Da_Scrivere().contains(QStringLiteral("Sistema3.dat")));
            ::chmod(sistema.constData(), 0700);
            QTRY_VERIFY_WITH_TIMEOUT(!ripresiStorici.isEmpty() && !ripresoArchivio.isEmpty(), 20000);
        };
        QVERIFY(::chmod(sistema.constData(), 0555) == 0);
        QVERIFY(::access(sistema.constData(), W_OK) != 0);
        QTRY_VERIFY_WITH_TIMEOUT(testi.size() == 1 && !QApplication::activeModalWidget(), 60000);
        const int fuse = sessione->Fusioni_Eseguite();
        QTRY_VERIFY_WITH_TIMEOUT(sessione->Fusioni_Eseguite() >= fuse + 2, 15000);
        QCOMPARE(testi.size(), 1);
        QCOMPARE(avvisi.aperti, 1);
        const QString cartellaSistema = QDir::toNativeSeparators(a.cartella->sistema());
        QVERIFY2(testi[0].contains(QStringLiteral("la cartella %1 \u00E8 di sola lettura").arg(cartellaSistema)),
                 qPrintable(testi[0]));

        // Caught up: every file the merged series, every degree's cycle start in the archive.
        storici.Attendi();
        archivio.Attendi();
        const Stato &s = a.S();
        for (const QString &tf : storico::Timeframes()) {
            QByteArray atteso;
            QVERIFY(storico::Contenuto_Storico(s.mercato, 2, tf, atteso).ok);
            QVERIFY2(Leggi(storico::PercorsoFileStorico(2, tf)) == atteso, qPrintable(tf));
        }
        for (int d = 0; d <= costanti::Max_Grado; ++d) {
            const QString tabella = QStringLiteral("TAB%1").arg(d);
            QCOMPARE(ValoreArchivio(archivio::FileArchivio::Sistema3, tabella, QStringLiteral("C12"), 2),
                     dataora::ScriviData(s.cicli.Data_Inizio_Ciclo[size_t(d)], s.shell.Formato_Data));
            QCOMPARE(ValoreArchivio(archivio::FileArchivio::Sistema3, tabella, QStringLiteral("C13"), 2),
                     dataora::ScriviOra(s.cicli.Ora_Inizio_Ciclo[size_t(d)], s.shell.Formato_Ora));
        }
    }
};

QTEST_MAIN(SalvataggiFinestraTest)
#include "SalvataggiFinestraTest.moc"
