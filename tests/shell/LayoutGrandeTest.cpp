#include "Stato.h"
#include "cycle/Colori.h"
#include "cycle/DurataTesto.h"
#include "shell/LayoutGrande.h"

#include <QtTest>

Q_DECLARE_METATYPE(Rettangolo)

using namespace layout;

namespace {

std::array<SlotGrafico, 4> Slot(std::array<int, 4> uso)
{
    std::array<SlotGrafico, 4> s{};
    for (size_t i = 0; i < 4; ++i)
        s[i] = {uso[i], int(5 + i), int(i)};
    return s;
}

// Four panels as the four-chart layout of a 10450 x 12300 frame leaves them.
const std::array<Rettangolo, 4> Ridotti{Rettangolo{100, 250, 6000, 5000}, Rettangolo{6200, 250, 6000, 5000},
                                        Rettangolo{100, 5350, 6000, 5000}, Rettangolo{6200, 5350, 6000, 5000}};

MisureRiquadro Misure()
{
    MisureRiquadro m;
    m.Larghezza_Led = 200;
    m.Altezza_Hsc = 250;
    m.Larghezza_Hsc_Y = 260;
    return m;
}

}  // namespace

class LayoutGrandeTest : public QObject {
    Q_OBJECT

private slots:
    void pannello_ingrandito_data()
    {
        QTest::addColumn<double>("strumenti");
        QTest::addColumn<double>("altezza");
        QTest::addColumn<double>("larghezza");
        QTest::addColumn<Rettangolo>("pannello");
        QTest::newRow("example frame") << 3000.0 << 9000.0 << 15000.0 << Rettangolo{3200, 300, 11700, 8600};
        QTest::newRow("narrower tools") << 2000.0 << 9000.0 << 15000.0 << Rettangolo{2200, 300, 12700, 8600};
        QTest::newRow("minimum window frame") << 3000.0 << 8000.0 << 9125.0 << Rettangolo{3200, 300, 5825, 7600};
        QTest::newRow("frame too small") << 3000.0 << 300.0 << 2000.0 << Rettangolo{3200, 300, 0, 0};
    }
    void pannello_ingrandito()
    {
        QFETCH(double, strumenti);
        QFETCH(double, altezza);
        QFETCH(double, larghezza);
        QFETCH(Rettangolo, pannello);
        for (int g = 0; g < 4; ++g) {
            const LayoutGrande l = Layout_Grande(g, altezza, larghezza, {0, 0, strumenti, 4000}, Ridotti,
                                                 Slot({1, 1, 1, 1}), Misure());
            QVERIFY(l.valido);
            QCOMPARE(l.grafico, g);
            QCOMPARE(l.Frm_Strumenti, (Rettangolo{100, 200, strumenti, 4000}));
            QCOMPARE(l.Frm_Graf, pannello);
            QCOMPARE(l.Pic_Graf[size_t(g)], (Rettangolo{0, 0, pannello.Width, pannello.Height}));
            QCOMPARE(l.Graf_Battleplan, (Rettangolo{-30, -30, pannello.Width + 500, pannello.Height + 280}));
            QVERIFY(l.Hsc_Graf.Width >= 0 && l.Hsc_Graf_Y[size_t(g)].Height >= 0);
        }
    }

    void controlli_del_pannello()
    {
        const LayoutGrande l = Layout_Grande(2, 9000, 15000, {0, 0, 3000, 4000}, Ridotti, Slot({1, 1, 1, 1}),
                                             Misure());
        const std::array<double, 5> left{600, 1000, 1400, 1800, 2200};
        for (size_t b = 0; b < 5; ++b) {
            QCOMPARE(l.Pulsanti[b].Top, 100.0);
            QCOMPARE(l.Pulsanti[b].Left, left[b]);
        }
        // Picture and reduce enabled; move and enlarge disabled.
        QCOMPARE(l.Pulsanti_Abilitati, (std::array<bool, 5>{true, false, false, true, true}));
        QCOMPARE(l.Led_Agg_Storico_RT, (Rettangolo{11700 - 100 - 200, 100, 200, 200}));
        QCOMPARE(l.Hsc_Graf, (Rettangolo{100, 8600 - 100 - 250, 11500, 250}));
        QCOMPARE(l.Hsc_Graf_Y[2], (Rettangolo{11700 - 100 - 260, 500, 260, 7700}));
        // The enlarged chart runs to 12170 x 8850 in its panel.
        QCOMPARE(l.Vista.Coperta, (Margini{30, 430, 12170 - 11340, 8850 - 8250}));
        QCOMPARE(l.Vista.Testata, (Margini{2500 + 30, 30, 12170 - 11400, 0}));
    }

