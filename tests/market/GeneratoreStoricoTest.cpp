#include "CartellaTemporanea.h"

#include "archive/TabSottostanti.h"
#include "simulatore/GeneratoreStorico.h"
#include "market/StoricoLocale.h"
#include "platform/DataOra.h"

#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <map>

using namespace generatore;

namespace {

Parametri parametri(int sottostante, std::uint64_t seme = 5)
{
    StatoArchivio a;
    archivio::Inizializza_Tab_Sottostanti(a);
    Parametri p;
    p.sottostante = a.Tab_Sottostanti[size_t(sottostante)];
    p.seme = seme;
    p.ultimoGiorno = QDate(2026, 12, 4);
    return p;
}

}  // namespace

class GeneratoreStoricoTest : public QObject {
    Q_OBJECT
private slots:
    void calendarioDiBorsa_data()
    {
        QTest::addColumn<int>("sottostante");
        QTest::addColumn<int>("barre1H");
        QTest::addColumn<int>("barre15M");
        QTest::addColumn<int>("primo15M");
        QTest::addColumn<int>("ultimo15M");
        QTest::newRow("FtseMib") << 1 << 11 << 46 << 9 * 60 + 15 << 20 * 60 + 30;
        QTest::newRow("Dax") << 2 << 14 << 56 << 8 * 60 + 15 << 22 * 60;
    }

    // Bars only on weekdays, stamped at their end within the trading day, as many a day
    // as the underlying counts; newest first without gaps or repeats.
    void calendarioDiBorsa()
    {
        QFETCH(int, sottostante);
        QFETCH(int, barre1H);
        QFETCH(int, barre15M);
        QFETCH(int, primo15M);
        QFETCH(int, ultimo15M);
        const storico::SetStorico set = Genera(parametri(sottostante));
        QCOMPARE(set.s1D.barra(1).data, QDate(2026, 12, 4));
        QCOMPARE(set.s15M.barra(1).minuti, ultimo15M);
        for (const SerieStorico *s : {&set.s5M, &set.s15M, &set.s1H, &set.s1D}) {
            for (int r = 1; r <= s->capacita(); ++r) {
                const BarraStorico &b = s->barra(r);
                QVERIFY(b.data.isValid() && b.data.dayOfWeek() <= 5);
                QVERIFY(b.chiusura > 0);
                QVERIFY(b.volume >= 1 && b.volume == std::floor(b.volume));
                if (r > 1) {
                    const BarraStorico &prec = s->barra(r - 1);
                    QVERIFY(b.data < prec.data || (b.data == prec.data && b.minuti < prec.minuti));
                }
            }
        }
        std::map<QDate, int> perGiorno15, perGiorno1H;
        for (const BarraStorico &b : set.s15M.barre()) {
            ++perGiorno15[b.data];
            QVERIFY(b.minuti >= primo15M && b.minuti <= ultimo15M);
        }
        for (const BarraStorico &b : set.s1H.barre())
            ++perGiorno1H[b.data];
        // Whole days in the middle of the series.
        QCOMPARE(std::next(perGiorno15.begin(), 5)->second, barre15M);
        QCOMPARE(std::next(perGiorno1H.begin(), 5)->second, barre1H);
    }

    // The timeframes describe one market: a 15-minute or hourly bar closes where the
    // five-minute bar of the same stamp closes, and the day closes at its last bar.
    void timeframeCoerenti()
    {
        const storico::SetStorico set = Genera(parametri(3));
        std::map<std::pair<QDate, int>, const BarraStorico *> cinque;
        for (const BarraStorico &b : set.s5M.barre())
            cinque[{b.data, b.minuti}] = &b;
        int confrontate = 0;
        for (const SerieStorico *s : {&set.s15M, &set.s1H}) {
            for (const BarraStorico &b : s->barre()) {
                const auto it = cinque.find({b.data, b.minuti});
                if (it == cinque.end())
                    continue;
                QCOMPARE(b.chiusura, it->second->chiusura);
                ++confrontate;
            }
        }
        QVERIFY(confrontate > 100);
        QCOMPARE(set.s1D.barra(1).chiusura, set.s5M.barra(1).chiusura);
        double volumeGiorno = 0;
        for (const BarraStorico &b : set.s5M.barre())
            if (b.data == set.s1D.barra(2).data)
                volumeGiorno += b.volume;
        QCOMPARE(set.s1D.barra(2).volume, volumeGiorno);
    }

    void prezziPlausibili_data()
    {
        QTest::addColumn<int>("sottostante");
        QTest::addColumn<double>("decimali");
        QTest::newRow("FtseMib interi") << 1 << 0.0;
        QTest::newRow("Bund due decimali") << 4 << 2.0;
        QTest::newRow("Euro FX quattro decimali") << 7 << 4.0;
    }

    void prezziPlausibili()
    {
        QFETCH(int, sottostante);
        QFETCH(double, decimali);
        const Parametri p = parametri(sottostante);
        const storico::SetStorico set = Genera(p);
        const double riferimento = PrezzoTipico(p.sottostante);
        double minimo = 1e300, massimo = 0, mossaMassima = 0;
        for (int r = 1; r <= set.s1D.capacita(); ++r) {
            const double c = set.s1D.barra(r).chiusura;
            minimo = std::min(minimo, c);
            massimo = std::max(massimo, c);
            if (r > 1)
                mossaMassima = std::max(mossaMassima, std::fabs(std::log(c / set.s1D.barra(r - 1).chiusura)));
            const double scala = std::pow(10.0, decimali);
            QCOMPARE(std::round(c * scala) / scala, c);
        }
        QVERIFY(minimo > riferimento / 5 && massimo < riferimento * 5);
        QVERIFY(mossaMassima < 0.2);
        QVERIFY(massimo / minimo > 1.2);  // it does swing
    }

