#include "Confronto.h"
#include "SlotGraficoProva.h"

#include "Stato.h"
#include "cycle/EtichetteAsseX.h"
#include "cycle/PosizioneBarra.h"
#include "platform/DataOra.h"
#include "platform/Schermo.h"
#include "shell/DisegnaGrafico.h"

#include <QtTest>
#include <memory>

// The frame of the chart drawing and the cycle sections, checked against the
// recording chart control.
class DisegnaGraficoTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Stato> stato;
    ControlliMemoria controlli;

    GraficoRegistratore &disegna(int slot, int grado)
    {
        GraficoRegistratore &g = controlli.grafici[size_t(std::clamp(slot, 0, 3))];
        g.chiamate.clear();
        finestra::Disegna_Grafico(*stato, controlli, slot, grado);
        return g;
    }
    ColoreWin colore(int k) const { return stato->cicli.Colori[size_t(k)]; }
    // Unnamed two-point series whose points both stand at one x: vertical lines.
    static std::vector<const SerieGrafico *> verticali(const GraficoRegistratore &g)
    {
        std::vector<const SerieGrafico *> r;
        for (const SerieGrafico *s : g.serieDi(QString()))
            if (s->punti.size() == 2 && s->punti[0].x() == s->punti[1].x() && s->punti[0].y() == 0
                && s->punti[1].y() == 28)
                r.push_back(s);
        return r;
    }