    void pannelli_nascosti_data()
    {
        QTest::addColumn<int>("grafico");
        QTest::addColumn<int>("usati");  // bit s: slot s in use
        QTest::newRow("slot 0, all used") << 0 << 0xF;
        QTest::newRow("slot 1, 2 and 3 free") << 1 << 0x3;
        QTest::newRow("slot 3, 0 free") << 3 << 0xE;
    }
    void pannelli_nascosti()
    {
        // The hidden panels keep their size; their vertical bars and picture boxes follow it.
        QFETCH(int, grafico);
        QFETCH(int, usati);
        std::array<int, 4> uso{};
        for (int s = 0; s < 4; ++s)
            uso[size_t(s)] = (usati >> s) & 1;
        std::array<Rettangolo, 4> pannelli = Ridotti;
        pannelli[1].Height = 3000;  // an odd one out: a panel of another size
        const LayoutGrande l = Layout_Grande(grafico, 9000, 15000, {0, 0, 3000, 4000}, pannelli, Slot(uso), Misure());
        for (size_t s = 0; s < 4; ++s) {
            QCOMPARE(l.Hsc_Graf_Y_Visibile[s], uso[s] == 1);
            if (int(s) == grafico)
                continue;
            QCOMPARE(l.Pic_Graf[s], (Rettangolo{0, 0, pannelli[s].Width, pannelli[s].Height}));
            QCOMPARE(l.Hsc_Graf_Y[s], (Rettangolo{6000 - 100 - 260, 500, 260, pannelli[s].Height - 900}));
        }
    }

    void slot_fuori_intervallo()
    {
        for (int g : {-1, 4, 99})
            QVERIFY(!Layout_Grande(g, 9000, 15000, {0, 0, 3000, 4000}, Ridotti, Slot({1, 1, 1, 1})).valido);
    }

