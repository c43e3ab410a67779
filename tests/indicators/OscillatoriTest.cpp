// Item 6 (distances from the window's extremes), the cyclic velocities 7, 17, 18,
// the centred velocity 12 and the centred oscillators 13..16.

#include "ProvaIndicatori.h"
#include "indicators/Indicatori.h"

#include <QtTest>

using namespace indicatori;

namespace {
constexpr double Vuoto = Vuoto_Oscillatore;

std::vector<double> conCoda(std::vector<double> c, int n)
{
    double ultimo = c.back();
    while (int(c.size()) < n) {
        ultimo += (c.size() % 2 ? 1.5 : -0.75);
        c.push_back(ultimo);
    }
    return c;
}
}  // namespace

class OscillatoriTest : public QObject {
    Q_OBJECT

    std::unique_ptr<StatoIndicatori> out;

private slots:
    void init() { out = std::make_unique<StatoIndicatori>(); }

    // --- item 6 ---------------------------------------------------------------
    void stocasticoEsempio()
    {
        // D = 6: p = 3, q = 0 (no smoothing).
        ContestoIndicatori ctx(4, conCoda({10, 12, 9, 11, 13}, 20), 6.0, 3.0);
        Calcola_Stocastico(ctx, *out);
        const QList<QPair<double, double>> attesi{{1, -2}, {3, 0}, {0, -4}};
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(out->Ind_Stoc_Dist_Min(4, i), attesi[i - 1].first);
            QCOMPARE(out->Ind_Stoc_Dist_Max(4, i), attesi[i - 1].second);
        }
        QCOMPARE(prova::PrimaNonMarca(out->Ind_Stoc_Dist_Min.riga(4), 4, Vuoto), 0);
        // A smoothing window under one bar leaves the smoothed rows empty.
        QCOMPARE(prova::PrimaNonMarca(out->Ind_Stoc_Dist_Min_Media.riga(4), 1, Vuoto), 0);
        QCOMPARE(prova::PrimaNonMarca(out->Ind_Stoc_Dist_Max_Media.riga(4), 1, Vuoto), 0);
    }

    void stocasticoPiatto()
    {
        ContestoIndicatori ctx(0, std::vector<double>(300, 50.0), 40.0, 100.0);
        Calcola_Stocastico(ctx, *out);
        for (int i = 1; i <= 95; ++i) {
            QCOMPARE(out->Ind_Stoc_Dist_Min(0, i), 0.0);
            QCOMPARE(out->Ind_Stoc_Dist_Max(0, i), 0.0);
            QCOMPARE(out->Ind_Stoc_Dist_Min_Media(0, i), 0.0);
            QCOMPARE(out->Ind_Stoc_Dist_Max_Media(0, i), 0.0);
        }
    }

    // --- items 7, 17, 18 ------------------------------------------------------
    void velocitaEsempio()
    {
        // D = 4: p = 2 for item 7, q = 0.
        ContestoIndicatori ctx(10, conCoda({13, 12, 10, 11}, 30), 4.0, 3.0);
        Calcola_Velocita_C2(ctx, *out);
        QCOMPARE(out->Ind_Velocita_C2(10, 1), 1.5);
        QCOMPARE(out->Ind_Velocita_C2(10, 2), 0.5);
        // N = 3 averages give two raw values; cell N onward is empty.
        QCOMPARE(prova::UltimoValore(out->Ind_Velocita_C2.riga(10), Vuoto), 2);
        QCOMPARE(prova::PrimaNonMarca(out->Ind_Velocita_C2_Media.riga(10), 1, Vuoto), 0);
    }

    void velocitaDiUnaSerieCheScende()
    {
        // Closes rising into the past: every newer close lower, velocities negative.
        std::vector<double> c;
        for (int i = 0; i < 200; ++i)
            c.push_back(100.0 + i);
        ContestoIndicatori ctx(9, c, 16.0, 50.0);
        Calcola_Velocita_C2(ctx, *out);
        for (int i = 1; i < 50; ++i)
            QVERIFY(out->Ind_Velocita_C2(9, i) < 0.0);
        ContestoIndicatori piatto(9, std::vector<double>(200, 3.0), 16.0, 50.0);
        Calcola_Velocita_C2(piatto, *out);
        for (int i = 1; i < 48; ++i) {
            QCOMPARE(out->Ind_Velocita_C2(9, i), 0.0);
            QCOMPARE(out->Ind_Velocita_C2_Media(9, i), 0.0);
        }
    }

    // --- item 12 --------------------------------------------------------------
    void velocitaCentrataSenzaValori()
    {
        // D = 2 gives p = 1: nothing to centre, both rows empty.
        out->Ind_Velocita_Centrata(7, 3) = 4.0;
        ContestoIndicatori ctx(7, std::vector<double>(100, 1.0), 2.0, 40.0);
        Calcola_Velocita_Centrata_C2(ctx, *out);
        QCOMPARE(prova::PrimaNonMarca(out->Ind_Velocita_Centrata.riga(7), 1, Vuoto), 0);
        QCOMPARE(prova::PrimaNonMarca(out->Ind_Velocita_Centrata_Media.riga(7), 1, Vuoto), 0);
    }

    // --- items 13..16 ---------------------------------------------------------
    void oscillatoreNumeroValori_data()
    {
        QTest::addColumn<double>("barreCalcolo");
        QTest::addColumn<int>("valori");
        QTest::newRow("250.5 pari in basso") << 300.5 << 250;
        QTest::newRow("251.5 pari in alto") << 301.5 << 252;
        QTest::newRow("intero") << 300.0 << 250;
        QTest::newRow("meno del periodo") << 40.0 << 0;
    }
    void oscillatoreNumeroValori()
    {
        QFETCH(double, barreCalcolo);
        QFETCH(int, valori);
        // D = 100: item 13 has p1 = 50.
        std::vector<double> c;
        for (int i = 0; i < 3000; ++i)
            c.push_back(100.0 + std::sin(i / 7.0));
        ContestoIndicatori ctx(1, c, 100.0, barreCalcolo);
        Calcola_Oscillatore_C4_C2(ctx, *out);
        QCOMPARE(prova::UltimoValore(out->Ind_Osc_C4_C2.riga(1), Vuoto), valori);
    }

    void oscillatoriPiatti()
    {
        ContestoIndicatori ctx(3, std::vector<double>(1000, 42.0), 64.0, 200.0);
        Calcola_Oscillatore_C8_C4(ctx, *out);
        Calcola_Oscillatore_C8_C2(ctx, *out);
        for (int i = 1; i <= 168; ++i) {
            QCOMPARE(out->Ind_Osc_C8_C4(3, i), 0.0);
            QCOMPARE(out->Ind_Osc_C8_C2(3, i), 42.0);
        }
    }

    void oscillatoreConDurataTroppoBreve()
    {
        // D = 20: item 15 would need p2 = 1, which cannot be centred.
        out->Ind_Osc_C16_C8(3, 1) = 5.0;
        ContestoIndicatori ctx(3, std::vector<double>(100, 1.0), 20.0, 50.0);
        Calcola_Oscillatore_C16_C8(ctx, *out);
        QCOMPARE(prova::PrimaNonMarca(out->Ind_Osc_C16_C8.riga(3), 1, Vuoto), 0);
    }
};

QTEST_GUILESS_MAIN(OscillatoriTest)
#include "OscillatoriTest.moc"
