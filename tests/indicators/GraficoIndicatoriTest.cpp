// The indicators and the volume profile on a drawn chart: which series, on which
// axes, in which colours, which bars are left out, and the pane ranges.

#include "ProvaIndicatori.h"
#include "SlotGraficoProva.h"
#include "indicators/Indicatori.h"
#include "shell/DisegnaGrafico.h"

#include <QtTest>

using namespace indicatori;

namespace {
constexpr int Slot = 1;
constexpr int Grado = 6;   // 15-minute degree; the test chart has Barre_Ciclo 150, Durata 200, E 250
constexpr int BC = 150;
}  // namespace

class GraficoIndicatoriTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Stato> stato;
    std::unique_ptr<ControlliMemoria> controlli;

    GraficoRegistratore &grafico() { return controlli->grafici[Slot]; }
    StatoIndicatori &ind() { return stato->indicatori; }
    void accendi(std::initializer_list<int> items)
    {
        for (int k : items)
            ind().Ind_Attivo[Grado][size_t(k)] = 1;
    }
    void disegna() { finestra::Disegna_Grafico(*stato, *controlli, Slot, Grado); }

    // Series on Y axis `asseY` in colour `colore`, in drawing order.
    std::vector<const SerieGrafico *> serieSu(int asseY, int colore)
    {
        std::vector<const SerieGrafico *> r;
        for (const SerieGrafico &s : grafico().serie())
            if (s.asseY == asseY && s.colore == stato->cicli.Colori[size_t(colore)])
                r.push_back(&s);
        return r;
    }
    // Fills the first cells of a row; the rest of the row holds `marca`.
    void riga(ArrayIndicatore &a, const std::vector<double> &valori, double marca)
    {
        for (int i = 1; i <= Ultima_Cella; ++i)
            a(Grado, i) = i <= int(valori.size()) ? valori[size_t(i - 1)] : marca;
    }

