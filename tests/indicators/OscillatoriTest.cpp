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

    void stocasticoLisciato()
    {
        // D = 40: p = 20, q = 5; Barre_Calcolo 100 on 500 bars: N = 100, M = 95.
        std::vector<double> c;
        QRandomGenerator gen(7);
        for (int i = 0; i < 500; ++i)
            c.push_back(100.0 + gen.bounded(50) * 0.5);
        ContestoIndicatori ctx(5, c, 40.0, 100.0);
        Calcola_Stocastico(ctx, *out);
        for (int i = 1; i <= 100; ++i) {
            double lo = c[size_t(i - 1)], hi = lo;
            for (int j = 1; j < 20; ++j) {
                lo = std::min(lo, c[size_t(i - 1 + j)]);
                hi = std::max(hi, c[size_t(i - 1 + j)]);
            }
            QCOMPARE(out->Ind_Stoc_Dist_Min(5, i), c[size_t(i - 1)] - lo);
            QCOMPARE(out->Ind_Stoc_Dist_Max(5, i), c[size_t(i - 1)] - hi);
            QVERIFY(out->Ind_Stoc_Dist_Min(5, i) >= 0.0 && out->Ind_Stoc_Dist_Max(5, i) <= 0.0);
        }
        double somma = 0.0;
        for (int j = 1; j <= 5; ++j)
            somma += out->Ind_Stoc_Dist_Min(5, j);
        QCOMPARE(out->Ind_Stoc_Dist_Min_Media(5, 1), somma / 5.0);
        QCOMPARE(prova::UltimoValore(out->Ind_Stoc_Dist_Min.riga(5), Vuoto), 100);
        QCOMPARE(prova::UltimoValore(out->Ind_Stoc_Dist_Min_Media.riga(5), Vuoto), 95);
        QCOMPARE(prova::UltimoValore(out->Ind_Stoc_Dist_Max_Media.riga(5), Vuoto), 95);
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

    void velocitaFamiglia_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("p");
        QTest::newRow("item 7") << 7 << 40;
        QTest::newRow("item 17") << 17 << 20;
        QTest::newRow("item 18") << 18 << 10;
    }
    void velocitaFamiglia()
    {
        QFETCH(int, item);
        QFETCH(int, p);
        // D = 80: q = 10 for every member; Barre_Calcolo 200 on 1000 bars.
        std::vector<double> c;
        QRandomGenerator gen(11);
        double prezzo = 1000.0;
        for (int i = 0; i < 1000; ++i)
            c.push_back(prezzo += gen.generateDouble() - 0.5);
        ContestoIndicatori ctx(6, c, 80.0, 200.0);
        ArrayIndicatore *grezza = nullptr, *lisciata = nullptr;
        if (item == 7) {
            Calcola_Velocita_C2(ctx, *out);
            grezza = &out->Ind_Velocita_C2, lisciata = &out->Ind_Velocita_C2_Media;
        } else if (item == 17) {
            Calcola_Velocita_C4(ctx, *out);
            grezza = &out->Ind_Velocita_C4, lisciata = &out->Ind_Velocita_C4_Media;
        } else {
            Calcola_Velocita_C8(ctx, *out);
            grezza = &out->Ind_Velocita_C8, lisciata = &out->Ind_Velocita_C8_Media;
        }
        auto media = [&](int i) {
            double s = 0.0;
            for (int j = 0; j < p; ++j)
                s += c[size_t(i - 1 + j)];
            return s / p;
        };
        for (int i = 1; i < 200; ++i)
            QCOMPARE((*grezza)(6, i), media(i) - media(i + 1));
        QCOMPARE(prova::UltimoValore(grezza->riga(6), Vuoto), 199);
        // The last smoothed cell, N - q, is the mean of raw cells N - q .. N - 1.
        double s = 0.0;
        for (int j = 190; j <= 199; ++j)
            s += (*grezza)(6, j);
        QCOMPARE((*lisciata)(6, 190), s / 10.0);
        QCOMPARE(prova::UltimoValore(lisciata->riga(6), Vuoto), 190);
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
    void velocitaCentrata()
    {
        // D = 99: p = 49, r = 12; N = 400 gives raw 1..399 and smoothed 1..388.
        std::vector<double> c;
        QRandomGenerator gen(13);
        double prezzo = 500.0;
        for (int i = 0; i < 1000; ++i)
            c.push_back(prezzo += gen.generateDouble() - 0.5);
        ContestoIndicatori ctx(7, c, 99.0, 400.0);
        Calcola_Media_Centrata_C2(ctx, *out);
        Calcola_Velocita_Centrata_C2(ctx, *out);
        for (int i = 1; i < 400; ++i)
            QCOMPARE(out->Ind_Velocita_Centrata(7, i), out->Ind_Centrata_C2(7, i) - out->Ind_Centrata_C2(7, i + 1));
        double s = 0.0;
        for (int k = 0; k < 12; ++k)
            s += out->Ind_Velocita_Centrata(7, 1 + k);
        QCOMPARE(out->Ind_Velocita_Centrata_Media(7, 1), s / 12.0);
        QCOMPARE(prova::UltimoValore(out->Ind_Velocita_Centrata.riga(7), Vuoto), 399);
        QCOMPARE(prova::UltimoValore(out->Ind_Velocita_Centrata_Media.riga(7), Vuoto), 388);
    }

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

    void oscillatoriSonoDifferenzeDiCentrate()
    {
        std::vector<double> c;
        QRandomGenerator gen(17);
        double prezzo = 80.0;
        for (int i = 0; i < 2000; ++i)
            c.push_back(prezzo += gen.generateDouble() - 0.5);
        ContestoIndicatori ctx(2, c, 99.0, 500.0);
        Calcola_Media_Centrata_C2(ctx, *out);
        Calcola_Media_Centrata_C4(ctx, *out);
        Calcola_Media_Centrata_C8(ctx, *out);
        Calcola_Media_Centrata_C16(ctx, *out);
        Calcola_Oscillatore_C4_C2(ctx, *out);
        Calcola_Oscillatore_C8_C4(ctx, *out);
        Calcola_Oscillatore_C16_C8(ctx, *out);
        Calcola_Oscillatore_C8_C2(ctx, *out);
        // D = 99: p1 = 49, 24, 12, 49 -> 451, 476, 488, 451 values.
        QCOMPARE(prova::UltimoValore(out->Ind_Osc_C4_C2.riga(2), Vuoto), 451);
        QCOMPARE(prova::UltimoValore(out->Ind_Osc_C8_C4.riga(2), Vuoto), 476);
        QCOMPARE(prova::UltimoValore(out->Ind_Osc_C16_C8.riga(2), Vuoto), 488);
        QCOMPARE(prova::UltimoValore(out->Ind_Osc_C8_C2.riga(2), Vuoto), 451);
        for (int i = 1; i <= 451; ++i) {
            QCOMPARE(out->Ind_Osc_C4_C2(2, i), out->Ind_Centrata_C4(2, i) - out->Ind_Centrata_C2(2, i));
            QCOMPARE(out->Ind_Osc_C8_C2(2, i),
                     (out->Ind_Centrata_C8(2, i) + out->Ind_Centrata_C8(2, i)) - out->Ind_Centrata_C2(2, i));
        }
        QCOMPARE(out->Ind_Osc_C16_C8(2, 488), out->Ind_Centrata_C16(2, 488) - out->Ind_Centrata_C8(2, 488));
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
