#include "CartellaTemporanea.h"

#include "archive/TabSottostanti.h"
#include "market/StoricoLocale.h"
#include "platform/Percorsi.h"
#include "simulatore/GeneratoreStorico.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>
#include <unistd.h>

using namespace storico;

namespace {

constexpr int Vecchio = 1, Nuovo = 2, Riscritto = 3;
constexpr int Uccisioni = 200;

QByteArray leggi(const QString &percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Whether process `pid` holds a temporary file of the history folder open, i.e. is
// inside a write: QSaveFile's file is unnamed where the system allows it
// ("Sistema/#<inode> (deleted)"), "S<tf>_<u>.dat.XXXXXX" otherwise.
bool scritturaAperta(qint64 pid)
{
    const QByteArray sistema = QFile::encodeName(percorsi::Cartella(QStringLiteral("Sistema"))) + '/';
    const QByteArray cartellaFd = "/proc/" + QByteArray::number(pid) + "/fd";
    for (const QString &fd : QDir(QString::fromLatin1(cartellaFd)).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        char destinazione[4096];
        const ssize_t n =
            ::readlink((cartellaFd + '/' + QFile::encodeName(fd)).constData(), destinazione, sizeof destinazione);
        const QByteArray d(destinazione, n > 0 ? int(n) : 0);
        if (d.startsWith(sistema) && (d.endsWith(" (deleted)") || d.contains(".dat.")))
            return true;
    }
    return false;
}

QStringList temporanei()
{
    return QDir(percorsi::Cartella(QStringLiteral("Sistema")))
        .entryList({QStringLiteral("S*_%1.dat.*").arg(Riscritto)}, QDir::Files | QDir::Hidden);
}

}  // namespace

// A save killed at any moment, most often with a file half written, leaves every
// history file whole, old or new, and what it left beside them is cleaned at the next start.
class ScritturaInterrottaTest : public QObject {
    Q_OBJECT

private slots:
    void uccisoACaso()
    {
        CartellaTemporanea cartella;
        StatoArchivio a;
        archivio::Inizializza_Tab_Sottostanti(a);
        for (int u : {Vecchio, Nuovo}) {
            generatore::Parametri p;
            p.sottostante = a.Tab_Sottostanti[size_t(u)];
            p.seme = quint64(u);
            QVERIFY(generatore::ScriviFileLocali(generatore::Genera(p), u).ok);
        }
        std::array<QByteArray, 4> vecchi, nuovi;
        for (size_t t = 0; t < 4; ++t) {
            vecchi[t] = leggi(PercorsoFileStorico(Vecchio, Timeframes()[t]));
            nuovi[t] = leggi(PercorsoFileStorico(Nuovo, Timeframes()[t]));
            QVERIFY(!vecchi[t].isEmpty() && vecchi[t] != nuovi[t]);
            QVERIFY(QFile::copy(PercorsoFileStorico(Vecchio, Timeframes()[t]),
                                PercorsoFileStorico(Riscritto, Timeframes()[t])));
        }

        const QString programma = qEnvironmentVariable("WAVELORE_TOOLS_DIR") + QStringLiteral("/riscrivi-storico");
        QVERIFY2(QFileInfo(programma).isExecutable(), qPrintable(programma));
        QRandomGenerator caso(17);
        int conTemporanei = 0, nuoviTrovati = 0, inPausa = 0, dentro = 0;
        for (int giro = 0; giro < Uccisioni; ++giro) {
            // Most kills come while a file is half written (the writer stopped there on
            // purpose); the others past a random number of whole files (up to two rounds),
            // then a little more, anywhere in a save, between saves or before the first.
            const bool aMeta = giro % 8 != 0;
            const int scritti = int(caso.bounded(9));
            QStringList argomenti{QString::number(Vecchio), QString::number(Nuovo), QString::number(Riscritto)};
            if (aMeta)
                argomenti << QStringLiteral("--pausa-al-file") << QString::number(scritti + 1);
            QProcess figlio;
            figlio.start(programma, argomenti);
            int visti = -1;  // "PRONTO" comes first
            bool meta = false;
            while (aMeta ? !meta : visti < scritti) {
                if (!figlio.canReadLine())
                    QVERIFY2(figlio.waitForReadyRead(60000), qPrintable(figlio.readAllStandardError()));
                while (figlio.canReadLine() && !meta && (aMeta || visti < scritti)) {
                    meta = figlio.readLine().trimmed() == "META";
                    visti += meta ? 0 : 1;
                }
            }
            QCOMPARE(visti, scritti);
            QThread::usleep(caso.bounded(aMeta ? 1000u : 4000u));
            dentro += scritturaAperta(figlio.processId());
            figlio.kill();  // SIGKILL
            QVERIFY(figlio.waitForFinished(60000));
            QCOMPARE(figlio.exitStatus(), QProcess::CrashExit);
            inPausa += aMeta;

            for (size_t t = 0; t < 4; ++t) {
                const QByteArray ora = leggi(PercorsoFileStorico(Riscritto, Timeframes()[t]));
                QVERIFY2(ora == vecchi[t] || ora == nuovi[t],
                         qPrintable(QStringLiteral("giro %1: %2 non è né il vecchio né il nuovo (%3 byte)")
                                        .arg(giro)
                                        .arg(NomeFileStorico(Riscritto, Timeframes()[t]))
                                        .arg(ora.size())));
                nuoviTrovati += ora == nuovi[t];
            }
            const QStringList lasciati = temporanei();
            conTemporanei += !lasciati.isEmpty();
            QCOMPARE(Rimuovi_Temporanei_Storico(), int(lasciati.size()));
            QVERIFY(temporanei().isEmpty());
        }
        qInfo("%d uccisioni (%d a file scritto a metà), %d dentro una scrittura (file temporaneo aperto), "
              "%d con file temporanei lasciati, %d file nuovi trovati",
              Uccisioni, inPausa, dentro, conTemporanei, nuoviTrovati);
        QVERIFY2(dentro > Uccisioni * 3 / 4, "troppo poche uccisioni dentro una scrittura");
        StatoMercato m;
        Inizializza_Tabella_Chiave(m);
        QString errore;
        QVERIFY2(LeggiSetStorico(Riscritto, m.Tabella_Chiave, &errore), qPrintable(errore));
    }
};

QTEST_GUILESS_MAIN(ScritturaInterrottaTest)
#include "ScritturaInterrottaTest.moc"
