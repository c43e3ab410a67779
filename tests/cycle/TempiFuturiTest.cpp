#include "cycle/StatoCicli.h"
#include "cycle/TempiFuturi.h"
#include "market/StatoMercato.h"

#include <QtTest>

using namespace ciclo;

namespace {

struct Caso {
    StatoCicli cicli;
    StatoMercato mercato;
};

// One degree with n = durata - posizione future bars and the newest bar at (data, minuti).
void prepara(Caso &c, int grado, const QDate &data, int minuti, double durata, int posizione = 1)
{
    c.cicli.Inizio_Sessione = QTime(9, 0);
    c.mercato.Fine_Sessione = QTime(20, 30);
    const auto d = size_t(grado);
    c.cicli.Durata[d] = durata;
    c.cicli.Barre_Ciclo[d] = posizione;
    SerieStorico &s = grado <= 3 ? c.mercato.Storico_1D : grado <= 5 ? c.mercato.Storico_1H
                                 : grado <= 9                       ? c.mercato.Storico_15M
                                                                    : c.mercato.Storico_5M;
    s.barra(1) = {data, minuti, 100, 1};
}

QString testo(const TempoFuturo &t, bool conOra)
{
    return t.data.toString(QStringLiteral("ddd dd/MM")) + (conOra ? QStringLiteral(" %1:%2").arg(t.minuti / 60).arg(t.minuti % 60, 2, 10, QLatin1Char('0')) : QString());
}

}  // namespace