private slots:
    void init()
    {
        stato = std::make_unique<Stato>();
        controlli = ControlliMemoria();
        PreparaStatoGrafico(*stato, 1, 8);
    }

    void slotNonInUsoNascondeSoltanto()
    {
        stato->cicli.Conf_Grafici[1].in_uso = 0;
        GraficoRegistratore &g = disegna(1, 8);
        QCOMPARE(g.chiamate, QStringList{QStringLiteral("Visibile(0)")});
        QVERIFY(!controlli.comandiVisibili[1]);
        QVERIFY(controlli.comandiVisibili[0]);
    }

    void ordineDelDisegno()
    {
        GraficoRegistratore &g = disegna(1, 8);
        QCOMPARE(g.chiamate.value(0), QStringLiteral("Visibile(0)"));
        QCOMPARE(g.chiamate.value(1), QStringLiteral("Svuota_Grafico()"));
        QCOMPARE(g.chiamate.value(2), QStringLiteral("Prepara_Grafico()"));
        QCOMPARE(g.chiamate.value(3), QStringLiteral("Aggiungi_Asse_Y(2)"));
        QCOMPARE(g.chiamate.value(4), QStringLiteral("Aggiungi_Asse_X(3)"));
        QCOMPARE(g.chiamate.value(g.chiamate.size() - 2), QStringLiteral("Ridisegna_Grafico()"));
        QCOMPARE(g.chiamate.last(), QStringLiteral("Visibile(1)"));
        QCOMPARE(g.conta(QStringLiteral("Ridisegna_Grafico")), 1);

        // Watermark, curve, price line, title, price range, cycle texts in this order.
        const int filigrana = g.indice(QStringLiteral("Aggiungi_Testo(Wavelore"));
        const int curva = g.indice(QStringLiteral("Stile_Serie(0x%1,2,1)").arg(colore(70), 6, 16, QLatin1Char('0')));
        const int prezzo = g.indice(QStringLiteral("Nuova_Serie(Sottostante)"));
        const int titolo = g.indice(QStringLiteral("Titolo_Grafico"));
        const int testi = g.indice(QStringLiteral("Aggiungi_Testo( Data Inizio Ciclo"));
        QVERIFY(filigrana > 4);
        QVERIFY(curva > filigrana);
        QVERIFY(prezzo > curva);
        QVERIFY(titolo > prezzo);
        QVERIFY(testi > titolo);
        // The price line sits on X axis 2, added after the cycle lines.
        QCOMPARE(g.serieDi(QStringLiteral("Sottostante")).at(0)->asseX, 2);
        QCOMPARE(g.serieDi(QStringLiteral("Sottostante")).at(0)->asseY, 2);
    }

    void didascalia_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<QString>("titolo");
        QTest::newRow("0") << 0 << "Dax  Kalvo +8  Index 1d";
        QTest::newRow("4") << 4 << "Dax  Kalvo +4  Future 1h";
        QTest::newRow("6") << 6 << "Dax  Kalvo +2  Future 15m";
        QTest::newRow("8 senza zero") << 8 << "Dax  Kalvo  Future 15m";
        QTest::newRow("12") << 12 << "Dax  Kalvo -4  Future 5m";
    }
    void didascalia()
    {
        QFETCH(int, grado);
        QFETCH(QString, titolo);
        PreparaStatoGrafico(*stato, 2, grado);
        stato->cicli.Titoli_Grafici[2] = QStringLiteral("vecchio");
        GraficoRegistratore &g = disegna(2, grado);
        QCOMPARE(stato->cicli.Titoli_Grafici[2], titolo);
        QCOMPARE(g.titolo().testo, titolo);
    }

    void filigranaInPercento()
    {
        GraficoRegistratore &g = disegna(1, 8);
        const TestoGrafico &t = g.testi().front();
        QCOMPARE(t.testo, QStringLiteral("Wavelore\u00AE\r\n") + QLatin1String(costanti::Indirizzo_Web));
        QCOMPARE(t.modo, 1);
        QCOMPARE(t.x, 50.0);
        QCOMPARE(t.y, 95.0);
        QCOMPARE(t.colore, colore(87));
    }

    void curvaPerEstensione_data()
    {
        QTest::addColumn<double>("durata");
        QTest::addColumn<double>("scostamento");
        QTest::addColumn<int>("punti");
        QTest::newRow("intera") << 100.0 << 0.0 << 100;
        QTest::newRow("100.5 pari in basso") << 100.5 << 0.0 << 100;
        QTest::newRow("101.5 pari in alto") << 100.0 << 1.5 << 102;
        QTest::newRow("con scostamento") << 200.0 << 50.0 << 250;
    }
    void curvaPerEstensione()
    {
        QFETCH(double, durata);
        QFETCH(double, scostamento);
        QFETCH(int, punti);
        stato->cicli.Durata[8] = durata;
        stato->cicli.Scostamento_Ciclo[8] = scostamento;
        stato->cicli.Barre_Ciclo[8] = 50;
        RicalcolaCiclo(*stato, 8);
        GraficoRegistratore &g = disegna(1, 8);
        const SerieGrafico &curva = g.serie().at(1);  // after the watermark's empty series
        QCOMPARE(curva.colore.value(), colore(70));
        QCOMPARE(int(curva.punti.size()), punti);
        QCOMPARE(curva.punti.front().x(), 1.0);
        QCOMPARE(curva.punti.front().y(), stato->cicli.Battleplan[8][1]);
    }

    void curvaNonRicalcolataSiFermaAllaSuaFine()
    {
        stato->cicli.Scostamento_Ciclo[8] = 80;  // extent 280, curve still 250 long
        GraficoRegistratore &g = disegna(1, 8);
        QCOMPARE(int(g.serie().at(1).punti.size()), 250);
    }

    void suddivisioni_data()
    {
        QTest::addColumn<double>("scostamento");
        QTest::addColumn<int>("griglia");
        QTest::addColumn<QList<double>>("posizioni");
        QTest::addColumn<int>("fineCiclo");  // index of the cycle-end line, -1 none
        QTest::newRow("senza estensione") << 0.0 << 1 << QList<double>{25, 50, 75} << -1;
        QTest::newRow("con estensione") << 50.0 << 1 << QList<double>{25, 50, 75, 100, 125} << 3;
        QTest::newRow("griglia spenta") << 50.0 << 0 << QList<double>{} << -1;
    }
    void suddivisioni()
    {
        QFETCH(double, scostamento);
        QFETCH(int, griglia);
        QFETCH(QList<double>, posizioni);
        QFETCH(int, fineCiclo);
        stato->cicli.Durata[8] = 100;
        stato->cicli.Scostamento_Ciclo[8] = scostamento;
        stato->cicli.Barre_Ciclo[8] = 60;
        stato->cicli.Griglia_1[8] = griglia;
        stato->cicli.Griglia_2[8] = 0;
        RicalcolaCiclo(*stato, 8);
        const auto linee = verticali(disegna(1, 8));
        QCOMPARE(int(linee.size()), int(posizioni.size()));
        for (int i = 0; i < posizioni.size(); ++i) {
            QCOMPARE(linee[size_t(i)]->punti[0].x(), posizioni[i]);
            const bool fine = i == fineCiclo;
            QCOMPARE(linee[size_t(i)]->colore.value(), colore(fine ? 70 : 86));
            QCOMPARE(linee[size_t(i)]->stile, fine ? 2 : 1);
        }
    }

    void suddivisioniSenzaDurata()
    {
        stato->cicli.Durata[8] = 0;
        stato->cicli.Griglia_2[8] = 0;
        QVERIFY(verticali(disegna(1, 8)).empty());
    }

    void separatoriSulPrimaBarraDiOgniGiorno()
    {
        stato->cicli.Griglia_1[8] = 0;
        const GraficoRegistratore &g = disegna(1, 8);
        const auto linee = verticali(g);
        QVERIFY(!linee.empty());
        const int barre = stato->cicli.Barre_Ciclo[8];
        int storiche = 0, future = 0;
        for (const SerieGrafico *s : linee) {
            QCOMPARE(s->colore.value(), schermo::Rgb(63, 40, 147));
            QCOMPARE(s->stile, 2);
            const int x = int(s->punti[0].x());
            QDate data;
            int minuti = -1;
            QVERIFY(posizione::TempoDaX(stato->cicli, stato->mercato, 8, x, data, minuti));
            QCOMPARE(minuti, 8 * 60 + 15);
            (x <= barre ? storiche : future) += 1;
        }
        // 150 history bars span three days, 100 future bars two more day starts.
        QCOMPARE(storiche, 2);
        QVERIFY(future >= 1);
        // Every history bar stamped 8:15 got its line.
        int attese = 0;
        for (int riga = 1; riga <= barre; ++riga)
            attese += stato->mercato.Storico_15M.barra(riga).minuti == 8 * 60 + 15;
        QCOMPARE(storiche, attese);
    }

    void separatoriGiornalieriSenzaFuturo()
    {
        PreparaStatoGrafico(*stato, 1, 2);
        stato->cicli.Griglia_1[2] = 0;
        QVERIFY(verticali(disegna(1, 2)).empty());
    }

    void seriePrezzo_data()
    {
        QTest::addColumn<int>("modo");
        QTest::addColumn<int>("spessore");
        QTest::addColumn<int>("stile");
        QTest::addColumn<int>("marcatore");
        QTest::addColumn<int>("tipoPunto");
        QTest::newRow("0 punti") << 0 << 1 << 1 << 3 << 3;
        QTest::newRow("1 tratteggio") << 1 << 1 << 2 << 0 << 3;
        QTest::newRow("2 spessa") << 2 << 3 << 1 << 0 << 0;
    }
    void seriePrezzo()
    {
        QFETCH(int, modo);
        QFETCH(int, spessore);
        QFETCH(int, stile);
        QFETCH(int, marcatore);
        QFETCH(int, tipoPunto);
        stato->cicli.Modo_Linea_Storico[8] = modo;
        const GraficoRegistratore &g = disegna(1, 8);
        const SerieGrafico &s = *g.serieDi(QStringLiteral("Sottostante")).at(0);
        QCOMPARE(s.colore.value(), colore(83));
        QCOMPARE(s.spessore, spessore);
        QCOMPARE(s.stile, stile);
        QCOMPARE(s.tipoMarcatore, marcatore);
        QCOMPARE(s.tipoPunto, tipoPunto);
        const int barre = stato->cicli.Barre_Ciclo[8];
        QCOMPARE(int(s.punti.size()), barre);
        QCOMPARE(s.punti.front(), QPointF(1, stato->mercato.Storico_15M.barra(barre).chiusura));
        QCOMPARE(s.punti.back(), QPointF(barre, stato->mercato.Storico_15M.barra(1).chiusura));
    }

    void etichetteDelPrezzo()
    {
        const GraficoRegistratore &g = disegna(1, 8);
        QCOMPARE(g.chiamateDi(QStringLiteral("Etichette_Asse_X")),
                 QStringList{QStringLiteral("Etichette_Asse_X(100,250,249,0,2)")});
        // Step 50, cycle 150: only the newest bar carries a label, with its time.
        const auto &voci = g.etichette().voci;
        QCOMPARE(int(voci.size()), 1);
        QCOMPARE(voci[0].x, 150.0);
        const BarraStorico &ultima = stato->mercato.Storico_15M.barra(1);
        QCOMPARE(voci[0].testo, dataora::ScriviData(ultima.data, stato->shell.Formato_Data) + QStringLiteral("\r\n")
                                    + dataora::ScriviOra(ultima.minuti, stato->shell.Formato_Ora));
    }

    void etichetteGiornaliereSoloData()
    {
        PreparaStatoGrafico(*stato, 1, 1);
        stato->cicli.Barre_Ciclo[1] = 147;
        const GraficoRegistratore &g = disegna(1, 1);
        // Step 50, offset 47: labels at 47, 97 and the newest bar 147, dates only.
        const auto &voci = g.etichette().voci;
        QCOMPARE(int(voci.size()), 3);
        QCOMPARE(voci[0].x, 47.0);
        QCOMPARE(voci[1].x, 97.0);
        QCOMPARE(voci[2].x, 147.0);
        QCOMPARE(voci[2].testo, dataora::ScriviData(DataUltimaBarra(), stato->shell.Formato_Data));
        QCOMPARE(voci[1].testo, dataora::ScriviData(stato->mercato.Storico_1D.barra(51).data, stato->shell.Formato_Data));
    }

    void testoEtichette_data()
    {
        QTest::addColumn<double>("estensione");
        QTest::addColumn<int>("barre");
        QTest::addColumn<QList<double>>("posizioni");
        QTest::addColumn<int>("virgole");
        QTest::newRow("resto 7") << 100.0 << 47 << QList<double>{7, 27, 47} << 44;
        QTest::newRow("multiplo del passo") << 100.0 << 40 << QList<double>{40} << 39;
        QTest::newRow("ciclo sotto il passo") << 100.0 << 13 << QList<double>{13} << 12;
        QTest::newRow("resto 1") << 100.5 << 21 << QList<double>{1, 21} << 19;
        QTest::newRow("estensione sotto 5") << 4.0 << 3 << QList<double>{3} << 2;
        QTest::newRow("nessuna barra") << 100.0 << 0 << QList<double>{} << 0;
    }
    void testoEtichette()
    {
        QFETCH(double, estensione);
        QFETCH(int, barre);
        QFETCH(QList<double>, posizioni);
        QFETCH(int, virgole);
        // Each label names its own row, so the round trip shows where it stands.
        const auto etichetta = [](int riga) { return QStringLiteral("r%1").arg(riga); };
        const QString testo = ciclo::Componi_Etichette_Asse_X(estensione, barre, etichetta);
        QCOMPARE(int(testo.count(QLatin1Char(','))), virgole);
        ModelloGrafico m;
        m.Aggiungi_Asse_X(2);
        m.Etichette_Asse_X(estensione - barre, estensione, estensione - 1, 0, 2, testo);
        QCOMPARE(int(m.etichette().voci.size()), int(posizioni.size()));
        for (int i = 0; i < posizioni.size(); ++i) {
            QCOMPARE(m.etichette().voci[size_t(i)].x, posizioni[i]);
            QCOMPARE(m.etichette().voci[size_t(i)].testo, QStringLiteral("r%1").arg(barre + 1 - int(posizioni[i])));
        }
    }

    void testiUtente_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<double>("quota");  // 0 the bottom of the price axis, 1 its top
        QTest::addColumn<bool>("scritto");
        QTest::newRow("al minimo") << "l'oro;|\"" << 0.0 << true;
        QTest::newRow("al massimo") << "è già" << 1.0 << true;
        QTest::newRow("a meta'") << "x" << 0.5 << true;
        QTest::newRow("testo @") << "@" << 0.5 << false;
        QTest::newRow("testo vuoto") << "" << 0.5 << false;
    }
    void testiUtente()
    {
        QFETCH(QString, testo);
        QFETCH(double, quota);
        QFETCH(bool, scritto);
        const GraficoRegistratore &prima = disegna(1, 8);
        const double lo = prima.asseY(2).minimo, hi = prima.asseY(2).massimo;
        QVERIFY(hi > lo);
        stato->disegno.Testi[8][3] = Testo{true, true, 40, lo + quota * (hi - lo), 32, testo};
        stato->disegno.Testi[8][4] = Testo{false, false, 41, lo, 32, QStringLiteral("libero")};
        stato->disegno.Distanze[8][15] = Distanza{true, true, 10, lo, 30, hi, 33, 20, hi, QStringLiteral("2 gg.")};
        const GraficoRegistratore &g = disegna(1, 8);
        std::vector<TestoGrafico> utente;
        for (const TestoGrafico &t : g.testi())
            if (t.font == QLatin1String("Font=Arial|8|bold|") && (t.x == 40.0 || t.x == 20.0))
                utente.push_back(t);
        QCOMPARE(int(utente.size()), scritto ? 2 : 1);
        if (scritto) {
            QCOMPARE(utente[0].testo, testo);
            QCOMPARE(utente[0].x, 40.0);
            QCOMPARE_FUZZY(utente[0].y, 28.0 * quota);
            QCOMPARE(utente[0].colore, colore(32));
        }
        QCOMPARE(utente.back().testo, QStringLiteral("2 gg."));
        QCOMPARE(utente.back().x, 20.0);
        QCOMPARE_FUZZY(utente.back().y, 28.0);
        QCOMPARE(utente.back().colore, colore(33));
        // The labels are part of the one final redraw.
        QVERIFY(g.indice(QStringLiteral("Aggiungi_Testo(2 gg.")) < g.indice(QStringLiteral("Ridisegna_Grafico")));
    }

    void titoloEAssi()
    {
        stato->cicli.Tempi[8] = 20;
        stato->cicli.Sottocicli[8] = 6;
        GraficoRegistratore &g = disegna(1, 8);
        QCOMPARE(g.asseX(1).minimo, 1.0);
        QCOMPARE(g.asseX(1).massimo, 250.0);
        QCOMPARE(g.asseX(1).suddivisioni, 120);
        QCOMPARE(g.asseY(1).minimo, 0.0);
        QCOMPARE(g.asseY(1).massimo, 28.0);
        QCOMPARE(g.asseY(1).formato, QStringLiteral("0.0"));
        QCOMPARE(g.asseY(2).formato, QStringLiteral("0"));
        QCOMPARE(g.coloreSfondo().value(), colore(80));
        QCOMPARE(g.titolo().colore, colore(81));
        QVERIFY(g.asseX(2).esiste);
        QVERIFY(g.asseX(3).esiste);

        stato->archivio.Sottostante_Corrente = 7;
        QCOMPARE(disegna(1, 8).asseY(2).formato, QStringLiteral("0.000"));
    }

    void scalaPrezzoDellaBarraVerticale()
    {
        stato->cicli.Posizione_Asse_Y[8] = 60;
        controlli.hscY[1].Imposta_Min(100);
        controlli.hscY[1].Imposta_Max(1);
        controlli.hscY[1].Imposta_Valore(60);
        const GraficoRegistratore &g = disegna(1, 8);
        double lo = 1e300, hi = -1e300;
        for (int r = 1; r <= 250; ++r) {
            lo = std::min(lo, stato->mercato.Storico_15M.barra(r).chiusura);
            hi = std::max(hi, stato->mercato.Storico_15M.barra(r).chiusura);
        }
        const double s2 = (hi - lo) / 100;
        QCOMPARE_FUZZY(g.asseY(2).minimo, lo - 10 * s2);
        QCOMPARE_FUZZY(g.asseY(2).massimo, hi - 20 * s2);
        QVERIFY(g.asseY(2).fissa);
    }

    void gradoNonValidoLasciaIlGrafico()
    {
        GraficoRegistratore &g = disegna(1, 13);
        QVERIFY(g.chiamate.isEmpty());
        disegna(7, 8);  // a slot outside 0..3 draws nothing and does not crash
    }

    // A call the chart does not carry out is skipped: the rest of the drawing and the final redraw still run.
    void sezioneCheFallisceNonFermaIlDisegno()
    {
        struct GraficoGuasto : GraficoRegistratore {
            void Titolo_Grafico(const QString &, const QString &, ColoreWin, int, int, int) noexcept override {}
        };
        struct Controlli : ControlliMemoria {
            GraficoGuasto guasto;
            GraficoControllo *Graf_Battleplan(int) override { return &guasto; }
        } c;
        finestra::Disegna_Grafico(*stato, c, 1, 8);
        const GraficoRegistratore &g = c.guasto;
        QCOMPARE(g.chiamate.last(), QStringLiteral("Visibile(1)"));
        QCOMPARE(g.conta(QStringLiteral("Ridisegna_Grafico")), 1);
        QCOMPARE(g.conta(QStringLiteral("Aggiungi_Testo(Termine al Ciclo")), 1);
        // Only the refused call is lost: the axes set up after it are there.
        QVERIFY(g.titolo().testo.isEmpty());
        QCOMPARE(g.asseX(1).suddivisioni, 4);
        QCOMPARE(g.asseY(1).massimo, 28.0);
        QVERIFY(g.asseY(2).fissa);
    }

    void storicoVuotoDisegnaComunque()
    {
        stato->mercato.Storico_15M = SerieStorico(5000);
        stato->cicli.Tempi_Futuri[8].clear();
        GraficoRegistratore &g = disegna(1, 8);
        QCOMPARE(g.chiamate.last(), QStringLiteral("Visibile(1)"));
        QVERIFY(g.serieDi(QStringLiteral("Sottostante")).at(0)->punti.empty());
        // No end text without a bar to take it from; the other four are there.
        QCOMPARE(g.conta(QStringLiteral("Aggiungi_Testo(Data Fine Ciclo")), 0);
        QCOMPARE(g.conta(QStringLiteral("Aggiungi_Testo(Termine al Ciclo")), 1);
    }
};

QTEST_GUILESS_MAIN(DisegnaGraficoTest)
#include "DisegnaGraficoTest.moc"
