#include "shell/LayoutGrafici.h"

#include <QtTest>

using namespace layout;

namespace {

std::array<SlotGrafico, 4> Slot(std::array<int, 4> pos, std::array<int, 4> uso = {1, 1, 1, 1})
{
    std::array<SlotGrafico, 4> s{};
    for (size_t i = 0; i < 4; ++i)
        s[i] = {uso[i], int(5 + i), pos[i]};
    return s;
}

}  // namespace

class LayoutGraficiTest : public QObject {
    Q_OBJECT

private slots:
    void riquadro_ridotto_data()
    {
        QTest::addColumn<double>("altezza");
        QTest::addColumn<double>("larghezza");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("w");
        QTest::newRow("example frame") << 10450.0 << 12300.0 << 5000 << 6000;
        QTest::newRow("half rounds down to even") << 5451.0 << 12300.0 << 2500 << 6000;
        QTest::newRow("half rounds up to even") << 5453.0 << 12300.0 << 2502 << 6000;
        QTest::newRow("width half to even") << 10450.0 << 301.0 << 5000 << 0;
        QTest::newRow("frame too small") << 100.0 << 100.0 << 0 << 0;
    }
    void riquadro_ridotto()
    {
        QFETCH(double, altezza);
        QFETCH(double, larghezza);
        const LayoutRidotto l = Layout_Ridotto(altezza, larghezza, Slot({0, 1, 2, 3}));
        QTEST(l.Altezza_Riquadro, "h");
        QTEST(l.Larghezza_Riquadro, "w");
    }

    void posizioni_griglia()
    {
        const LayoutRidotto l = Layout_Ridotto(10450, 12300, Slot({3, 2, 1, 0}));
        QCOMPARE(l.Top_Riquadri, (std::array<int, 4>{250, 250, 5350, 5350}));
        QCOMPARE(l.Left_Riquadri, (std::array<int, 4>{100, 6200, 100, 6200}));
        // Slot 0 sits at grid position 3 (bottom right), slot 3 at top left.
        QCOMPARE(l.Pannelli[0].Frm_Graf, (Rettangolo{6200, 5350, 6000, 5000}));
        QCOMPARE(l.Pannelli[3].Frm_Graf, (Rettangolo{100, 250, 6000, 5000}));
        QCOMPARE(l.Pannelli[1].Frm_Graf, (Rettangolo{100, 5350, 6000, 5000}));
    }

    void controlli_del_riquadro()
    {
        MisureRiquadro m;
        m.Altezza_Etichetta = 400;
        m.Larghezza_Etichetta = 3000;
        m.Larghezza_Led = 200;
        m.Altezza_Hsc = 250;
        m.Larghezza_Hsc_Y = 260;
        const LayoutPannello p = Layout_Ridotto(10450, 12300, Slot({0, 1, 2, 3}), m).Pannelli[0];
        QCOMPARE(p.Lbl_In_Caricamento.Top, 2300.0);
        QCOMPARE(p.Lbl_In_Caricamento.Left, 1500.0);
        const std::array<double, 5> left{300, 650, 1000, 1350, 1700};
        for (size_t b = 0; b < 5; ++b) {
            QCOMPARE(p.Pulsanti[b].Top, 100.0);
            QCOMPARE(p.Pulsanti[b].Left, left[b]);
        }
        QCOMPARE(p.Led_Agg_Storico_RT.Top, 100.0);
        QCOMPARE(p.Led_Agg_Storico_RT.Left, 6000.0 - 100 - 200);
        QCOMPARE(p.Hsc_Graf, (Rettangolo{100, 5000 - 100 - 250, 5800, 250}));
        QCOMPARE(p.Hsc_Graf_Y, (Rettangolo{6000 - 100 - 260, 500, 260, 4100}));
        QCOMPARE(p.Pic_Graf, (Rettangolo{0, 0, 6000, 5000}));
        QCOMPARE(p.Graf_Battleplan, (Rettangolo{-30, -30, 6500, 5280}));
        // In sight of the chart: not the 30 twips left and above the picture box, nor
        // the buttons' strip (down to 400), the vertical bar (from 5640) or the
        // horizontal one (from 4650); the title may sit between the buttons and the lamp.
        QCOMPARE(p.Vista.Coperta, (Margini{30, 430, 6470 - 5640, 5250 - 4650}));
        QCOMPARE(p.Vista.Testata, (Margini{2000 + 30, 30, 6470 - 5700, 0}));
    }

    void posizioni_fuori_griglia_e_doppie()
    {
        // Two slots on one position overlap; a position out of range takes the slot's own.
        const LayoutRidotto l = Layout_Ridotto(10450, 12300, Slot({0, 0, 9, -1}, {1, 0, 1, 1}));
        QCOMPARE(l.Pannelli[0].Frm_Graf, l.Pannelli[1].Frm_Graf);
        QCOMPARE(l.Pannelli[2].Frm_Graf.Top, 5350.0);
        QCOMPARE(l.Pannelli[2].Frm_Graf.Left, 100.0);
        QCOMPARE(l.Pannelli[3].Frm_Graf.Left, 6200.0);
        QVERIFY(l.Pannelli[0].in_uso);
        QVERIFY(!l.Pannelli[1].in_uso);
    }