    void pulsanti_durata_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<bool>("invariata");
        QTest::addColumn<bool>("terzi");
        QTest::addColumn<double>("p2");
        QTest::addColumn<double>("m2");
        QTest::addColumn<double>("p3");
        QTest::addColumn<double>("m3");
        for (int d : {0, 2, 3, 4, 5, -1, 13})
            QTest::addRow("degree %d untouched", d) << d << true << false << 0.0 << 0.0 << 0.0 << 0.0;
        for (int d = 6; d <= 9; ++d)
            QTest::addRow("15 minutes, degree %d", d) << d << false << true << 845.0 << 1845.0 << 1170.0 << 2170.0;
        for (int d = 10; d <= 12; ++d)
            QTest::addRow("5 minutes, degree %d", d) << d << false << false << 1000.0 << 2000.0 << 0.0 << 0.0;
    }
    void pulsanti_durata()
    {
        QFETCH(int, grado);
        const DisposizioneDurata d = Disposizione_Durata(grado, 1000, 2000);
        QTEST(d.invariata, "invariata");
        QTEST(d.terzi_visibili, "terzi");
        if (d.invariata)
            return;
        QTEST(d.Top_P2, "p2");
        QTEST(d.Top_M2, "m2");
        if (d.terzi_visibili) {
            QTEST(d.Top_P3, "p3");
            QTEST(d.Top_M3, "m3");
        }
    }

    void testi_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<QString>("timeframe");
        const char *attesi[13] = {"1 Giorno", "1 Giorno", "1 Giorno", "1 Giorno", "1 ora",  "1 ora", "15 min.",
                                  "15 min.",  "15 min.",  "15 min.",  "5 min.",   "5 min.", "5 min."};
        for (int d = 0; d < 13; ++d)
            QTest::addRow("degree %d", d) << d << QString::fromLatin1(attesi[d]);
        QTest::newRow("below range") << -1 << QString();
        QTest::newRow("above range") << 13 << QString();
    }
    void testi()
    {
        QFETCH(int, grado);
        QTEST(Testo_Time_Frame(grado), "timeframe");
    }

    void proporzione_data()
    {
        QTest::addColumn<double>("valore");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("testo");
        QTest::newRow("standard") << 1.0 << "US" << "Standard";
        QTest::newRow("standard, UE") << 1.0 << "UE" << "Standard";
        QTest::newRow("one decimal") << 1.3 << "US" << "1.3";
        QTest::newRow("one decimal, UE") << 1.3 << "UE" << "1,3";
        QTest::newRow("near one is not standard") << 1.04 << "US" << "1.0";
        QTest::newRow("half rounds away, UE") << 0.75 << "UE" << "0,8";
        QTest::newRow("whole") << 2.0 << "US" << "2.0";
    }
    void proporzione()
    {
        QFETCH(double, valore);
        QFETCH(QString, locale);
        QTEST(Testo_Prop_Battl(valore, locale), "testo");
    }

    void contenuto_strumenti()
    {
        Stato s;
        ciclo::Imposta_Colori(s.cicli, 0);
        s.cicli.Barre_15M_Giorno = 34;
        const int d = 7;
        s.cicli.Zoom[d] = 2.5;         // halves to even
        s.cicli.Compressione[d] = 3;
        s.cicli.Prop_Battleplan[d] = 1.3;
        s.cicli.Durata[d] = 50.5;
        s.cicli.Sottocicli[d] = 4;
        s.cicli.Tempi[d] = 2;
        s.cicli.Tendenza[d] = 0.25;
        s.indicatori.Modo_Adattivo[d] = 1;
        s.indicatori.Ind_Attivo[d][3] = 1;
        s.indicatori.Ind_Attivo[d][19] = 1;
        s.indicatori.Ind_Attivo[d][20] = 1;  // item 20 has no switch
        s.indicatori.Periodo_Utente_1[d] = 14;
        s.indicatori.Periodo_Utente_2[d] = 21.5;

        const ContenutoStrumenti c = Contenuto_Strumenti(s, d);
        QVERIFY(c.valido);
        QCOMPARE(c.Sld_Zoom, 2);
        QCOMPARE(c.Sld_Compr, 3);
        QCOMPARE(c.Text_Prop_Battl, QStringLiteral("1,3"));  // the state's UE convention
        QCOMPARE(c.Text_Time_Frame, QStringLiteral("15 min."));
        QCOMPARE(c.Opt_Val_Indicatori, 1);
        QVERIFY(c.Chk_Ind_19_Visibile);
        for (size_t k = 0; k < 20; ++k)
            QCOMPARE(c.Chk_Ind_Adattivi[k], k == 3 || k == 19 ? 1 : 0);
        QCOMPARE(c.Text_Val_Ind[0], QStringLiteral("14"));
        QCOMPARE(c.Text_Val_Ind[1], QStringLiteral("21.5"));
        QCOMPARE(c.Text_Dur, ciclo::Converti_Durata_Testo(s.cicli, s.archivio, d, 50));
        QVERIFY(!c.Text_Dur.isEmpty());
        QCOMPARE(c.Cmb_Sottocicli, QStringLiteral("4"));
        QCOMPARE(c.Cmb_Tempi, QStringLiteral("2"));
        QCOMPARE(c.Text_Tend, QStringLiteral("0.25"));

        s.indicatori.Modo_Adattivo[d] = 0;
        s.cicli.Prop_Battleplan[d] = 1.0;
        QCOMPARE(Contenuto_Strumenti(s, d).Opt_Val_Indicatori, 0);
        QCOMPARE(Contenuto_Strumenti(s, d).Text_Prop_Battl, QStringLiteral("Standard"));
    }

    void indicatore_volumi_data()
    {
        QTest::addColumn<int>("sottostante");
        QTest::addColumn<int>("grado");
        QTest::addColumn<bool>("visibile");
        for (int d = 0; d <= 3; ++d)
            QTest::addRow("underlying 5, daily degree %d", d) << 5 << d << false;
        QTest::newRow("underlying 5, hourly degree") << 5 << 4 << true;
        QTest::newRow("underlying 5, 5-minute degree") << 5 << 12 << true;
        QTest::newRow("underlying 4, daily degree") << 4 << 0 << true;
        QTest::newRow("underlying 6, daily degree") << 6 << 3 << true;
    }
    void indicatore_volumi()
    {
        QFETCH(int, sottostante);
        QFETCH(int, grado);
        Stato s;
        s.archivio.Sottostante_Corrente = sottostante;
        QTEST(Contenuto_Strumenti(s, grado).Chk_Ind_19_Visibile, "visibile");
    }

    void grado_fuori_intervallo()
    {
        Stato s;
        s.cicli.Zoom.fill(1e30);  // a huge zoom never overflows the slider's value
        QVERIFY(Contenuto_Strumenti(s, 0).Sld_Zoom > 0);
        for (int d : {-1, 13, 1000})
            QVERIFY(!Contenuto_Strumenti(s, d).valido);
    }
};

QTEST_GUILESS_MAIN(LayoutGrandeTest)
#include "LayoutGrandeTest.moc"
