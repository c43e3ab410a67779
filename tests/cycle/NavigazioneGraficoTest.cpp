// Chart navigation without a window: which slot and degree become current, the
// order of shift, save and redraw, the echo and loading flags, compression and
// the cycle start, the zoom and compression buttons at their limits.

#include "SlotGraficoProva.h"
#include "Stato.h"
#include "cycle/BarreGrafico.h"
#include "cycle/ModelloCiclo.h"
#include "cycle/NavigazioneGrafico.h"
#include "drawing/OggettiGrafici.h"

#include <QtTest>
#include <functional>

namespace {

// A slider whose value writes raise its change event at once, as the window's do.
class SliderProva : public BarraValori {
public:
    SliderProva() { Imposta_Max(10); }
    void Imposta_Valore(int valore) override
    {
        const bool cambia = valore != Valore();
        BarraValori::Imposta_Valore(valore);
        if (cambia && cambio)
            cambio();
    }
    std::function<void()> cambio;
};

class AmbienteProva : public AmbienteNavigazione {
public:
    explicit AmbienteProva(Stato &s) : stato(s) {}
    ControlliGrafici &Controlli() override { return controlli; }
    BarraScorrimento *Sld_Zoom() override { return &zoom; }
    BarraScorrimento *Sld_Compr() override { return &compr; }
    void Disegna_Grafico(int grafico, int grado) override
    {
        eventi << QStringLiteral("disegna %1 %2").arg(grafico).arg(grado);
    }
    void Sposta_Disegni_AsseX() override
    {
        eventi << QStringLiteral("sposta");
        disegno::Sposta_Disegni_AsseX(stato.shell, stato.cicli, stato.disegno, controlli);
    }
    bool Profilo_Volumi_Attivo(int grado) const override { return stato.indicatori.Ind_Attivo[size_t(grado)][19] == 1; }
    void Calcola_Profilo_Volumi(int grado, int grafico) override
    {
        eventi << QStringLiteral("profilo %1 %2").arg(grado).arg(grafico);
    }
    void Mostra_Caricamento_Indicatore(int grado, int grafico) override
    {
        eventi << QStringLiteral("banner %1 %2").arg(grado).arg(grafico);
    }
    bool Salva_Parametro(const StatoProgramma &, const StatoArchivio &, const StatoCicli &,
                         archivio::Codice_Modifica codice, int grado, QString &errore) override
    {
        eventi << QStringLiteral("salva %1 %2").arg(archivio::Lettera(codice)).arg(grado);
        if (!salvaOk)
            errore = QStringLiteral("bloccato");
        return salvaOk;
    }
    void Mostra_Errore(const QString &testo) override { eventi << QStringLiteral("errore ") + testo; }

    bool salvaOk = true;

    Stato &stato;
    ControlliMemoria controlli;
    SliderProva zoom;
    SliderProva compr;
    QStringList eventi;
};

struct Banco {
    Stato stato;
    AmbienteProva ambiente{stato};
    NavigazioneGrafico nav{stato.shell, stato.archivio, stato.mercato, stato.cicli, ambiente};

    // Slot 0 shows degree 4, slot 2 degree 6; slot 0 and degree 4 are current.
    Banco()
    {
        ciclo::Inizializza_Tabelle_Cicli(stato.cicli);
        PreparaStatoGrafico(stato, 2, 6);
        PreparaStatoGrafico(stato, 0, 4);
        stato.shell.Blocco_Grafici = false;
        stato.cicli.Grado_Corrente = 4;
        stato.cicli.Grafico_Corrente = 0;
        Imposta_Barre_Grafici(stato.shell, stato.cicli, ambiente.controlli);
        stato.disegno.Barre_Ciclo_Oggetti[4] = stato.cicli.Barre_Ciclo[4];
        stato.disegno.Barre_Ciclo_Oggetti[6] = stato.cicli.Barre_Ciclo[6];
        ambiente.zoom.cambio = [this] { nav.Sld_Zoom_Change(); };
        ambiente.compr.cambio = [this] { nav.Sld_Compr_Change(); };
        ambiente.zoom.Imposta_Valore(int(stato.cicli.Zoom[4]));
        ambiente.compr.Imposta_Valore(stato.cicli.Compressione[4]);
        ambiente.eventi.clear();
    }

