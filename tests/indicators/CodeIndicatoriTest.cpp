// Where each row's values end and its no-value tail begins, per timeframe: the
// tails always run to cell 5000, also past the end of the shorter series.

#include "ProvaIndicatori.h"
#include "indicators/MotoreIndicatori.h"

#include <QtTest>

using namespace indicatori;

class CodeIndicatoriTest : public QObject {
    Q_OBJECT

private slots:
    void code_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<double>("durata");
        // Last value of: mean D/2, mean D/16, velocity D/2 raw and smoothed,
        // extremes raw and smoothed, centred D/2, centred velocity raw and
        // smoothed, oscillator 13.
        QTest::addColumn<QList<int>>("ultimi");
        // Daily, B = 3000: p = 1300 reaches the series' end (N = B - p = 1700),
        // p = 162 does not (N = Barre_Calcolo = 2600); q = 325.
        QTest::newRow("giornaliero") << 0 << 2600.0
                                     << QList<int>{1700, 2600, 1699, 1375, 1700, 1375, 1700, 1699, 1375, 1300};
        // Hourly, B = 5000: p = 1792 -> N = 3208; p = 224 -> 3584; q = 448.
        QTest::newRow("orario") << 4 << 3584.0
                                << QList<int>{3208, 3584, 3207, 2760, 3208, 2760, 3208, 3207, 2760, 1792};
        // 15-minute: N = Barre_Calcolo = 896 throughout; q = 112.
        QTest::newRow("15 minuti") << 8 << 896.0 << QList<int>{896, 896, 895, 784, 896, 784, 896, 895, 784, 448};
        // 5-minute, B = 1500: tails run past bar 1500 to cell 5000; q = 42.
        QTest::newRow("5 minuti") << 11 << 336.0 << QList<int>{336, 336, 335, 294, 336, 294, 336, 335, 294, 168};
    }
    void code()
    {
        QFETCH(int, grado);
        QFETCH(double, durata);
        QFETCH(QList<int>, ultimi);
        auto stato = prova::NuovoStato();
        stato->shell.Blocco_Grafici = true;
        prova::Cammino(*stato, grado, 9);
        prova::Durate(*stato, grado, durata, durata);
        for (int k = 0; k < 19; ++k)
            stato->indicatori.Ind_Attivo[size_t(grado)][size_t(k)] = 1;
        // Leftovers of an earlier run must be overwritten up to cell 5000.
        StatoIndicatori &o = stato->indicatori;
        for (ArrayIndicatore *a : {&o.Ind_Media_C2, &o.Ind_Velocita_C2, &o.Ind_Osc_C4_C2})
            for (int i = 1; i <= Ultima_Cella; ++i)
                (*a)(grado, i) = 12345.0;
        stato->cicli.Conf_Grafici[1] = {1, grado, 1};
        MotoreIndicatori(stato->shell, stato->archivio, stato->mercato, stato->cicli, stato->indicatori)
            .Aggiorna_Indicatori(1);

        const QList<QPair<const ArrayIndicatore *, double>> righe{
            {&o.Ind_Media_C2, Vuoto_Media},
            {&o.Ind_Media_C16, Vuoto_Media},
            {&o.Ind_Velocita_C2, Vuoto_Oscillatore},
            {&o.Ind_Velocita_C2_Media, Vuoto_Oscillatore},
            {&o.Ind_Stoc_Dist_Min, Vuoto_Oscillatore},
            {&o.Ind_Stoc_Dist_Max_Media, Vuoto_Oscillatore},
            {&o.Ind_Centrata_C2, Vuoto_Media},
            {&o.Ind_Velocita_Centrata, Vuoto_Oscillatore},
            {&o.Ind_Velocita_Centrata_Media, Vuoto_Oscillatore},
            {&o.Ind_Osc_C4_C2, Vuoto_Oscillatore},
        };
        for (int r = 0; r < righe.size(); ++r) {
            const double *riga = righe[r].first->riga(grado);
            const double marca = righe[r].second;
            QVERIFY2(prova::UltimoValore(riga, marca) == ultimi[r],
                     qPrintable(QStringLiteral("row %1: %2").arg(r).arg(prova::UltimoValore(riga, marca))));
            QVERIFY(riga[1] != marca);
            QCOMPARE(riga[Ultima_Cella], marca);
        }
    }
};

QTEST_GUILESS_MAIN(CodeIndicatoriTest)
#include "CodeIndicatoriTest.moc"