    void area_grafici()
    {
        const Rettangolo datiSot{120, 100, 3000, 8000};
        const Rettangolo senza = Layout_Senza_Storico(19200, 11000, datiSot);
        QCOMPARE(senza, (Rettangolo{3200, 100, 19200 - 350 - 3200, 11000 - 750}));

        // Moving the quote frame moves and narrows the chart frame by the same amount.
        const Rettangolo spostata = Layout_Senza_Storico(19200, 11000, {220, 100, 3000, 8000});
        QCOMPARE(spostata.Left - senza.Left, 100.0);
        QCOMPARE(senza.Width - spostata.Width, 100.0);

        const LayoutStorico st = Layout_Storico(15000, 11000, 100, QStringLiteral("UE"), 0);
        const Rettangolo con = Layout_Con_Storico(11000, datiSot, st.Frm_Storico);
        QCOMPARE(con.Left + con.Width, 11850.0);
        QCOMPARE(con.Height, senza.Height);

        // Never a negative size near the minimum window.
        QCOMPARE(Layout_Senza_Storico(1000, 500, datiSot).Width, 0.0);
        QCOMPARE(Layout_Senza_Storico(1000, 500, datiSot).Height, 0.0);
    }

    void pannello_storico_data()
    {
        QTest::addColumn<QString>("formato");
        QTest::addColumn<int>("tab");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("tabLeft");
        QTest::addColumn<double>("tabWidth");
        QTest::addColumn<double>("col1");
        QTest::addColumn<double>("col2");
        for (int tab = 0; tab < 4; ++tab) {
            QTest::addRow("UE tab %d", tab) << "UE" << tab << 11950.0 << 2800.0 << 100.0 << 2570.0 << 830.0 << 630.0;
            QTest::addRow("US tab %d", tab) << "US" << tab << 11900.0 << 2850.0 << 200.0 << 2650.0 << 800.0 << 800.0;
        }
        QTest::newRow("other convention") << "XX" << 1 << 11900.0 << 2850.0 << 200.0 << 2650.0 << 800.0 << 800.0;
    }
    void pannello_storico()
    {
        QFETCH(QString, formato);
        QFETCH(int, tab);
        const LayoutStorico l = Layout_Storico(15000, 8750, 100, formato, tab);
        QTEST(l.Frm_Storico.Left, "left");
        QTEST(l.Frm_Storico.Width, "width");
        QCOMPARE(l.Frm_Storico.Top, 100.0);
        QCOMPARE(l.Frm_Storico.Height, 8000.0);
        QVERIFY(l.tab_valida);
        QCOMPARE(l.TabPage.Top, 300.0);
        QTEST(l.TabPage.Left, "tabLeft");
        QTEST(l.TabPage.Width, "tabWidth");
        QCOMPARE(l.TabPage.Height, 7500.0);
        QCOMPARE(l.Griglia, (Rettangolo{10, 350, l.TabPage.Width - 10, 7150}));
        QTEST(l.Colonne[0], "col1");
        QTEST(l.Colonne[1], "col2");
        QCOMPARE(l.Colonne[2], l.Colonne[0]);
    }

    void pannello_storico_tab_fuori_intervallo()
    {
        for (int tab : {-1, 4, 5}) {
            const LayoutStorico l = Layout_Storico(15000, 8750, 100, QStringLiteral("UE"), tab);
            QVERIFY(!l.tab_valida);
            QCOMPARE(l.Frm_Storico.Left, 11950.0);
        }
    }

    void ridimensiona_data()
    {
        QTest::addColumn<bool>("blocco");
        QTest::addColumn<bool>("minimizzata");
        QTest::addColumn<double>("w");
        QTest::addColumn<double>("h");
        QTest::addColumn<int>("azione");
        QTest::newRow("busy") << true << false << 5000.0 << 5000.0 << int(AzioneResize::Nessuna);
        QTest::newRow("minimized") << false << true << 2000.0 << 300.0 << int(AzioneResize::Nessuna);
        QTest::newRow("too low") << false << false << 19200.0 << 10959.0 << int(AzioneResize::Correggi);
        QTest::newRow("too narrow") << false << false << 18099.0 << 11000.0 << int(AzioneResize::Correggi);
        // Too small for the objects panel and the one-chart layout's sliders.
        QTest::newRow("the forms' size") << false << false << 12500.0 << 8750.0 << int(AzioneResize::Correggi);
        QTest::newRow("exact minimum") << false << false << 18100.0 << 10960.0 << int(AzioneResize::Ridisponi);
        QTest::newRow("large") << false << false << 19200.0 << 11000.0 << int(AzioneResize::Ridisponi);
    }
    void ridimensiona()
    {
        QFETCH(bool, blocco);
        QFETCH(bool, minimizzata);
        QFETCH(double, w);
        QFETCH(double, h);
        QTEST(int(Azione_Resize(blocco, minimizzata, w, h)), "azione");
    }
};

QTEST_GUILESS_MAIN(LayoutGraficiTest)
#include "LayoutGraficiTest.moc"