    // A line of degree `grado` from bar a to bar b.
    void Linea(int grado, int a, int b)
    {
        ::Linea &l = stato.disegno.Linee[size_t(grado)][1];
        l.in_uso = true;
        l.trovata = true;
        l.barra_inizio = a;
        l.prezzo_inizio = 100;
        l.barra_fine = b;
        l.prezzo_fine = 110;
    }
    QPair<int, int> Barre_Linea(int grado) const
    {
        const ::Linea &l = stato.disegno.Linee[size_t(grado)][1];
        return {l.barra_inizio, l.barra_fine};
    }
    // Degree 4 at compression c with its scroll bar in slot 0 at value v.
    void Compressione(int c, int v)
    {
        stato.cicli.Compressione[4] = c;
        stato.cicli.Scostamento_Ciclo[4] = c * stato.cicli.Compressione_Grado[4];
        stato.cicli.Barre_Ciclo[4] = v;
        stato.disegno.Barre_Ciclo_Oggetti[4] = v;
        Imposta_Barre_Grafico(stato.shell, stato.cicli, ambiente.controlli, 0, 4);
        stato.shell.Blocco_Aggiornamento = true;
        ambiente.compr.Imposta_Valore(c);
        stato.shell.Blocco_Aggiornamento = false;
        ciclo::Calcola_Data_Inizio_Ciclo(stato.cicli, stato.mercato, 4);
        ambiente.eventi.clear();
    }
    BarraValori &Hsc(int slot) { return ambiente.controlli.hsc[size_t(slot)]; }
};

}  // namespace

class NavigazioneGraficoTest : public QObject {
    Q_OBJECT

private slots:
    void posizione_ciclo_rende_corrente_lo_slot_data()
    {
        QTest::addColumn<bool>("profilo");
        QTest::newRow("senza profilo") << false;
        QTest::newRow("con profilo") << true;
    }

    void posizione_ciclo_rende_corrente_lo_slot()
    {
        QFETCH(bool, profilo);
        Banco b;
        b.stato.indicatori.Ind_Attivo[6][19] = profilo ? 1 : 0;
        b.Linea(6, 100, 140);
        b.Linea(4, 100, 140);
        const QDate inizioPrima = b.stato.cicli.Data_Inizio_Ciclo[6];
        const int minutiPrima = b.stato.cicli.Ora_Inizio_Ciclo[6];
        QCOMPARE(b.stato.cicli.Barre_Ciclo[6], 150);

        b.Hsc(2).Imposta_Valore(120);
        b.nav.Hsc_Graf_Change(2);

        QCOMPARE(b.stato.cicli.Grafico_Corrente, 2);
        QCOMPARE(b.stato.cicli.Grado_Corrente, 6);
        QCOMPARE(b.stato.cicli.Barre_Ciclo[6], 120);
        QCOMPARE(b.stato.cicli.Barre_Ciclo[4], 150);
        // The shift read slot 2's bar against the old position: every object keeps its bar.
        QCOMPARE(b.Barre_Linea(6), qMakePair(70, 110));
        QCOMPARE(b.Barre_Linea(4), qMakePair(100, 140));
        // 30 bars fewer from the cycle start: the start lies later in time.
        const auto dopo = std::make_pair(b.stato.cicli.Data_Inizio_Ciclo[6], b.stato.cicli.Ora_Inizio_Ciclo[6]);
        QVERIFY(dopo > std::make_pair(inizioPrima, minutiPrima));
        QStringList attesi{QStringLiteral("sposta"), QStringLiteral("salva P 6")};
        if (profilo)
            attesi << QStringLiteral("profilo 6 2");
        attesi << QStringLiteral("disegna 2 6");
        QCOMPARE(b.ambiente.eventi, attesi);
    }

    void posizione_verticale_non_cambia_il_corrente()
    {
        Banco b;
        b.ambiente.controlli.hscY[2].Imposta_Valore(73);
        b.nav.Hsc_Graf_Y_Change(2);
        QCOMPARE(b.stato.cicli.Posizione_Asse_Y[6], 73);
        QCOMPARE(b.stato.cicli.Posizione_Asse_Y[4], 50);
        QCOMPARE(b.stato.cicli.Grafico_Corrente, 0);
        QCOMPARE(b.stato.cicli.Grado_Corrente, 4);
        QCOMPARE(b.ambiente.eventi, (QStringList{QStringLiteral("salva A 6"), QStringLiteral("disegna 2 6")}));
    }