private slots:
    void init()
    {
        stato = prova::NuovoStato();
        controlli = std::make_unique<ControlliMemoria>();
        PreparaStatoGrafico(*stato, Slot, Grado);
        // Colours told apart by index.
        for (int k = 0; k < costanti::Num_Colori; ++k)
            stato->cicli.Colori[size_t(k)] = ColoreWin(0x010000 * k + 7);
    }

    void nienteAccesoCinqueAssiComunque()
    {
        disegna();
        QCOMPARE(grafico().conta(QStringLiteral("Aggiungi_Asse_Y()")), 5);
        for (int y = 3; y <= 7; ++y)
            for (const SerieGrafico &s : grafico().serie())
                QVERIFY(s.asseY != y);
    }

    void mediaSaltaGliZeri()
    {
        accendi({0});
        std::vector<double> v(BC, 0.0);
        for (int i = 1; i <= BC; ++i)
            v[size_t(i - 1)] = i % 10 == 0 ? 0.0 : 1000.0 + i;
        riga(ind().Ind_Media_C2, v, 0.0);
        disegna();
        const auto s = serieSu(2, 50);
        QCOMPARE(int(s.size()), 1);
        QCOMPARE(s[0]->asseX, 2);
        QCOMPARE(s[0]->spessore, 1);
        QCOMPARE(int(s[0]->punti.size()), BC - BC / 10);
        // x = 1 is the cycle-start bar, history bar 150 (a 0, left out); x = 150 the newest.
        QCOMPARE(s[0]->punti.front(), QPointF(2, 1149));
        QCOMPARE(s[0]->punti.back(), QPointF(150, 1001));
    }

    void indicatoreCentratoSaltaZeroEMarca()
    {
        accendi({16});
        riga(ind().Ind_Osc_C8_C2, {5, 0, Vuoto_Oscillatore, -3}, Vuoto_Oscillatore);
        disegna();
        const auto s = serieSu(2, 69);
        QCOMPARE(int(s.size()), 1);
        QCOMPARE(s[0]->spessore, 2);
        QCOMPARE(s[0]->punti, (std::vector<QPointF>{{147, -3}, {150, 5}}));
    }

    void riquadroOscillatoriSoloItem14()
    {
        accendi({14});
        riga(ind().Ind_Osc_C8_C4, {0, 1, 2}, Vuoto_Oscillatore);
        disegna();
        const auto zero = serieSu(5, 66);
        QCOMPARE(int(zero.size()), 1);
        QCOMPARE(zero[0]->stile, 2);
        QCOMPARE(zero[0]->punti, (std::vector<QPointF>{{1, 0}, {double(BC), 0}}));
        const auto osc = serieSu(5, 67);
        QCOMPARE(int(osc.size()), 1);
        // A pane value of 0 is drawn: only the mark is left out.
        QCOMPARE(osc[0]->punti, (std::vector<QPointF>{{148, 2}, {149, 1}, {150, 0}}));
        QVERIFY(serieSu(5, 68).empty());
    }

    void velocitaCiclicheEIntervallo()
    {
        // Item 17 shows only its smoothed row; the range follows the raw one.
        accendi({17});
        riga(ind().Ind_Velocita_C4, {-2, 3, Vuoto_Oscillatore, 1}, Vuoto_Oscillatore);
        riga(ind().Ind_Velocita_C4_Media, {0.5, 0.25}, Vuoto_Oscillatore);
        riga(ind().Ind_Velocita_C2, {-50, 50}, Vuoto_Oscillatore);  // item 7 off: not scanned
        disegna();
        QCOMPARE(int(serieSu(4, 58).size()), 1);  // the zero line only
        const auto s = serieSu(4, 59);
        QCOMPARE(int(s.size()), 1);
        QCOMPARE(s[0]->punti.size(), size_t(2));
        QCOMPARE(grafico().asseY(4).minimo, -2.0);
        QCOMPARE(grafico().asseY(4).massimo, 10.5);
        QVERIFY(grafico().asseY(4).fissa);
    }

    void riquadriSpentiIntervalloRovesciato()
    {
        disegna();
        QCOMPARE(grafico().asseY(4).minimo, 10000000.0);
        QCOMPARE(grafico().asseY(4).massimo, 10000000.0 + 2.5 * (-20000000.0));
        QCOMPARE(grafico().asseY(5).massimo, 10000000.0 + 2.5 * (-11000000.0));
        // The volume pane reads zeros over the cycle.
        QCOMPARE(grafico().asseY(7).minimo, 0.0);
        QCOMPARE(grafico().asseY(7).massimo, 0.0);
        QCOMPARE(grafico().asseY(5).coloreEtichette, std::optional<ColoreWin>(stato->cicli.Colori[11]));
        QCOMPARE(grafico().asseY(6).font, QStringLiteral("Font=Arial|8|bold|"));
    }

    void riquadroStocasticoEIntervallo()
    {
        accendi({6});
        // Min feeds only the top, Max only the bottom of the range, item on or off.
        riga(ind().Ind_Stoc_Dist_Min, {4, 1, -9}, Vuoto_Oscillatore);
        riga(ind().Ind_Stoc_Dist_Max, {-1, -6, 30}, Vuoto_Oscillatore);
        riga(ind().Ind_Stoc_Dist_Min_Media, {2}, Vuoto_Oscillatore);
        riga(ind().Ind_Stoc_Dist_Max_Media, {-2}, Vuoto_Oscillatore);
        disegna();
        QCOMPARE(int(serieSu(3, 56).size()), 3);  // zero line, raw and smoothed min
        QCOMPARE(int(serieSu(3, 57).size()), 2);
        QCOMPARE(grafico().asseY(3).minimo, -6.0);
        QCOMPARE(grafico().asseY(3).massimo, -6.0 + 2.5 * 10.0);
    }

    void riquadriCentratiFinoAllEstensione()
    {
        accendi({12, 19});
        riga(ind().Ind_Velocita_Centrata, {1, 2}, Vuoto_Oscillatore);
        disegna();
        const auto s = serieSu(6, 65);
        QCOMPARE(int(s.size()), 3);
        QCOMPARE(s[0]->punti.back(), QPointF(250, 0));
        const auto volumi = serieSu(7, 65);
        QCOMPARE(int(volumi.size()), 1);
        QCOMPARE(volumi[0]->punti.back(), QPointF(250, 0));
        QCOMPARE(grafico().asseY(6).minimo, 1.0);
        QCOMPARE(grafico().asseY(6).massimo, 3.5);
    }

    void profiloVolumi()
    {
        accendi({19});
        ind().Profilo_Volumi[Grado].livelli = {{100, 10}, {101, 40}, {102, 40}, {103, 0}};
        ind().Profilo_Volumi[Grado].sottostante = stato->archivio.Sottostante_Corrente;
        disegna();
        const auto s = serieSu(2, 87);
        QCOMPARE(int(s.size()), 4);
        QCOMPARE(s[0]->asseX, 3);
        QCOMPARE(s[0]->punti, (std::vector<QPointF>{{0, 100}, {50, 100}}));
        // Both fullest levels reach one duration.
        QCOMPARE(s[1]->punti.back(), QPointF(200, 101));
        QCOMPARE(s[2]->punti.back(), QPointF(200, 102));
        QCOMPARE(s[3]->punti.back(), QPointF(0, 103));
    }

    void profiloSenzaVolumeLunghezzaZero()
    {
        accendi({19});
        ind().Profilo_Volumi[Grado].livelli = {{100, 0}, {101, 0}};
        ind().Profilo_Volumi[Grado].sottostante = stato->archivio.Sottostante_Corrente;
        disegna();
        const auto s = serieSu(2, 87);
        QCOMPARE(int(s.size()), 2);
        QCOMPARE(s[1]->punti.back(), QPointF(0, 101));
    }

    void profiloNonMostrato_data()
    {
        QTest::addColumn<bool>("acceso");
        QTest::addColumn<bool>("calcolato");
        QTest::addColumn<int>("sottostante");
        QTest::newRow("item spento") << false << true << 2;
        QTest::newRow("mai calcolato") << true << false << 2;
        QTest::newRow("di un altro mercato") << true << true << 1;
    }
    void profiloNonMostrato()
    {
        QFETCH(bool, acceso);
        QFETCH(bool, calcolato);
        QFETCH(int, sottostante);
        if (acceso)
            accendi({19});
        if (calcolato)
            ind().Profilo_Volumi[Grado].livelli = {{100, 10}};
        ind().Profilo_Volumi[Grado].sottostante = sottostante;
        disegna();
        QVERIFY(serieSu(2, 87).empty());
    }

    void profiloSulDisegno()
    {
        // Computed from the test history and painted: the profile colour shows up.
        accendi({19});
        stato->cicli.Colori[87] = 0x0000FF00;  // pure green, used by nothing else here
        Calcola_Profilo_Volumi(stato->archivio, stato->mercato, stato->cicli, stato->indicatori, Grado);
        QVERIFY(ind().Profilo_Volumi[Grado].calcolato());
        const QImage img = DisegnaSlotInImmagine(*stato, Slot, Grado);
        int verdi = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixelColor(x, y) == QColor(0, 255, 0))
                    ++verdi;
        QVERIFY(verdi > 50);
    }
};

QTEST_MAIN(GraficoIndicatoriTest)
#include "GraficoIndicatoriTest.moc"
