// Item 19: the volume-at-price profile of the bars of the current cycle.

#include "ProvaIndicatori.h"
#include "indicators/Indicatori.h"

#include <QtTest>

using namespace indicatori;

using Livelli = QList<QPair<double, double>>;  // (price, volume) from the lowest level

class ProfiloVolumiTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Stato> stato;

    Livelli livelli(int grado) const
    {
        Livelli l;
        for (const LivelloVolume &v : stato->indicatori.Profilo_Volumi[size_t(grado)].livelli)
            l.append({v.prezzo, v.volume});
        return l;
    }

    // Dax (width 1 on 5-minute degrees) on degree 10.
    void prepara(const std::vector<double> &chiusure, const std::vector<double> &volumi, int barreCiclo)
    {
        stato->archivio.Sottostante_Corrente = 2;
        prova::Chiusure(*stato, 10, chiusure, volumi);
        stato->cicli.Barre_Ciclo[10] = barreCiclo;
    }

private slots:
    void init() { stato = prova::NuovoStato(); }

    void profilo_data()
    {
        QTest::addColumn<QList<double>>("chiusure");
        QTest::addColumn<QList<double>>("volumi");
        QTest::addColumn<int>("barreCiclo");
        QTest::addColumn<Livelli>("attesi");
        // Moves +2, +1 (a fall of 0.2 counts as one level up) and +1; bar 4's volume unused.
        QTest::newRow("esempio") << QList<double>{103, 101, 101.2, 100} << QList<double>{60, 40, 30, 10} << 4
                                 << Livelli{{100, 0}, {101, 70}, {102, 30}, {103, 30}};
        // A fall of 3 levels spreads upward from the close of bar 1.
        QTest::newRow("discesa") << QList<double>{100, 103} << QList<double>{90, 5} << 2
                                 << Livelli{{100, 30}, {101, 30}, {102, 30}, {103, 0}};
        QTest::newRow("piatta") << QList<double>{50, 50, 50, 50} << QList<double>{1, 2, 3, 4} << 4
                                << Livelli{{50, 6}};
        // A range of 1.5 widths gives 2 levels, 2.5 widths gives 4; the falls of 1.5
        // and 2.5 levels both round to 2.
        QTest::newRow("1.5 larghezze") << QList<double>{10, 11.5} << QList<double>{8, 1} << 2
                                       << Livelli{{10, 4}, {11, 4}};
        QTest::newRow("2.5 larghezze") << QList<double>{10, 12.5} << QList<double>{8, 1} << 2
                                       << Livelli{{10, 4}, {11, 4}, {12, 0}, {13, 0}};
        // One bar in the cycle: no move, one empty level at its close.
        QTest::newRow("un bar") << QList<double>{77, 70} << QList<double>{5, 5} << 1 << Livelli{{77, 0}};
    }
    void profilo()
    {
        QFETCH(QList<double>, chiusure);
        QFETCH(QList<double>, volumi);
        QFETCH(int, barreCiclo);
        QFETCH(Livelli, attesi);
        prepara({chiusure.begin(), chiusure.end()}, {volumi.begin(), volumi.end()}, barreCiclo);
        Calcola_Profilo_Volumi(stato->archivio, stato->mercato, stato->cicli, stato->indicatori, 10);
        QCOMPARE(livelli(10), attesi);
        QCOMPARE(stato->indicatori.Profilo_Volumi[10].sottostante, 2);
    }

    void larghezze_data()
    {
        QTest::addColumn<int>("sottostante");
        QTest::addColumn<int>("grado");
        QTest::addColumn<double>("larghezza");
        QTest::newRow("FtseMib giornaliero") << 1 << 0 << 50.0;
        QTest::newRow("FtseMib 5 minuti") << 1 << 12 << 5.0;
        QTest::newRow("Bund orario come giornaliero") << 4 << 5 << 0.05;
        QTest::newRow("Bund 15 minuti") << 4 << 9 << 0.02;
        QTest::newRow("Mini S&P giornaliero") << 5 << 2 << 0.0;
        QTest::newRow("Mini S&P orario") << 5 << 4 << 2.0;
        QTest::newRow("Euro FX 5 minuti") << 7 << 10 << 0.0001;
        QTest::newRow("sottostante fuori tabella") << 9 << 4 << 0.0;
    }
    void larghezze()
    {
        QFETCH(int, sottostante);
        QFETCH(int, grado);
        QFETCH(double, larghezza);
        QCOMPARE(LarghezzaLivello(sottostante, grado), larghezza);
    }

    void dueCorseSeguonoLUltimoIntervallo()
    {
        prepara({100, 101, 102, 103, 104, 105, 106, 107}, {1}, 8);
        Calcola_Profilo_Volumi(stato->archivio, stato->mercato, stato->cicli, stato->indicatori, 10);
        QCOMPARE(livelli(10).size(), 8);
        stato->cicli.Barre_Ciclo[10] = 3;
        Calcola_Profilo_Volumi(stato->archivio, stato->mercato, stato->cicli, stato->indicatori, 10);
        QCOMPARE(livelli(10).size(), 3);
        QCOMPARE(livelli(10).first().first, 100.0);
    }

    void volumeSpartitoSenzaPerdite()
    {
        // Whatever the rounding, the volume of bars 1 .. BC - 1 all lands on levels.
        stato->archivio.Sottostante_Corrente = 7;  // width 0.0001 on degree 11
        prova::Cammino(*stato, 11, 5);
        SerieStorico &serie = stato->mercato.Storico_5M;
        for (int i = 1; i <= serie.capacita(); ++i)
            serie.barra(i).chiusura = 1.1 + (serie.barra(i).chiusura - 20000.0) * 0.00003;
        stato->cicli.Barre_Ciclo[11] = 300;
        Calcola_Profilo_Volumi(stato->archivio, stato->mercato, stato->cicli, stato->indicatori, 11);
        double totale = 0.0, atteso = 0.0;
        for (const auto &l : livelli(11))
            totale += l.second;
        for (int i = 1; i < 300; ++i)
            atteso += serie.barra(i).volume;
        QVERIFY(qAbs(totale - atteso) <= 1e-6 * atteso);
    }

    // A market without a profile on the degree must not show one left from another market.
    void mercatoSenzaProfiloSvuota()
    {
        stato->archivio.Sottostante_Corrente = 1;
        prova::Cammino(*stato, 2, 3);
        stato->cicli.Barre_Ciclo[2] = 100;
        Calcola_Profilo_Volumi(stato->archivio, stato->mercato, stato->cicli, stato->indicatori, 2);
        QVERIFY(stato->indicatori.Profilo_Volumi[2].calcolato());
        stato->archivio.Sottostante_Corrente = 5;
        Calcola_Profilo_Volumi(stato->archivio, stato->mercato, stato->cicli, stato->indicatori, 2);
        QVERIFY(!stato->indicatori.Profilo_Volumi[2].calcolato());
        QCOMPARE(stato->indicatori.Profilo_Volumi[2].sottostante, 0);
    }

    void cicloVuotoOLivelliFuoriMisura()
    {
        prepara({100, 101}, {5}, 0);
        Calcola_Profilo_Volumi(stato->archivio, stato->mercato, stato->cicli, stato->indicatori, 10);
        QVERIFY(!stato->indicatori.Profilo_Volumi[10].calcolato());
        // A zero close among prices would need some 10^5 levels: refused, not allocated.
        prepara({100000, 0, 100000}, {5}, 3);
        Calcola_Profilo_Volumi(stato->archivio, stato->mercato, stato->cicli, stato->indicatori, 10);
        QVERIFY(!stato->indicatori.Profilo_Volumi[10].calcolato());
        // A cycle longer than the series is read up to its oldest bar (1500): bars 2
        // to 1499 hold 101 and each flat move counts one level up.
        prepara({100, 101}, {5}, 99999);
        Calcola_Profilo_Volumi(stato->archivio, stato->mercato, stato->cicli, stato->indicatori, 10);
        QCOMPARE(livelli(10), (Livelli{{100, 5}, {101, 1498 * 5}}));
    }
};

QTEST_GUILESS_MAIN(ProfiloVolumiTest)
#include "ProfiloVolumiTest.moc"