    void slot_senza_grado_valido_non_fa_nulla()
    {
        Banco b;
        b.stato.cicli.Conf_Grafici[3].grado = 13;
        b.nav.Hsc_Graf_Change(3);
        b.nav.Hsc_Graf_Y_Change(3);
        b.nav.Hsc_Graf_Change(4);
        b.nav.Hsc_Graf_Change(-1);
        QVERIFY(b.ambiente.eventi.isEmpty());
        QCOMPARE(b.stato.cicli.Grafico_Corrente, 0);
    }

    void bloccato_non_fa_nulla_data()
    {
        QTest::addColumn<QString>("comando");
        QTest::addColumn<bool>("caricamento");
        for (const char *c : {"Hsc_Graf", "Hsc_Graf_Y", "Sld_Zoom", "Sld_Compr", "Cmd_Compr_M", "Cmd_Compr_P"}) {
            QTest::addRow("%s in caricamento", c) << QString::fromLatin1(c) << true;
            QTest::addRow("%s eco", c) << QString::fromLatin1(c) << false;
        }
    }

    void bloccato_non_fa_nulla()
    {
        QFETCH(QString, comando);
        QFETCH(bool, caricamento);
        Banco b;
        b.Compressione(3, 200);
        b.Linea(6, 100, 140);
        // The user's moves, arriving while a flag is set.
        (caricamento ? b.stato.shell.Blocco_Grafici : b.stato.shell.Blocco_Aggiornamento) = true;
        b.Hsc(2).Imposta_Valore(120);
        b.ambiente.controlli.hscY[2].Imposta_Valore(20);
        b.ambiente.zoom.Imposta_Valore(2);
        b.ambiente.compr.Imposta_Valore(8);
        const StatoCicli prima = b.stato.cicli;

        if (comando == QLatin1String("Hsc_Graf"))
            b.nav.Hsc_Graf_Change(2);
        else if (comando == QLatin1String("Hsc_Graf_Y"))
            b.nav.Hsc_Graf_Y_Change(2);
        else if (comando == QLatin1String("Sld_Zoom"))
            b.nav.Sld_Zoom_Change();
        else if (comando == QLatin1String("Sld_Compr"))
            b.nav.Sld_Compr_Change();
        else if (comando == QLatin1String("Cmd_Compr_M"))
            b.nav.Cmd_Compr_M_Click();
        else
            b.nav.Cmd_Compr_P_Click();

        QVERIFY(b.ambiente.eventi.isEmpty());
        QCOMPARE(b.stato.cicli.Grafico_Corrente, prima.Grafico_Corrente);
        QCOMPARE(b.stato.cicli.Grado_Corrente, prima.Grado_Corrente);
        QVERIFY(b.stato.cicli.Barre_Ciclo == prima.Barre_Ciclo);
        QVERIFY(b.stato.cicli.Posizione_Asse_Y == prima.Posizione_Asse_Y);
        QVERIFY(b.stato.cicli.Zoom == prima.Zoom);
        QVERIFY(b.stato.cicli.Compressione == prima.Compressione);
        QVERIFY(b.stato.cicli.Scostamento_Ciclo == prima.Scostamento_Ciclo);
        QVERIFY(b.stato.cicli.Data_Inizio_Ciclo == prima.Data_Inizio_Ciclo);
        QCOMPARE(b.Barre_Linea(6), qMakePair(100, 140));
        QCOMPARE(b.Hsc(0).Max(), 500);
    }

