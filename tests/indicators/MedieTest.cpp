// Trailing (items 0..5) and centred (items 8..11) means, and the frame rules they
// follow: periods from the duration, bars computed, the user periods.

#include "ProvaIndicatori.h"
#include "indicators/Indicatori.h"

#include <QtTest>

using namespace indicatori;

class MedieTest : public QObject {
    Q_OBJECT

    std::unique_ptr<StatoIndicatori> out;

    static std::vector<double> chiusure(int n)
    {
        // C1 = 10, C2 = 11, ... with an irregular step so windows differ.
        std::vector<double> c;
        for (int i = 0; i < n; ++i)
            c.push_back(10.0 + i + (i % 3) * 0.25);
        return c;
    }

private slots:
    void init() { out = std::make_unique<StatoIndicatori>(); }

    void periodoDaDurata_data()
    {
        QTest::addColumn<double>("durata");
        QTest::addColumn<QList<int>>("periodi");  // divisors 2, 4, 8, 16
        QTest::newRow("99") << 99.0 << QList<int>{49, 24, 12, 6};
        QTest::newRow("31.9") << 31.9 << QList<int>{15, 7, 3, 1};
        QTest::newRow("80") << 80.0 << QList<int>{40, 20, 10, 5};
    }
    void periodoDaDurata()
    {
        QFETCH(double, durata);
        QFETCH(QList<int>, periodi);
        QCOMPARE(PeriodoDaDurata(durata, 2), periodi[0]);
        QCOMPARE(PeriodoDaDurata(durata, 4), periodi[1]);
        QCOMPARE(PeriodoDaDurata(durata, 8), periodi[2]);
        QCOMPARE(PeriodoDaDurata(durata, 16), periodi[3]);
    }

    void barreCalcolate_data()
    {
        QTest::addColumn<int>("p");
        QTest::addColumn<double>("barreCalcolo");
        QTest::addColumn<int>("barre");
        QTest::addColumn<int>("attese");
        QTest::newRow("limite serie") << 1024 << 2600.0 << 3000 << 1976;
        QTest::newRow("pari in basso") << 10 << 234.5 << 3000 << 234;
        QTest::newRow("pari in alto") << 10 << 235.5 << 3000 << 236;
        QTest::newRow("uguaglianza conta") << 100 << 2900.0 << 3000 << 2900;
        QTest::newRow("zero barre") << 10 << 0.0 << 1500 << 0;
        QTest::newRow("negativo") << 10 << -5.0 << 1500 << 0;
        QTest::newRow("periodo uguale serie") << 1500 << 10.0 << 1500 << 0;
        QTest::newRow("periodo oltre serie") << 1600 << 10.0 << 1500 << 0;
        QTest::newRow("nan") << 10 << qQNaN() << 1500 << 0;
    }
    void barreCalcolate()
    {
        QFETCH(int, p);
        QFETCH(double, barreCalcolo);
        QFETCH(int, barre);
        QFETCH(int, attese);
        QCOMPARE(BarreCalcolate(p, barreCalcolo, barre), attese);
    }

    void mediaMobileEsempio()
    {
        // D = 6 gives p = 3 for item 0: cell i = (Ci + Ci+1 + Ci+2) / 3.
        const auto c = chiusure(20);
        ContestoIndicatori ctx(2, c, 6.0, 5.0);
        Calcola_Media_C2(ctx, *out);
        const double *r = out->Ind_Media_C2.riga(2);
        for (int i = 1; i <= 5; ++i)
            QCOMPARE(r[i], ((0.0 + c[size_t(i - 1)]) + c[size_t(i)] + c[size_t(i + 1)]) / 3.0);
        QCOMPARE(prova::PrimaNonMarca(r, 6, 0.0), 0);
        // Other degrees' rows are left alone.
        QCOMPARE(prova::PrimaNonMarca(out->Ind_Media_C2.riga(3), 1, 0.0), 0);
    }

