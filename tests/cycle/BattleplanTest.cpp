#include "Confronto.h"

#include "cycle/Battleplan.h"
#include "cycle/ModelloCiclo.h"
#include "cycle/StatoCicli.h"

#include <QtTest>

using namespace ciclo;

namespace {

StatoCicli esempio(int grado, double durata, double scostamento, double tendenza, double proporzione)
{
    StatoCicli c;
    Inizializza_Tabelle_Cicli(c);
    c.Fattore_Durata = 15;
    const auto d = size_t(grado);
    c.Durata[d] = durata;
    c.Scostamento_Ciclo[d] = scostamento;
    c.Tempi[d] = 2;
    c.Sottocicli[d] = 2;
    c.Tendenza[d] = tendenza;
    c.Prop_Battleplan[d] = proporzione;
    return c;
}

}  // namespace

class BattleplanTest : public QObject {
    Q_OBJECT
private slots:
    void esempioSvolto_data()
    {
        QTest::addColumn<double>("tendenza");
        QTest::addColumn<double>("proporzione");
        QTest::addColumn<QList<int>>("posizioni");
        QTest::addColumn<QList<double>>("valori");
        QTest::newRow("standard, senza tendenza")
            << 0.0 << 1.0 << QList<int>{1, 2, 25, 50, 75, 100}
            << QList<double>{9.000000000067462, 9.837366482107939, 19.00002938634243, 17.000000003305647,
                             18.99994123422326, 9.000000013559898};
        QTest::newRow("tendenza 3, due pressioni di proporzione")
            << 3.0 << 1.2000000000000002 << QList<int>{1, 50, 100}
            << QList<double>{13.00992000004041, 17.088004572798198, 14.254080010726764};
    }

    void esempioSvolto()
    {
        QFETCH(double, tendenza);
        QFETCH(double, proporzione);
        QFETCH(QList<int>, posizioni);
        QFETCH(QList<double>, valori);
        StatoCicli c = esempio(9, 100, 25, tendenza, proporzione);
        Calcola_Battleplan(c, 9);
        const auto &v = c.Battleplan[9];
        QCOMPARE(v.size(), size_t(126));
        for (int i = 0; i < posizioni.size(); ++i)
            QCOMPARE_FUZZY(v[size_t(posizioni[i])], valori[i]);
        const double salto = tendenza + tendenza * CoefficienteTendenza(proporzione);
        QCOMPARE(v[101], (tendenza + v[1]) + tendenza * CoefficienteTendenza(proporzione));
        QCOMPARE_FUZZY(v[101], v[1] + salto);
        QCOMPARE_FUZZY(v[125], v[25] + salto);
        if (tendenza == 3.0)
            QCOMPARE_FUZZY(v[101], 14.28192000004041);
    }

    void senzaCompressione()
    {
        StatoCicli c = esempio(9, 100, 0, 2, 1.3);
        Calcola_Battleplan(c, 9);
        QCOMPARE(c.Battleplan[9].size(), size_t(101));
    }

    // Every further cycle is the one before it raised once more.
    void compressioneOltreLaDurata()
    {
        StatoCicli c = esempio(4, 100, 250, 2, 1.7);
        Calcola_Battleplan(c, 4);
        const auto &v = c.Battleplan[4];
        QCOMPARE(v.size(), size_t(351));
        const double salto = 2 + 2 * 0.674;
        QCOMPARE_FUZZY(v[150], v[50] + salto);
        QCOMPARE_FUZZY(v[250], v[50] + 2 * salto);
        QCOMPARE_FUZZY(v[350], v[50] + 3 * salto);
    }

    // A duration with a half-bar fraction must neither read before position 1 nor
    // leave a position between the first cycle and its repetition unwritten.
    void durataFrazionaria_data()
    {
        QTest::addColumn<double>("durata");
        QTest::addColumn<double>("scostamento");
        QTest::addColumn<int>("posizioni");
        QTest::addColumn<int>("primaRipetuta");
        QTest::addColumn<int>("sorgente");
        QTest::newRow("100.5") << 100.5 << 25.0 << 126 << 101 << 1;
        QTest::newRow("3.5") << 3.5 << 2.0 << 6 << 5 << 2;
        QTest::newRow("2.5") << 2.5 << 2.0 << 4 << 3 << 1;
        QTest::newRow("62.25") << 62.25 << 25.0 << 87 << 63 << 1;
    }