class TempiFuturiTest : public QObject {
    Q_OBJECT
private slots:
    void assi_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<QDate>("data");
        QTest::addColumn<int>("minuti");
        QTest::addColumn<QStringList>("attesi");
        const QDate giovedi(2026, 12, 3), venerdi(2026, 12, 4);
        QTest::newRow("giornaliero da venerdi'") << 0 << venerdi << 0 << QStringList{"Mon 07/12", "Tue 08/12"};
        QTest::newRow("giornaliero da giovedi'") << 3 << giovedi << 0 << QStringList{"Fri 04/12", "Mon 07/12", "Tue 08/12"};
        QTest::newRow("giornaliero da sabato") << 1 << QDate(2026, 12, 5) << 0 << QStringList{"Mon 07/12"};
        QTest::newRow("orario fino alla chiusura del venerdi'")
            << 4 << venerdi << 20 * 60 << QStringList{"Fri 04/12 21:00", "Mon 07/12 10:00", "Mon 07/12 11:00"};
        QTest::newRow("15 minuti alla chiusura")
            << 7 << venerdi << 20 * 60 + 15 << QStringList{"Fri 04/12 20:30", "Mon 07/12 9:15", "Mon 07/12 9:30"};
        QTest::newRow("prima dell'apertura")
            << 6 << giovedi << 8 * 60 << QStringList{"Fri 04/12 9:15", "Fri 04/12 9:30"};
        QTest::newRow("esattamente alla chiusura")
            << 11 << giovedi << 20 * 60 + 30 << QStringList{"Fri 04/12 9:05", "Fri 04/12 9:10"};
        QTest::newRow("5 minuti dentro la giornata")
            << 12 << giovedi << 12 * 60 << QStringList{"Thu 03/12 12:05", "Thu 03/12 12:10", "Thu 03/12 12:15"};
    }

    void assi()
    {
        QFETCH(int, grado);
        QFETCH(QDate, data);
        QFETCH(int, minuti);
        QFETCH(QStringList, attesi);
        Caso c;
        prepara(c, grado, data, minuti, 1 + attesi.size());
        Calcola_Tempi_Futuri_Grado(c.cicli, c.mercato, grado);
        const auto &f = c.cicli.Tempi_Futuri[size_t(grado)];
        QCOMPARE(int(f.size()), attesi.size());
        QLocale::setDefault(QLocale::c());
        for (int j = 0; j < attesi.size(); ++j)
            QCOMPARE(testo(f[size_t(j)], grado > 3), attesi[j]);
    }

    // A trading day of the 5-minute degree runs from opening + 5 to the closing stamp.
    void giornataIntera()
    {
        Caso c;
        prepara(c, 10, QDate(2026, 12, 3), 20 * 60 + 30, 1 + 2 * 138);
        Calcola_Tempi_Futuri_Grado(c.cicli, c.mercato, 10);
        const auto &f = c.cicli.Tempi_Futuri[10];
        QCOMPARE(f[0].data, QDate(2026, 12, 4));
        QCOMPARE(f[0].minuti, 9 * 60 + 5);
        QCOMPARE(f[137].data, QDate(2026, 12, 4));
        QCOMPARE(f[137].minuti, 20 * 60 + 30);
        QCOMPARE(f[138].data, QDate(2026, 12, 7));
        QCOMPARE(f[138].minuti, 9 * 60 + 5);
    }

    void numeroVoci_data()
    {
        QTest::addColumn<double>("durata");
        QTest::addColumn<int>("posizione");
        QTest::addColumn<double>("scostamento");
        QTest::addColumn<int>("voci");
        QTest::newRow("n negativo") << 100.0 << 140 << 0.0 << 1;
        QTest::newRow("n zero") << 100.0 << 100 << 0.0 << 1;
        QTest::newRow("con compressione") << 100.0 << 10 << 50.0 << 140;
        QTest::newRow("mezzo pari") << 100.5 << 10 << 0.0 << 90;
        QTest::newRow("mezzo dispari") << 101.5 << 10 << 0.0 << 92;
        QTest::newRow("oltre la tabella") << 9000.0 << 1 << 0.0 << 6200;
    }

    void numeroVoci()
    {
        QFETCH(double, durata);
        QFETCH(int, posizione);
        QFETCH(double, scostamento);
        QFETCH(int, voci);
        Caso c;
        prepara(c, 5, QDate(2026, 12, 3), 12 * 60, durata, posizione);
        c.cicli.Scostamento_Ciclo[5] = scostamento;
        Calcola_Tempi_Futuri_Grado(c.cicli, c.mercato, 5);
        QCOMPARE(int(c.cicli.Tempi_Futuri[5].size()), voci);
    }

    // A shorter axis after a longer one rewrites only its own entries.
    void piuCortoDopoPiuLungo()
    {
        Caso c;
        prepara(c, 9, QDate(2026, 12, 3), 12 * 60, 41);
        Calcola_Tempi_Futuri_Grado(c.cicli, c.mercato, 9);
        const auto lungo = c.cicli.Tempi_Futuri[9];
        QCOMPARE(lungo.size(), size_t(40));
        c.mercato.Storico_15M.barra(1).minuti = 13 * 60;
        c.cicli.Durata[9] = 11;
        Calcola_Tempi_Futuri_Grado(c.cicli, c.mercato, 9);
        const auto &corto = c.cicli.Tempi_Futuri[9];
        QCOMPARE(corto.size(), size_t(40));
        QCOMPARE(corto[0].minuti, 13 * 60 + 15);
        QCOMPARE(corto[9].minuti, 15 * 60 + 30);
        for (size_t j = 10; j < 40; ++j)
            QCOMPARE(corto[j].minuti, lungo[j].minuti);
    }

    void tuttiIGradi()
    {
        Caso c;
        for (int d = 0; d <= 12; ++d)
            prepara(c, d, QDate(2026, 12, 3), d <= 3 ? 0 : 12 * 60, 10);
        Calcola_Tempi_Futuri(c.cicli, c.mercato);
        for (int d = 0; d <= 12; ++d)
            QCOMPARE(c.cicli.Tempi_Futuri[size_t(d)].size(), size_t(9));
        QCOMPARE(c.cicli.Tempi_Futuri[0][0].minuti, 0);
        QCOMPARE(c.cicli.Tempi_Futuri[4][0].minuti, 13 * 60);
        Calcola_Tempi_Futuri_Grado(c.cicli, c.mercato, -1);
        Calcola_Tempi_Futuri_Grado(c.cicli, c.mercato, 13);
    }

    void storicoVuoto()
    {
        StatoCicli c;
        StatoMercato m;
        c.Durata[2] = 50;
        Calcola_Tempi_Futuri_Grado(c, m, 2);
        QVERIFY(c.Tempi_Futuri[2].empty());
    }
};

QTEST_GUILESS_MAIN(TempiFuturiTest)
#include "TempiFuturiTest.moc"