    void periodoUtente_data()
    {
        QTest::addColumn<QVariant>("testo");
        QTest::addColumn<int>("periodo");
        QTest::newRow("12") << QVariant(QStringLiteral("12")) << 12;
        QTest::newRow("numero") << QVariant(7) << 7;
        QTest::newRow("decimale troncato") << QVariant(QStringLiteral("12,9")) << 12;
        QTest::newRow("vuoto") << QVariant(QString()) << 0;
        QTest::newRow("zero") << QVariant(QStringLiteral("0")) << 0;
        QTest::newRow("non numero") << QVariant(QStringLiteral("abc")) << 0;
        QTest::newRow("negativo") << QVariant(QStringLiteral("-4")) << 0;
        QTest::newRow("oltre le celle") << QVariant(QStringLiteral("5001")) << 0;
        QTest::newRow("cifre senza fine") << QVariant(QStringLiteral("99999999999999999999")) << 0;
        QTest::newRow("nessun valore") << QVariant() << 0;
    }
    void periodoUtente()
    {
        QFETCH(QVariant, testo);
        QFETCH(int, periodo);
        QCOMPARE(PeriodoUtente(testo), periodo);
    }

    // A period that cannot be used empties the row instead of leaving a mean of an
    // earlier period on the chart.
    void mediaUtenteInutilizzabileSvuotaLaRiga_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::newRow("vuoto") << QString();
        QTest::newRow("zero") << QStringLiteral("0");
        QTest::newRow("uguale alla serie") << QStringLiteral("50");
        QTest::newRow("oltre la serie") << QStringLiteral("60");
        QTest::newRow("oltre 16 bit") << QStringLiteral("40000");
    }
    void mediaUtenteInutilizzabileSvuotaLaRiga()
    {
        QFETCH(QString, testo);
        const auto c = chiusure(50);
        ContestoIndicatori ctx(5, c, 100.0, 20.0);
        out->Periodo_Utente_2[5] = QStringLiteral("3");
        Calcola_Media_Utente_2(ctx, *out);
        QVERIFY(out->Ind_Media_Utente_2(5, 1) != 0.0);
        out->Periodo_Utente_2[5] = testo;
        Calcola_Media_Utente_2(ctx, *out);
        QCOMPARE(prova::PrimaNonMarca(out->Ind_Media_Utente_2.riga(5), 1, 0.0), 0);
    }

    void centrataPeriodoPari()
    {
        // D = 8: p = 4, q = 2; S = C1, C1, C2, C3, ...
        const auto c = chiusure(30);
        ContestoIndicatori ctx(7, c, 8.0, 10.0);
        Calcola_Media_Centrata_C2(ctx, *out);
        const double *r = out->Ind_Centrata_C2.riga(7);
        QCOMPARE(r[1], (((0.0 + c[0]) + c[0]) + c[1] + c[2]) / 4.0);
        QCOMPARE(r[2], (((0.0 + c[0]) + c[1]) + c[2] + c[3]) / 4.0);
        QCOMPARE(r[3], (((0.0 + c[1]) + c[2]) + c[3] + c[4]) / 4.0);
        QCOMPARE(prova::UltimoValore(r, 0.0), 10);
    }

    void centrataPeriodoDispari()
    {
        // D = 10: p = 5, q = 2.
        const auto c = chiusure(30);
        ContestoIndicatori ctx(7, c, 10.0, 10.0);
        Calcola_Media_Centrata_C2(ctx, *out);
        const double *r = out->Ind_Centrata_C2.riga(7);
        QCOMPARE(r[1], ((((0.0 + c[0]) + c[0]) + c[1]) + c[2] + c[3]) / 5.0);
        QCOMPARE(r[2], ((((0.0 + c[0]) + c[1]) + c[2]) + c[3] + c[4]) / 5.0);
    }

    void centrataSenzaSpostamentoRestaVuota()
    {
        // D = 20 gives p = 1 for item 11: no shift to centre by, nothing to show.
        const auto c = chiusure(30);
        ContestoIndicatori ctx(3, c, 20.0, 10.0);
        out->Ind_Centrata_C16(3, 4) = 99.0;
        Calcola_Media_Centrata_C16(ctx, *out);
        QCOMPARE(prova::PrimaNonMarca(out->Ind_Centrata_C16.riga(3), 1, 0.0), 0);
    }

    void cellaZeroMaiScritta()
    {
        const auto c = chiusure(30);
        out->Ind_Media_C2(6, 0) = 123.0;
        out->Ind_Centrata_C2(6, 0) = 456.0;
        ContestoIndicatori ctx(6, c, 8.0, 10.0);
        Calcola_Media_C2(ctx, *out);
        Calcola_Media_Centrata_C2(ctx, *out);
        QCOMPARE(out->Ind_Media_C2(6, 0), 123.0);
        QCOMPARE(out->Ind_Centrata_C2(6, 0), 456.0);
    }
};

QTEST_GUILESS_MAIN(MedieTest)
#include "MedieTest.moc"
