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

using namespace storico;

namespace {

constexpr int Vecchio = 1, Nuovo = 2, Riscritto = 3;
constexpr int Uccisioni = 200;

QByteArray leggi(const QString &percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList temporanei()
{
    return QDir(percorsi::Cartella(QStringLiteral("Sistema")))
        .entryList({QStringLiteral("S*_%1.dat.*").arg(Riscritto)}, QDir::Files | QDir::Hidden);
}

}  // namespace

// A save killed at any moment leaves every history file whole, old or new, and what
// it left beside them is cleaned at the next start.
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
        int conTemporanei = 0, nuoviTrovati = 0;
        for (int giro = 0; giro < Uccisioni; ++giro) {
            QProcess figlio;
            figlio.start(programma, {QString::number(Vecchio), QString::number(Nuovo), QString::number(Riscritto)});
            // Past a random number of whole files (up to two rounds), then a little more:
            // the kill lands anywhere in a save, between saves or before the first.
            const int scritti = int(caso.bounded(9));
            int visti = -1;  // "PRONTO" comes first
            while (visti < scritti) {
                if (!figlio.canReadLine())
                    QVERIFY2(figlio.waitForReadyRead(60000), qPrintable(figlio.readAllStandardError()));
                while (figlio.canReadLine() && visti < scritti) {
                    figlio.readLine();
                    ++visti;
                }
            }
            QThread::usleep(caso.bounded(4000u));
            figlio.kill();  // SIGKILL
            QVERIFY(figlio.waitForFinished(60000));
            QCOMPARE(figlio.exitStatus(), QProcess::CrashExit);

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
        qInfo("%d uccisioni, %d con file temporanei lasciati, %d file nuovi trovati", Uccisioni, conTemporanei,
              nuoviTrovati);
        StatoMercato m;
        Inizializza_Tabella_Chiave(m);
        QString errore;
        QVERIFY2(LeggiSetStorico(Riscritto, m.Tabella_Chiave, &errore), qPrintable(errore));
    }
};

QTEST_GUILESS_MAIN(ScritturaInterrottaTest)
#include "ScritturaInterrottaTest.moc"