    void scostamento_per_grado_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<int>("compressione");
        QTest::addColumn<double>("scostamento");
        QTest::newRow("grado 4 compressione 3") << 4 << 3 << 300.0;
        QTest::newRow("grado 4 compressione 0") << 4 << 0 << 0.0;
        QTest::newRow("grado 0 compressione 10") << 0 << 10 << 300.0;
        QTest::newRow("grado 8 compressione 1") << 8 << 1 << 25.0;
        QTest::newRow("grado 12 compressione 2") << 12 << 2 << 70.0;
    }

    void scostamento_per_grado()
    {
        QFETCH(int, grado);
        QFETCH(int, compressione);
        QFETCH(double, scostamento);
        Banco b;
        PreparaStatoGrafico(b.stato, 1, grado);
        b.stato.cicli.Compressione[size_t(grado)] = 5;
        b.stato.cicli.Scostamento_Ciclo[size_t(grado)] = 5 * b.stato.cicli.Compressione_Grado[size_t(grado)];
        b.stato.cicli.Grado_Corrente = grado;
        b.stato.cicli.Grafico_Corrente = 1;
        Imposta_Barre_Grafico(b.stato.shell, b.stato.cicli, b.ambiente.controlli, 1, grado);
        b.stato.shell.Blocco_Aggiornamento = true;
        b.ambiente.compr.Imposta_Valore(5);
        b.stato.shell.Blocco_Aggiornamento = false;
        b.ambiente.eventi.clear();

        b.ambiente.compr.Imposta_Valore(compressione);

        QCOMPARE(b.stato.cicli.Compressione[size_t(grado)], compressione);
        QCOMPARE(b.stato.cicli.Scostamento_Ciclo[size_t(grado)], scostamento);
        QCOMPARE(b.Hsc(1).Max(), int(200 + scostamento));
        QVERIFY(b.ambiente.eventi.contains(QStringLiteral("salva B %1").arg(grado)));
        QCOMPARE(b.ambiente.eventi.last(), QStringLiteral("disegna 1 %1").arg(grado));
        QCOMPARE(b.stato.cicli.Battleplan[size_t(grado)].size(), size_t(200 + scostamento + 1));
    }

    void compressione_minore_data()
    {
        QTest::addColumn<int>("valore");
        QTest::addColumn<int>("valoreDopo");
        // Degree 4: duration 200, compression 3 -> range 1..500; lowered to 1 -> 1..300.
        QTest::newRow("al massimo segue il nuovo massimo") << 500 << 300;
        QTest::newRow("oltre il nuovo massimo resta nel campo") << 450 << 300;
        QTest::newRow("dentro il nuovo campo resta") << 150 << 150;
    }

    void compressione_minore()
    {
        QFETCH(int, valore);
        QFETCH(int, valoreDopo);
        Banco b;
        b.Compressione(3, valore);
        b.Linea(4, valore - 20, valore);
        const auto inizioPrima = std::make_pair(b.stato.cicli.Data_Inizio_Ciclo[4], b.stato.cicli.Ora_Inizio_Ciclo[4]);

        b.ambiente.compr.Imposta_Valore(1);

        QCOMPARE(b.stato.cicli.Compressione[4], 1);
        QCOMPARE(b.stato.cicli.Scostamento_Ciclo[4], 100.0);
        QCOMPARE(b.Hsc(0).Max(), 300);
        QCOMPARE(b.Hsc(0).Valore(), valoreDopo);
        QCOMPARE(b.stato.cicli.Barre_Ciclo[4], valoreDopo);
        const int delta = valoreDopo - valore;
        QCOMPARE(b.Barre_Linea(4), qMakePair(valore - 20 + delta, valore + delta));
        const auto inizioDopo = std::make_pair(b.stato.cicli.Data_Inizio_Ciclo[4], b.stato.cicli.Ora_Inizio_Ciclo[4]);
        QCOMPARE(inizioDopo != inizioPrima, delta != 0);
        QCOMPARE(b.ambiente.eventi, (QStringList{QStringLiteral("sposta"), QStringLiteral("salva P 4"),
                                                 QStringLiteral("salva B 4"), QStringLiteral("disegna 0 4")}));
        QVERIFY(!b.stato.shell.Blocco_Aggiornamento);
    }

    void profilo_segue_inizio_spostato_dalla_compressione_data()
    {
        QTest::addColumn<int>("valore");
        QTest::addColumn<int>("compressioneDopo");
        QTest::addColumn<bool>("ricalcolo");
        QTest::newRow("minore al massimo") << 500 << 1 << true;
        QTest::newRow("minore dentro il campo") << 150 << 1 << false;
        QTest::newRow("maggiore al massimo") << 500 << 5 << false;
    }

    void profilo_segue_inizio_spostato_dalla_compressione()
    {
        QFETCH(int, valore);
        QFETCH(int, compressioneDopo);
        QFETCH(bool, ricalcolo);
        Banco b;
        b.stato.indicatori.Ind_Attivo[4][19] = 1;
        b.Compressione(3, valore);
        b.ambiente.compr.Imposta_Valore(compressioneDopo);
        QCOMPARE(b.ambiente.eventi.contains(QStringLiteral("profilo 4 0")), ricalcolo);
        QCOMPARE(b.ambiente.eventi.last(), QStringLiteral("disegna 0 4"));
    }

    void compressione_maggiore_non_sposta_il_ciclo_data()
    {
        QTest::addColumn<int>("valore");
        QTest::newRow("al massimo") << 200;
        QTest::newRow("a meta") << 120;
    }

    void compressione_maggiore_non_sposta_il_ciclo()
    {
        QFETCH(int, valore);
        Banco b;
        b.Compressione(0, valore);
        b.Linea(4, 100, 140);
        const QDate inizioPrima = b.stato.cicli.Data_Inizio_Ciclo[4];
        const int minutiPrima = b.stato.cicli.Ora_Inizio_Ciclo[4];

        b.ambiente.compr.Imposta_Valore(5);

        QCOMPARE(b.stato.cicli.Scostamento_Ciclo[4], 500.0);
        QCOMPARE(b.Hsc(0).Max(), 700);
        QCOMPARE(b.Hsc(0).Valore(), valore);
        QCOMPARE(b.stato.cicli.Barre_Ciclo[4], valore);
        QCOMPARE(b.stato.cicli.Data_Inizio_Ciclo[4], inizioPrima);
        QCOMPARE(b.stato.cicli.Ora_Inizio_Ciclo[4], minutiPrima);
        QCOMPARE(b.Barre_Linea(4), qMakePair(100, 140));
        QCOMPARE(b.ambiente.eventi, (QStringList{QStringLiteral("salva P 4"), QStringLiteral("salva B 4"),
                                                 QStringLiteral("disegna 0 4")}));
    }

    void compressione_allo_stesso_valore_non_fa_nulla()
    {
        Banco b;
        PreparaStatoGrafico(b.stato, 0, 0);
        b.stato.cicli.Grado_Corrente = 0;
        b.stato.cicli.Compressione[0] = 4;
        b.stato.shell.Blocco_Aggiornamento = true;
        b.ambiente.compr.Imposta_Valore(4);
        b.stato.shell.Blocco_Aggiornamento = false;
        b.ambiente.eventi.clear();
        b.nav.Sld_Compr_Change();
        QVERIFY(b.ambiente.eventi.isEmpty());
        QCOMPARE(b.stato.cicli.Compressione[0], 4);
    }

    void banner_solo_gradi_giornalieri_data()
    {
        QTest::addColumn<int>("grado");
        for (int g = 0; g <= 12; ++g)
            QTest::addRow("grado %d", g) << g;
    }

    void banner_solo_gradi_giornalieri()
    {
        QFETCH(int, grado);
        Banco b;
        PreparaStatoGrafico(b.stato, 3, grado);
        b.stato.cicli.Grado_Corrente = grado;
        b.stato.cicli.Grafico_Corrente = 3;
        b.stato.cicli.Compressione[size_t(grado)] = 0;
        b.stato.cicli.Scostamento_Ciclo[size_t(grado)] = 0;
        Imposta_Barre_Grafico(b.stato.shell, b.stato.cicli, b.ambiente.controlli, 3, grado);
        b.ambiente.eventi.clear();
        b.ambiente.compr.Imposta_Valore(2);
        QCOMPARE(b.ambiente.eventi.contains(QStringLiteral("banner %1 3").arg(grado)), grado <= 2);
        QCOMPARE(b.ambiente.eventi.first() == QStringLiteral("banner %1 3").arg(grado), grado <= 2);
    }

    void pulsanti_zoom_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("passo");
        QTest::addColumn<double>("zoomDopo");
        QTest::addColumn<bool>("agisce");
        QTest::newRow("piu a 10") << 10.0 << +1 << 10.0 << false;
        QTest::newRow("meno a 0") << 0.0 << -1 << 0.0 << false;
        QTest::newRow("piu a 5") << 5.0 << +1 << 6.0 << true;
        QTest::newRow("meno a 5") << 5.0 << -1 << 4.0 << true;
        QTest::newRow("piu a 9.5 resta nel campo") << 9.5 << +1 << 10.0 << true;
        QTest::newRow("meno a 0.5 resta nel campo") << 0.5 << -1 << 0.0 << true;
    }

    void pulsanti_zoom()
    {
        QFETCH(double, zoom);
        QFETCH(int, passo);
        QFETCH(double, zoomDopo);
        QFETCH(bool, agisce);
        for (const bool caricamento : {false, true}) {
            Banco b;
            b.stato.cicli.Zoom[4] = zoom;
            // The zoom buttons answer whatever the loading flag says.
            b.stato.shell.Blocco_Grafici = caricamento;
            passo > 0 ? b.nav.Cmd_Zoom_P_Click() : b.nav.Cmd_Zoom_M_Click();
            QCOMPARE(b.stato.cicli.Zoom[4], zoomDopo);
            if (!agisce) {
                QVERIFY(b.ambiente.eventi.isEmpty());
                continue;
            }
            // The slider shows the new zoom and its echo saves nothing more.
            QCOMPARE(b.ambiente.zoom.Valore(), int(zoomDopo));
            QCOMPARE(b.ambiente.eventi, (QStringList{QStringLiteral("salva Z 4"), QStringLiteral("disegna 0 4")}));
            QVERIFY(!b.stato.shell.Blocco_Aggiornamento);
        }
    }

    void slider_zoom()
    {
        Banco b;
        b.stato.cicli.Grafico_Corrente = 2;
        b.stato.cicli.Grado_Corrente = 6;
        b.ambiente.zoom.Imposta_Valore(3);
        QCOMPARE(b.stato.cicli.Zoom[6], 3.0);
        QCOMPARE(b.stato.cicli.Zoom[4], 7.0);
        QCOMPARE(b.ambiente.eventi, (QStringList{QStringLiteral("salva Z 6"), QStringLiteral("disegna 2 6")}));
    }

    void pulsanti_compressione_data()
    {
        QTest::addColumn<int>("compressione");
        QTest::addColumn<int>("slider");
        QTest::addColumn<int>("passo");
        QTest::addColumn<int>("compressioneDopo");
        QTest::newRow("meno a 0") << 0 << 0 << -1 << 0;
        QTest::newRow("piu a 10") << 10 << 10 << +1 << 10;
        QTest::newRow("meno a 3") << 3 << 3 << -1 << 2;
        QTest::newRow("piu a 3") << 3 << 3 << +1 << 4;
        // One step from the degree's own compression, not from a slider left elsewhere.
        QTest::newRow("meno con slider a 7") << 3 << 7 << -1 << 2;
        QTest::newRow("piu con slider a 0") << 3 << 0 << +1 << 4;
    }

    void pulsanti_compressione()
    {
        QFETCH(int, compressione);
        QFETCH(int, slider);
        QFETCH(int, passo);
        QFETCH(int, compressioneDopo);
        Banco b;
        b.Compressione(compressione, 200 + compressione * 100);
        b.Linea(4, 180, 190);
        b.stato.shell.Blocco_Aggiornamento = true;
        b.ambiente.compr.Imposta_Valore(slider);
        b.stato.shell.Blocco_Aggiornamento = false;

        passo > 0 ? b.nav.Cmd_Compr_P_Click() : b.nav.Cmd_Compr_M_Click();

        QCOMPARE(b.stato.cicli.Compressione[4], compressioneDopo);
        if (compressioneDopo == compressione) {
            QVERIFY(b.ambiente.eventi.isEmpty());
            return;
        }
        const int r = 200 + compressioneDopo * 100;
        QCOMPARE(b.ambiente.compr.Valore(), compressioneDopo);
        QCOMPARE(b.Hsc(0).Max(), r);
        // Started at the maximum: lowering follows the new maximum, raising stays.
        const int valore = passo < 0 ? r : 200 + compressione * 100;
        QCOMPARE(b.Hsc(0).Valore(), valore);
        QCOMPARE(b.stato.cicli.Barre_Ciclo[4], valore);
        const int delta = valore - (200 + compressione * 100);
        QCOMPARE(b.Barre_Linea(4), qMakePair(180 + delta, 190 + delta));
        // The slider's own handling, then the button's repeat.
        QStringList una;
        if (passo < 0)
            una << QStringLiteral("sposta");
        una << QStringLiteral("salva P 4") << QStringLiteral("salva B 4") << QStringLiteral("disegna 0 4");
        QCOMPARE(b.ambiente.eventi, una + una);
    }
};

QTEST_GUILESS_MAIN(NavigazioneGraficoTest)
#include "NavigazioneGraficoTest.moc"