    void durataFrazionaria()
    {
        QFETCH(double, durata);
        QFETCH(double, scostamento);
        QFETCH(int, posizioni);
        QFETCH(int, primaRipetuta);
        QFETCH(int, sorgente);
        StatoCicli c = esempio(11, durata, scostamento, 1, 1.0);
        Calcola_Battleplan(c, 11);
        const auto &v = c.Battleplan[11];
        QCOMPARE(int(v.size()) - 1, posizioni);
        for (int i = 1; i <= posizioni; ++i)
            QVERIFY2(v[size_t(i)] != 0.0, qPrintable(QString::number(i)));
        QCOMPARE(v[size_t(primaRipetuta)], 1 + v[size_t(sorgente)]);
        // The last position of the first cycle keeps the cycle's own value.
        StatoCicli senza = esempio(11, durata, 0, 1, 1.0);
        Calcola_Battleplan(senza, 11);
        QCOMPARE(v[size_t(primaRipetuta - 1)], senza.Battleplan[11][size_t(primaRipetuta - 1)]);
    }

    void coefficiente_data()
    {
        QTest::addColumn<double>("proporzione");
        QTest::addColumn<double>("k");
        QTest::newRow("standard") << 1.0 << 0.0;
        QTest::newRow("1.05 chiave 1.0") << 1.05 << 0.0;
        QTest::newRow("1.1") << 1.1 << -0.704;
        QTest::newRow("1.2 da due pressioni") << 1.2000000000000002 << -0.576;
        QTest::newRow("1.5") << 1.5000000000000004 << 0.016;
        QTest::newRow("1.7") << 1.7000000000000006 << 0.674;
        QTest::newRow("1.9") << 1.9 << 1.61;
        QTest::newRow("2 chiave 2") << 2.0 << 0.0;
        QTest::newRow("2.5") << 2.5 << 0.0;
    }

    void coefficiente()
    {
        QFETCH(double, proporzione);
        QFETCH(double, k);
        QCOMPARE(CoefficienteTendenza(proporzione), k);
    }

    void ampiezze()
    {
        // At the first position every term sits at sin(phi), so the value shows the amplitudes' sum.
        const double s = std::sin(-1.5708);
        StatoCicli standard = esempio(0, 2048, 0, 0, 1.0);
        Calcola_Battleplan(standard, 0);
        QCOMPARE(standard.Battleplan[0][1], (((0.0 + 4) + 3) + 2 + 1.0) * s + 19);
        StatoCicli p17 = esempio(0, 2048, 0, 10, 1.7);
        Calcola_Battleplan(p17, 0);
        const double a1 = 1.7, a2 = a1 * 1.7, a3 = a2 * 1.7, a4 = a3 * 1.7;
        QCOMPARE(p17.Battleplan[0][1], ((((10 * a4) * 0.1 + a3) + a2) + a1 + 1.0) * s + 19);
    }

    void altriGradiIntatti()
    {
        StatoCicli c = esempio(3, 300, 90, 1, 1.0);
        for (int d = 0; d <= 12; ++d) {
            c.Durata[size_t(d)] = 100 + d;
            c.Tempi[size_t(d)] = 1 + d % 3;
            c.Sottocicli[size_t(d)] = 1 + d % 4;
            c.Prop_Battleplan[size_t(d)] = 1.0;
        }
        Calcola_Battleplan_Tutti(c);
        const auto prima = c.Battleplan;
        c.Durata[3] = 200;
        Calcola_Battleplan(c, 3);
        for (int d = 0; d <= 12; ++d) {
            if (d == 3)
                QCOMPARE(c.Battleplan[3].size(), size_t(291));
            else
                QVERIFY(c.Battleplan[size_t(d)] == prima[size_t(d)]);
        }
    }

    void impostazioniImpossibili()
    {
        StatoCicli c = esempio(5, 0, 0, 0, 1.0);
        Calcola_Battleplan(c, 5);
        QCOMPARE(c.Battleplan[5].size(), size_t(1));
        c.Durata[5] = 100;
        c.Tempi[5] = 0;
        Calcola_Battleplan(c, 5);
        QCOMPARE(c.Battleplan[5].size(), size_t(1));
        Calcola_Battleplan(c, 13);  // outside 0..12: nothing happens
    }
};

QTEST_GUILESS_MAIN(BattleplanTest)
#include "BattleplanTest.moc"