    void ripetibile()
    {
        const storico::SetStorico a = Genera(parametri(2, 9));
        const storico::SetStorico b = Genera(parametri(2, 9));
        const storico::SetStorico c = Genera(parametri(2, 10));
        QVERIFY(a.s5M.barre() == b.s5M.barre());
        QVERIFY(a.s1D.barre() == b.s1D.barre());
        QVERIFY(!(a.s1D.barre() == c.s1D.barre()));
    }

    void ultimaBarraIntraday()
    {
        Parametri p = parametri(2);
        p.ultimiMinuti = 11 * 60 + 7;
        const storico::SetStorico set = Genera(p);
        QCOMPARE(set.s5M.barra(1).minuti, 11 * 60 + 5);
        QCOMPARE(set.s15M.barra(1).minuti, 11 * 60);
        QCOMPARE(set.s1H.barra(1).minuti, 11 * 60);
        QCOMPARE(set.s1D.barra(1).chiusura, set.s5M.barra(1).chiusura);
        p.ultimoGiorno = QDate(2026, 12, 6);  // a Sunday: the Friday before
        QCOMPARE(Genera(p).s1D.barra(1).data, QDate(2026, 12, 4));
    }

    void database()
    {
        CartellaTemporanea cartella;
        const storico::SetStorico set = Genera(parametri(5));
        const QString percorso = cartella.percorso() + QLatin1Char('/') + NomeDatabase(5) + QStringLiteral(".db");
        QVERIFY(ScriviDatabase(set, percorso).ok);
        QVERIFY(ScriviDatabase(set, percorso).ok);  // replaced, not appended
        QCOMPARE(NomeDatabase(5), QStringLiteral("WaveloreEMIniSP500"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("verifica"));
            db.setDatabaseName(percorso);
            QVERIFY(db.open());
            QSqlQuery q(db);
            const std::pair<const char *, const SerieStorico *> tabelle[] = {
                {"TF5M", &set.s5M}, {"TF15M", &set.s15M}, {"TF1H", &set.s1H}, {"TF1D", &set.s1D}};
            for (const auto &[tabella, serie] : tabelle) {
                QVERIFY(q.exec(QStringLiteral("SELECT * FROM %1").arg(QString::fromLatin1(tabella))));
                int righe = 0;
                while (q.next()) {
                    ++righe;
                    if (righe <= 2) {
                        const BarraStorico &b = serie->barra(righe);
                        QCOMPARE(q.value(QStringLiteral("DATA")).toString(), dataora::ScriviDataCompatta(b.data));
                        QCOMPARE(q.value(QStringLiteral("ORA")).toString(), dataora::ScriviOraCompatta(b.minuti));
                        QCOMPARE(q.value(QStringLiteral("CHIUSURA")).toString().toDouble(), b.chiusura);
                        QCOMPARE(q.value(QStringLiteral("VOLUME")).toString().toDouble(), b.volume);
                    }
                }
                QCOMPARE(righe, serie->capacita());
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("verifica"));
    }

    // The program writes both forms and prints a file set through the client's reader.
    void programma()
    {
        const QString cartellaProgrammi = qEnvironmentVariable("WAVELORE_TOOLS_DIR");
        const QString programma = cartellaProgrammi + QStringLiteral("/genera-storico");
        if (cartellaProgrammi.isEmpty() || !QFileInfo(programma).isExecutable())
            QSKIP("genera-storico not built");
        CartellaTemporanea cartella;
        QProcess p;
        p.start(programma, {QStringLiteral("--sottostante"), QStringLiteral("6"), QStringLiteral("--seme"),
                            QStringLiteral("3"), QStringLiteral("--fine"), QStringLiteral("2026-12-04"),
                            QStringLiteral("--cartella"), cartella.percorso(), QStringLiteral("--cartella-db"),
                            cartella.percorso() + QStringLiteral("/db")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(QFileInfo::exists(cartella.percorso() + QStringLiteral("/db/WaveloreEMiniNasdaq.db")));
        StatoMercato m;
        storico::Inizializza_Tabella_Chiave(m);
        const auto letto = storico::LeggiSetStorico(6, m.Tabella_Chiave);
        QVERIFY(letto);
        Parametri attesi = parametri(6, 3);
        QVERIFY(letto->s1H.barre() == Genera(attesi).s1H.barre());

        p.start(programma, {QStringLiteral("--stampa"), QStringLiteral("--sottostante"), QStringLiteral("6"),
                            QStringLiteral("--timeframe"), QStringLiteral("1D"), QStringLiteral("--righe"),
                            QStringLiteral("2"), QStringLiteral("--cartella"), cartella.percorso()});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        const QList<QByteArray> righe = p.readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(righe.size(), 2);
        QCOMPARE(righe[0], "S1D_6.dat 1 " + storico::RigaInChiaro(letto->s1D.barra(1)));

        QFile f(storico::PercorsoFileStorico(6, QStringLiteral("5M")));
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.resize(f.size() - 10);
        f.close();
        p.start(programma, {QStringLiteral("--stampa"), QStringLiteral("--sottostante"), QStringLiteral("6"),
                            QStringLiteral("--cartella"), cartella.percorso()});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(p.readAllStandardError().contains("S5M_6.dat"));
    }
};

QTEST_GUILESS_MAIN(GeneratoreStoricoTest)
#include "GeneratoreStoricoTest.moc"
