// The cycle controls' rules apart from the window: the duration each button
// gives by timeframe and underlying within the degree's bounds, and the
// proportion's one-decimal steps.

#include "shell/RegolazioneCiclo.h"

#include <QtTest>

using namespace regolazione;

Q_DECLARE_METATYPE(regolazione::PassoDurata)

class RegolazioneCicloTest : public QObject {
    Q_OBJECT

private slots:
    void durata_passo_data()
    {
        QTest::addColumn<PassoDurata>("passo");
        QTest::addColumn<int>("grado");
        QTest::addColumn<double>("durata");
        QTest::addColumn<bool>("primo");     // first underlying
        QTest::addColumn<double>("attesa");  // -1: the button does nothing
        // Degree 9 with 46 quarter-hours a day: bounds 92 and 368, standard 184.
        const double mn = 92, mx = 368;
        QTest::newRow("M1 a metà") << PassoDurata::M1 << 9 << 184.0 << false << 183.0;
        QTest::newRow("M1 al minimo") << PassoDurata::M1 << 9 << mn << false << -1.0;
        QTest::newRow("M1 può scendere sotto il minimo") << PassoDurata::M1 << 9 << 92.6 << false << 91.6;
        QTest::newRow("P1 al massimo") << PassoDurata::P1 << 9 << mx << false << -1.0;
        QTest::newRow("P1 sotto il massimo") << PassoDurata::P1 << 9 << mx - 1 << false << mx;
        QTest::newRow("M3 15m") << PassoDurata::M3 << 9 << 184.0 << false << 138.0;
        QTest::newRow("P3 15m") << PassoDurata::P3 << 9 << 184.0 << false << 230.0;
        QTest::newRow("M3 15m fino al minimo") << PassoDurata::M3 << 9 << 120.0 << false << mn;
        QTest::newRow("M2 al minimo riscrive il minimo") << PassoDurata::M2 << 9 << mn << false << mn;
        QTest::newRow("M2 15m arrotonda in giù") << PassoDurata::M2 << 9 << 150.5 << false << 146.0;
        QTest::newRow("P2 15m tiene le frazioni") << PassoDurata::P2 << 9 << 150.5 << false << 154.5;
        QTest::newRow("P3 15m fino al massimo") << PassoDurata::P3 << 9 << 350.0 << false << mx;
        QTest::newRow("M3 5m nessuna azione") << PassoDurata::M3 << 11 << 200.0 << false << -1.0;
        QTest::newRow("P3 5m nessuna azione") << PassoDurata::P3 << 11 << 200.0 << false << -1.0;
        QTest::newRow("P2 5m") << PassoDurata::P2 << 11 << 200.5 << false << 212.0;
        QTest::newRow("M2 5m") << PassoDurata::M2 << 11 << 200.5 << false << 188.0;
        QTest::newRow("M2 1h primo sottostante") << PassoDurata::M2 << 4 << 200.5 << true << 191.5;
        QTest::newRow("M2 1h altro sottostante") << PassoDurata::M2 << 4 << 200.5 << false << 186.5;
        QTest::newRow("P3 1h primo sottostante") << PassoDurata::P3 << 4 << 200.0 << true << 290.0;
        QTest::newRow("P3 1h altro sottostante") << PassoDurata::P3 << 4 << 200.0 << false << 340.0;
        QTest::newRow("M2 1g") << PassoDurata::M2 << 2 << 200.5 << false << 190.0;
        QTest::newRow("P3 1g") << PassoDurata::P3 << 2 << 200.5 << false << 250.0;
        QTest::newRow("grado fuori campo") << PassoDurata::P1 << 13 << 200.0 << false << -1.0;
    }
    void durata_passo()
    {
        QFETCH(PassoDurata, passo);
        QFETCH(int, grado);
        QFETCH(double, durata);
        QFETCH(bool, primo);
        QFETCH(double, attesa);
        const std::optional<double> x = Durata_Passo(passo, grado, durata, 92, 368, primo, 46);
        QCOMPARE(x.value_or(-1.0), attesa);
    }

    // Up seven times from "Standard" to 1.7, where the button stops, and back the
    // same way; a value read back from the archive as 1.2 steps to 1.1 like the
    // value the button made.
    void proporzione_a_un_decimale()
    {
        double p = 1.0;
        QList<double> su;
        while (const std::optional<double> q = Prop_Passo(p, +1))
            su << (p = *q);
        QCOMPARE(su, (QList<double>{1.1, 1.2, 1.3, 1.4, 1.5, 1.6, 1.7}));
        int passi = 0;
        while (const std::optional<double> q = Prop_Passo(p, -1)) {
            p = *q;
            ++passi;
        }
        QCOMPARE(passi, 7);
        QCOMPARE(p, 1.0);
        QCOMPARE(Prop_Passo(1.2, -1).value_or(0), 1.1);
        QCOMPARE(Prop_Passo(1.2000000000000002, -1).value_or(0), 1.1);
        QCOMPARE(Prop_Passo(1.1, -1).value_or(0), 1.0);
        QCOMPARE(Prop_Passo(1.65, +1).value_or(0), 1.7);
        QVERIFY(!Prop_Passo(1.75, +1));
    }
};

QTEST_GUILESS_MAIN(RegolazioneCicloTest)
#include "RegolazioneCicloTest.moc"
