#include "ArchivioProva.h"
#include "CartellaTemporanea.h"
#include "InterfacceVuote.h"
#include "SlotGraficoProva.h"
#include "StatoProva.h"
#include "archive/CreaArchivi.h"
#include "cycle/DurataTesto.h"
#include "drawing/DateOggetti.h"
#include "drawing/GraficoOggetti.h"
#include "drawing/StrumentiGrafici.h"

#include <QtTest>

// What the tools ask of the window, recorded. Salva_Linea goes to the real store
// when `archivio` is set.
class AmbienteFinto : public AmbienteStrumentiVuoto {
public:
    const Stato *archivio = nullptr;
    bool salvaOk = true;
    QList<int> messaggi;
    int timer = 0;
    QList<QPair<int, int>> salvataggi;
    QList<int> parametri;
    QStringList errori;
    int puntatore = -1;
    int bandeMostrate = 0;
    QList<int> bandeNascoste;
    BandaElastica ultimaBanda;

    void Mostra_Messaggio(int tipo) override { messaggi << tipo; }
    QStringList testi;
    void Mostra_Testo_Messaggio(const QString &testo) override { testi << testo; }
    void Avvia_Timer_Disegno() override { ++timer; }
    bool Salva_Linea(int grado, int slot, QString &errore) override
    {
        salvataggi << qMakePair(grado, slot);
        if (archivio)
            return prova::Salva_Linea(*archivio, grado, slot, &errore);
        if (!salvaOk)
            errore = QStringLiteral("disco pieno");
        return salvaOk;
    }
    QList<QPair<int, int>> distanzeSalvate;
    bool Salva_Distanza(int grado, int slot, QString &errore) override
    {
        distanzeSalvate << qMakePair(grado, slot);
        if (archivio)
            return prova::Salva_Distanza(*archivio, grado, slot, &errore);
        if (!salvaOk)
            errore = QStringLiteral("disco pieno");
        return salvaOk;
    }
    bool Salva_Parametro(archivio::Codice_Modifica codice, int grado, QString &errore) override
    {
        parametri << grado;
        codici << archivio::Lettera(codice);
        if (!salvaOk)
            errore = QStringLiteral("disco pieno");
        return salvaOk;
    }
    QList<QChar> codici;
    void Mostra_Errore(const QString &testo) override { errori << testo; }
    void Imposta_Puntatore(int, int numero) override { puntatore = numero; }
    void Mostra_Banda(int, const BandaElastica &banda) override
    {
        ++bandeMostrate;
        ultimaBanda = banda;
    }
    void Nascondi_Banda(int slot) override { bandeNascoste << slot; }
};

class StrumentiLineeTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Stato> stato;
    std::unique_ptr<ControlliMemoria> controlli;
    std::unique_ptr<AmbienteFinto> ambiente;
    std::unique_ptr<StrumentiGrafici> strumenti;

    Linea &slot(int g, int s) { return stato->disegno.Linee[size_t(g)][size_t(s)]; }
    StatoDisegno &d() { return stato->disegno; }
    // Y axis 1 runs 0..28 and Y axis 2 100..128 on the test charts: price = 100 + y.
    // X axis 1 runs 0..160.
    static void impostaAssi(GraficoRegistratore &g)
    {
        g.Seleziona_Asse_X(1);
        g.Minimo_Asse(0);
        g.Massimo_Asse(160);
        g.Seleziona_Asse_Y(1);
        g.Minimo_Asse(0);
        g.Massimo_Asse(28);
        g.Aggiungi_Asse_Y(2);
        g.Seleziona_Asse_Y(2);
        g.Minimo_Asse(100);
        g.Massimo_Asse(128);
        g.Seleziona_Asse_Y(1);
        g.chiamate.clear();
    }
    // The pointer mode the tools set last on slot `s`'s chart; -1 when never set.
    int modoPuntatore(int s) const
    {
        const QStringList modi = controlli->grafici[size_t(s)].chiamateDi(QStringLiteral("Modo_Puntatore("));
        return modi.isEmpty() ? -1 : modi.last().section(QLatin1Char('('), 1).chopped(1).toInt();
    }
    void clic(int grafico, double x, double y)
    {
        strumenti->Graf_Battleplan_MouseMove(grafico, x, y);
        strumenti->Graf_Battleplan_Click(grafico);
    }

private slots:
    void init()
    {
        stato = prova::NuovoStato();
        controlli = std::make_unique<ControlliMemoria>();
        for (GraficoRegistratore &g : controlli->grafici)
            impostaAssi(g);
        ambiente = std::make_unique<AmbienteFinto>();
        strumenti = std::make_unique<StrumentiGrafici>(stato->shell, stato->archivio, stato->mercato, stato->cicli,
                                                       stato->disegno, *controlli, *ambiente);
    }

    void pulsantiStrumenti_data()
    {
        QTest::addColumn<int>("pulsante");
        QTest::addColumn<int>("indice");
        QTest::addColumn<int>("puntatore");
        QTest::addColumn<QString>("modo");
        QTest::newRow("linea rossa") << 0 << 0 << 1 << "LINEA30";
        QTest::newRow("linea ciano") << 0 << 1 << 2 << "LINEA34";
        QTest::newRow("linea verde") << 0 << 2 << 3 << "LINEA32";
        QTest::newRow("linea gialla") << 0 << 3 << 4 << "LINEA33";
        QTest::newRow("linea indice 4") << 0 << 4 << 0 << "";
        QTest::newRow("cancella linea") << 1 << 0 << 5 << "CAN_L";
        QTest::newRow("testo rosso") << 2 << 0 << 6 << "TESTO30";
        QTest::newRow("testo giallo") << 2 << 3 << 9 << "TESTO33";
        QTest::newRow("testo indice -1") << 2 << -1 << 0 << "";
        QTest::newRow("cancella testo") << 3 << 0 << 10 << "CAN_T";
        QTest::newRow("distanza rossa") << 4 << 0 << 11 << "DISTA30";
        QTest::newRow("distanza verde") << 4 << 2 << 13 << "DISTA32";
        QTest::newRow("cancella distanza") << 5 << 0 << 15 << "CAN_D";
    }
    void pulsantiStrumenti()
    {
        QFETCH(int, pulsante);
        QFETCH(int, indice);
        QFETCH(int, puntatore);
        QFETCH(QString, modo);
        switch (pulsante) {
        case 0: strumenti->Cmd_Line_Click(indice); break;
        case 1: strumenti->Cmd_Cancella_Linea_Click(); break;
        case 2: strumenti->Cmd_Testo_Click(indice); break;
        case 3: strumenti->Cmd_Cancella_Testo_Click(); break;
        case 4: strumenti->Cmd_Distanza_Click(indice); break;
        default: strumenti->Cmd_Cancella_Distanza_Click(); break;
        }
        QCOMPARE(d().Numero_Puntatore, puntatore);
        QCOMPARE(d().Modo_Disegno, modo);
        // A tool switches the chart's own pointer off on the current slot; a bad index touches nothing.
        QCOMPARE(modoPuntatore(2), puntatore ? 0 : -1);
    }

    void lineaConDueClic()
    {
        strumenti->Cmd_Line_Click(1);
        clic(2, 10.7, 5.0);
        QVERIFY(d().Primo_Punto_Attivo);
        QVERIFY(!slot(7, 1).in_uso);

        strumenti->Graf_Battleplan_MouseMove(2, 18.0, 7.0);
        QCOMPARE(ambiente->bandeMostrate, 1);
        QCOMPARE(ambiente->ultimaBanda.colore, stato->cicli.Colori[34]);
        QCOMPARE(ambiente->ultimaBanda.spessore, 2);
        QCOMPARE(ambiente->ultimaBanda.stile, 1);
        QCOMPARE(ambiente->ultimaBanda.x1, 10.7);
        QCOMPARE(ambiente->ultimaBanda.x2, 18.0);

        clic(2, 25.2, 9.0);
        const Linea &l = slot(7, 1);
        QVERIFY(l.in_uso && l.trovata);
        QCOMPARE(l.barra_inizio, 10);
        QCOMPARE(l.barra_fine, 25);
        QCOMPARE(l.prezzo_inizio, 105.0);
        QCOMPARE(l.prezzo_fine, 109.0);
        QCOMPARE(l.colore, 34);
        QCOMPARE(ambiente->salvataggi, (QList<QPair<int, int>>{{7, 1}}));
        QCOMPARE(ambiente->timer, 1);
        QCOMPARE(ambiente->bandeNascoste, QList<int>{2});
        QCOMPARE(d().Modo_Disegno, QString());
        QCOMPARE(d().Numero_Puntatore, 0);
        QVERIFY(!d().Primo_Punto_Attivo);
        QCOMPARE(d().Punto_X[1], 0.0);
        QCOMPARE(modoPuntatore(2), 1);  // degree 7's own setting restored
    }

    // Prices are 100 + y on the test charts.
    void distanzaConDueClic_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<double>("xa");
        QTest::addColumn<double>("xb");
        QTest::addColumn<double>("ya");
        QTest::addColumn<double>("yb");
        QTest::addColumn<int>("etichetta");  // 0: under 2 bars, not placed
        QTest::addColumn<double>("prezzoEtichetta");
        QTest::addColumn<QString>("durata");
        QTest::newRow("esempio, giornaliero") << 2 << 100.4 << 120.7 << 2.0 << 3.0 << 110 << 102.5 << "20g ";
        QTest::newRow("da destra a sinistra") << 2 << 120.7 << 100.4 << 3.0 << 2.0 << 110 << 102.5 << "20g ";
        QTest::newRow("due barre") << 2 << 100.9 << 102.1 << 4.0 << 4.0 << 101 << 104.0 << "2g ";
        QTest::newRow("una barra") << 2 << 100.1 << 101.9 << 4.0 << 5.0 << 0 << 0.0 << "";
        QTest::newRow("15 minuti") << 7 << 10.0 << 30.0 << 1.0 << 5.0 << 20 << 103.0 << "";
    }
    void distanzaConDueClic()
    {
        QFETCH(int, grado);
        QFETCH(double, xa);
        QFETCH(double, xb);
        QFETCH(double, ya);
        QFETCH(double, yb);
        QFETCH(int, etichetta);
        QFETCH(double, prezzoEtichetta);
        QFETCH(QString, durata);
        stato->cicli.Conf_Grafici[2].grado = grado;
        stato->cicli.Grado_Corrente = grado;
        strumenti->Cmd_Distanza_Click(3);
        QCOMPARE(d().Modo_Disegno, QStringLiteral("DISTA33"));
        clic(2, xa, ya);
        strumenti->Graf_Battleplan_MouseMove(2, 50.0, 7.0);
        QCOMPARE(ambiente->ultimaBanda.stile, 2);
        clic(2, xb, yb);
        const Distanza &di = stato->disegno.Distanze[size_t(grado)][1];
        if (etichetta == 0) {
            QVERIFY(!di.in_uso);
            QVERIFY(ambiente->distanzeSalvate.isEmpty());
            QVERIFY(d().Primo_Punto_Attivo);  // the next click is a second click again
            QCOMPARE(d().Modo_Disegno, QStringLiteral("DISTA33"));
            return;
        }
        QVERIFY(di.in_uso && di.trovata);
        QCOMPARE(di.barra_inizio, int(xa));
        QCOMPARE(di.barra_fine, int(xb));
        QCOMPARE(di.prezzo_inizio, 100.0 + ya);
        QCOMPARE(di.prezzo_fine, 100.0 + yb);
        QCOMPARE(di.barra_etichetta, etichetta);
        QCOMPARE(di.prezzo_etichetta, prezzoEtichetta);
        QCOMPARE(di.colore, 33);
        QCOMPARE(di.durata,
                 durata.isEmpty() ? ciclo::Converti_Durata_Testo(stato->cicli, stato->archivio, grado, 20) : durata);
        QCOMPARE(ambiente->distanzeSalvate, (QList<QPair<int, int>>{{grado, 1}}));
        QCOMPARE(ambiente->timer, 1);
        QVERIFY(!d().Primo_Punto_Attivo);
        QCOMPARE(d().Modo_Disegno, QString());

        // Deleted with the distance tool: a click near the segment's line.
        strumenti->Cmd_Cancella_Distanza_Click();
        clic(2, 5.0, 0.5);  // nowhere near
        QVERIFY(di.in_uso);
        QCOMPARE(d().Modo_Disegno, QStringLiteral("CAN_D"));
        const double xm = (di.barra_inizio + di.barra_fine) / 2.0 + 0.5;
        const double pm = di.prezzo_inizio + (di.prezzo_fine - di.prezzo_inizio) * (xm - di.barra_inizio)
                                                 / (di.barra_fine - di.barra_inizio);
        clic(2, xm, pm - 100.0);
        QVERIFY(!di.in_uso);
        QCOMPARE(ambiente->distanzeSalvate.size(), 2);
        QCOMPARE(d().Modo_Disegno, QString());
    }

    void distanzeTabellaPiena()
    {
        for (int s = 1; s <= 15; ++s)
            stato->disegno.Distanze[7][size_t(s)] = Distanza{true, true, s, 100, s + 3, 101, 30, s + 1, 100.5, "x"};
        strumenti->Cmd_Distanza_Click(0);
        clic(2, 10, 5);
        QCOMPARE(ambiente->messaggi, QList<int>{3});
        QVERIFY(!d().Primo_Punto_Attivo);
        // A slot held by a distance waiting for its bars is no room; the waiting lines
        // of the degree are not counted.
        stato->disegno.Distanze[7][6] = Distanza{};
        stato->disegno.Distanze_In_Attesa[7][6] = {{QStringLiteral("C0"), QStringLiteral("1")}};
        stato->disegno.Linee_In_Attesa[7][2] = {{QStringLiteral("C0"), QStringLiteral("1")}};
        clic(2, 10, 5);
        QCOMPARE(ambiente->testi, (QStringList{disegno::Testo_Limite_In_Attesa(3, {1, 0})}));
        QVERIFY(ambiente->testi[0].contains(QStringLiteral("Distanze inseribili")) &&
                ambiente->testi[0].contains(QStringLiteral("una attende")));
        stato->disegno.Distanze_In_Attesa[7][6].clear();
        clic(2, 10, 5);
        clic(2, 30, 6);
        QCOMPARE(ambiente->distanzeSalvate, (QList<QPair<int, int>>{{7, 6}}));
    }

    void bandaSoloNellAreaDelCiclo_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<bool>("disegnata");
        // Durata + Scostamento_Ciclo = 160; Y axis 1 spans 0..28.
        QTest::newRow("dentro") << 50.0 << 14.0 << true;
        QTest::newRow("x = 1") << 1.0 << 14.0 << false;
        QTest::newRow("appena oltre 1") << 1.01 << 14.0 << true;
        QTest::newRow("fine del grafico") << 160.0 << 14.0 << false;
        QTest::newRow("y sul minimo") << 50.0 << 0.0 << false;
        QTest::newRow("y sul massimo") << 50.0 << 28.0 << false;
    }
    void bandaSoloNellAreaDelCiclo()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(bool, disegnata);
        // A line's first point, then the distance tool: the band takes the distance pen.
        strumenti->Cmd_Line_Click(0);
        clic(2, 20, 10);
        strumenti->Cmd_Distanza_Click(0);
        strumenti->Graf_Battleplan_MouseMove(2, x, y);
        QCOMPARE(ambiente->bandeMostrate, disegnata ? 1 : 0);
        QCOMPARE(d().Punto_X[2], disegnata ? x : 0.0);
        if (disegnata) {
            QCOMPARE(ambiente->ultimaBanda.spessore, 1);
            QCOMPARE(ambiente->ultimaBanda.stile, 2);
        }
    }

    void tabellaPiena()
    {
        for (int s = 1; s <= 15; ++s)
            slot(7, s) = Linea{true, true, s, 100, s + 1, 101, 30};
        strumenti->Cmd_Line_Click(0);
        clic(2, 10, 5);
        clic(2, 20, 6);
        QCOMPARE(ambiente->messaggi, (QList<int>{1, 1}));
        QVERIFY(ambiente->salvataggi.isEmpty());
        QVERIFY(!d().Primo_Punto_Attivo);
        QCOMPARE(d().Punto_X[1], 0.0);
        QCOMPARE(d().Modo_Disegno, QStringLiteral("LINEA30"));
        QCOMPARE(d().Numero_Puntatore, 0);

        // One slot freed: the next line goes there, whatever its number.
        slot(7, 9) = Linea{};
        clic(2, 10, 5);
        clic(2, 20, 6);
        QCOMPARE(ambiente->salvataggi, (QList<QPair<int, int>>{{7, 9}}));
        QCOMPARE(slot(7, 9).barra_fine, 20);
    }

    // Lines whose bars have left the history, lie on a holiday inside it, or lie beyond
    // the future axis, keep their slots and rows: with the others in use there is no
    // room, and the limit message says how many wait of each sort.
    void limiteConLineeFuoriPortata_data()
    {
        QTest::addColumn<QList<int>>("fuoriPortata");  // older than the history
        QTest::addColumn<QList<int>>("oltre");         // beyond the future axis
        QTest::addColumn<QList<int>>("festive");       // starting on a holiday of the history
        QList<int> tutte;
        for (int s = 1; s <= 15; ++s)
            tutte << s;
        const QList<int> nessuna;
        QTest::newRow("15 in attesa") << tutte << nessuna << nessuna;
        QTest::newRow("solo la nona in attesa") << QList<int>{9} << nessuna << nessuna;
        QTest::newRow("tutte collocate") << nessuna << nessuna << nessuna;
        QTest::newRow("15 oltre il grafico") << nessuna << tutte << nessuna;
        QTest::newRow("una di ogni sorta") << QList<int>{9} << QList<int>{3} << QList<int>{5};
        QTest::newRow("due vecchie, una oltre") << QList<int>{2, 9} << QList<int>{3} << nessuna;
        QTest::newRow("15 in un giorno festivo") << nessuna << nessuna << tutte;
        QTest::newRow("una festiva, una oltre") << nessuna << QList<int>{3} << QList<int>{4};
    }
    void limiteConLineeFuoriPortata()
    {
        QFETCH(QList<int>, fuoriPortata);
        QFETCH(QList<int>, oltre);
        QFETCH(QList<int>, festive);
        // 7 March had no session: its bars are not in the history, though the
        // future axis, which skips weekends only, once offered them.
        const QDate festivo(2024, 3, 7);
        QVERIFY(prova::TogliGiorno(stato->mercato.Storico_15M, festivo) > 0);
        CartellaTemporanea cartella;
        QVERIFY(archivio::Crea_Archivio(archivio::FileArchivio::Sistema1).ok);
        ambiente->archivio = stato.get();
        const QString tabella = QStringLiteral("Dati_Linee_S3");
        const auto valoriSlot = [&](int s) {
            const int k = fuoriPortata.contains(s) ? 5000 + s : 10 + s;
            const QDateTime inizio = festive.contains(s) ? QDateTime(festivo, QTime(10, 15 * (s % 4)))
                                                         : prova::TempoBarra(7, k);
            return prova::ValoriLinea(7, inizio,
                                      oltre.contains(s) ? prova::TempoFuturoProva(7, prova::Futuri_Prova + s)
                                                        : prova::TempoBarra(7, 1),
                                      QStringLiteral("100"), QStringLiteral("101"), QStringLiteral("33"));
        };
        {
            archivio::Connessione c(archivio::FileArchivio::Sistema1);
            for (int s = 1; s <= 15; ++s)
                QVERIFY(c.AggiornaRiga(tabella, 7 * 15 + s, valoriSlot(s)));
        }
        const archivio::EsitoCaricaOggetti esito = prova::Carica_Linee(*stato);
        QVERIFY(esito.ok);
        const QSet<int> maiPiu = QSet<int>(fuoriPortata.begin(), fuoriPortata.end()) +
                                 QSet<int>(festive.begin(), festive.end());
        QCOMPARE(esito.non_collocati, (maiPiu + QSet<int>(oltre.begin(), oltre.end())).size());
        QCOMPARE(disegno::Oggetti_In_Attesa(stato->mercato, stato->disegno, 1, 7).non_torneranno, maiPiu.size());

        strumenti->Cmd_Line_Click(0);
        clic(2, 10, 5);
        clic(2, 20, 6);
        for (int s = 1; s <= 15; ++s)
            for (const auto &[colonna, valore] : valoriSlot(s))
                QCOMPARE(ValoreArchivio(archivio::FileArchivio::Sistema1, tabella, colonna, 7 * 15 + s), valore);
        QVERIFY(ambiente->salvataggi.isEmpty());
        const int attesa = int(esito.non_collocati);
        const QString testo = disegno::Testo_Limite_In_Attesa(1, {attesa - int(maiPiu.size()), int(maiPiu.size())});
        QCOMPARE(ambiente->messaggi, (attesa == 0 ? QList<int>{1, 1} : QList<int>{}));
        QCOMPARE(ambiente->testi, (attesa == 0 ? QStringList{} : QStringList{testo, testo}));
        QCOMPARE(testo.contains(QStringLiteral("se ne liber")), !maiPiu.isEmpty());
    }

    void colpita_data()
    {
        QTest::addColumn<int>("sx");
        QTest::addColumn<double>("sp");
        QTest::addColumn<int>("ex");
        QTest::addColumn<double>("ep");
        QTest::addColumn<double>("cx");
        QTest::addColumn<double>("cp");
        QTest::addColumn<bool>("colpita");
        QTest::newRow("sulla linea") << 10 << 100.0 << 30 << 120.0 << 20.0 << 110.0 << true;
        QTest::newRow("vicino alla linea") << 10 << 100.0 << 30 << 120.0 << 20.0 << 111.0 << true;
        QTest::newRow("sulla barra iniziale") << 10 << 100.0 << 30 << 120.0 << 10.0 << 100.0 << false;
        QTest::newRow("sul bordo della finestra") << 10 << 100.0 << 30 << 120.0 << 30.3 << 120.0 << true;
        QTest::newRow("oltre la finestra") << 10 << 100.0 << 30 << 120.0 << 30.4 << 120.0 << false;
        QTest::newRow("prima della finestra") << 10 << 100.0 << 30 << 120.0 << 9.8 << 100.0 << false;
        QTest::newRow("lontano in prezzo") << 10 << 100.0 << 30 << 120.0 << 20.0 << 101.0 << false;
        QTest::newRow("da destra a sinistra") << 30 << 120.0 << 10 << 100.0 << 20.0 << 110.0 << true;
        QTest::newRow("da destra, finestra allargata") << 30 << 120.0 << 10 << 100.0 << 9.9 << 100.0 << true;
        QTest::newRow("fine sul bordo del 3%") << 10 << 100.0 << 30 << 1.03 * 100.0 << 20.0 << 100.0 << false;
        QTest::newRow("fine dentro il 3%") << 10 << 100.0 << 30 << 102.9 << 20.0 << 100.0 << true;
    }
    void colpita()
    {
        QFETCH(int, sx);
        QFETCH(double, sp);
        QFETCH(int, ex);
        QFETCH(double, ep);
        QFETCH(double, cx);
        QFETCH(double, cp);
        QFETCH(bool, colpita);
        QCOMPARE(disegno::LineaColpita(Linea{true, true, sx, sp, ex, ep, 30}, cx, cp), colpita);
    }

    void cancellaLaPrimaColpita()
    {
        slot(7, 3) = Linea{true, true, 10, 100, 30, 120, 30};
        slot(7, 5) = Linea{true, true, 10, 100, 30, 120, 32};
        slot(6, 1) = Linea{true, true, 10, 100, 30, 120, 32};
        strumenti->Cmd_Cancella_Linea_Click();
        clic(2, 20, 10);
        QVERIFY(!slot(7, 3).in_uso);
        QVERIFY(slot(7, 5).in_uso);
        QVERIFY(slot(6, 1).in_uso);
        QCOMPARE(ambiente->salvataggi, (QList<QPair<int, int>>{{7, 3}}));
        QCOMPARE(ambiente->timer, 1);
        QCOMPARE(d().Modo_Disegno, QString());
    }

    void cancellaNelVuoto()
    {
        slot(7, 3) = Linea{true, true, 10, 100, 30, 120, 30};
        strumenti->Cmd_Cancella_Linea_Click();
        clic(2, 80, 20);
        clic(2, 10, 0);  // exactly on the start bar
        QVERIFY(slot(7, 3).in_uso);
        QVERIFY(ambiente->salvataggi.isEmpty());
        QCOMPARE(ambiente->timer, 0);
        QCOMPARE(d().Modo_Disegno, QStringLiteral("CAN_L"));
    }

    void salvataggioFallito()
    {
        ambiente->salvaOk = false;
        strumenti->Cmd_Line_Click(0);
        clic(2, 10, 5);
        clic(2, 20, 6);
        QVERIFY(!slot(7, 1).in_uso);
        QCOMPARE(ambiente->errori.size(), 1);
        QVERIFY(ambiente->errori.first().contains(QStringLiteral("disco pieno")));

        slot(7, 2) = Linea{true, true, 10, 100, 30, 120, 30};
        strumenti->Cmd_Cancella_Linea_Click();
        clic(2, 20, 10);
        QVERIFY(slot(7, 2).in_uso);
        QCOMPARE(ambiente->errori.size(), 2);
    }

    void tastiAnnullano_data()
    {
        QTest::addColumn<int>("tasto");
        QTest::addColumn<bool>("annulla");
        QTest::newRow("Esc") << 27 << true;
        QTest::newRow("Backspace") << 8 << true;
        QTest::newRow("A") << 65 << false;
        QTest::newRow("Invio") << 13 << false;
    }
    void tastiAnnullano()
    {
        QFETCH(int, tasto);
        QFETCH(bool, annulla);
        strumenti->Cmd_Line_Click(2);
        clic(2, 10, 5);
        strumenti->Graf_Battleplan_KeyDown(2, tasto);
        QCOMPARE(d().Modo_Disegno, annulla ? QString() : QStringLiteral("LINEA32"));
        QCOMPARE(d().Numero_Puntatore, annulla ? 0 : 3);
        QCOMPARE(d().Primo_Punto_Attivo, !annulla);
        QCOMPARE(d().Punto_X[1], annulla ? 0.0 : 10.0);
        QCOMPARE(ambiente->bandeNascoste, annulla ? QList<int>{2} : QList<int>{});
        QCOMPARE(modoPuntatore(2), annulla ? 1 : 0);
        QVERIFY(ambiente->salvataggi.isEmpty());
    }

    void clicSenzaStrumento()
    {
        clic(2, 10, 5);
        clic(2, 20, 5);
        QVERIFY(!slot(7, 1).in_uso);
        QVERIFY(!d().Primo_Punto_Attivo);
        QVERIFY(ambiente->salvataggi.isEmpty());
    }

    void bloccoGrafici()
    {
        stato->shell.Blocco_Grafici = true;
        strumenti->Cmd_Line_Click(0);
        strumenti->Graf_Battleplan_MouseMove(1, 42, 7);
        QCOMPARE(ambiente->puntatore, 1);
        QCOMPARE(d().Mouse_X_Graf, 0.0);
        QCOMPARE(stato->cicli.Grafico_Corrente, 2);
    }

    void secondoClicSuUnAltroGrafico()
    {
        // The pending point belongs to slot 2 (degree 7): a click on slot 3 starts a new line there.
        strumenti->Cmd_Line_Click(0);
        clic(2, 10, 5);
        clic(3, 20, 6);
        QCOMPARE(stato->cicli.Grafico_Corrente, 3);
        QCOMPARE(stato->cicli.Grado_Corrente, 8);
        QVERIFY(!slot(7, 1).in_uso);
        QVERIFY(!slot(8, 1).in_uso);
        QCOMPARE(ambiente->bandeNascoste, QList<int>{2});
        QVERIFY(d().Primo_Punto_Attivo);
        QCOMPARE(d().Grafico_Primo_Punto, 3);
        clic(3, 30, 7);
        QCOMPARE(slot(8, 1).barra_inizio, 20);
        QCOMPARE(slot(8, 1).barra_fine, 30);
    }

    void altroStrumentoEPuntoInAttesa()
    {
        strumenti->Cmd_Line_Click(0);
        clic(2, 10, 5);
        strumenti->Cmd_Distanza_Click(1);  // the same kind of two-point tool keeps the point
        QVERIFY(d().Primo_Punto_Attivo);
        strumenti->Cmd_Testo_Click(0);     // any other tool drops it
        QVERIFY(!d().Primo_Punto_Attivo);
        QCOMPARE(d().Punto_X[1], 0.0);
        QCOMPARE(ambiente->bandeNascoste, QList<int>{2});
    }

    void puntatoreDelGrafico()
    {
        strumenti->Cmd_Punt_Graf_Click();
        QCOMPARE(stato->cicli.Modo_Mouse_Grado[7], 0);
        QCOMPARE(modoPuntatore(2), 0);
        strumenti->Cmd_Punt_Graf_Click();
        QCOMPARE(stato->cicli.Modo_Mouse_Grado[7], 1);
        QCOMPARE(modoPuntatore(2), 1);
        QCOMPARE(ambiente->parametri, (QList<int>{7, 7}));
        QCOMPARE(ambiente->codici, (QList<QChar>{QLatin1Char('L'), QLatin1Char('L')}));
    }

    void ripristinoSuOgniGrafico()
    {
        // Tool chosen on slot 2, finished on slot 1: both get their degree's setting back.
        stato->cicli.Modo_Mouse_Grado[6] = 1;
        strumenti->Cmd_Line_Click(0);
        QCOMPARE(modoPuntatore(2), 0);
        strumenti->Graf_Battleplan_MouseMove(1, 10, 5);
        strumenti->Graf_Battleplan_KeyDown(1, 27);
        QCOMPARE(modoPuntatore(1), 1);
        QCOMPARE(modoPuntatore(2), 1);
    }

    void spostamento_data()
    {
        QTest::addColumn<int>("delta");
        QTest::newRow("nessuno") << 0;
        QTest::newRow("10 barre indietro") << 10;
        QTest::newRow("10 barre avanti") << -10;
    }
    void spostamento()
    {
        QFETCH(int, delta);
        const int b = prova::Barre_Ciclo_Prova;
        slot(7, 4) = Linea{true, true, 5, 100, 20, 110, 30};
        slot(7, 6) = Linea{true, false, 0, 100, 0, 110, 30};  // in use without a position
        slot(6, 1) = Linea{true, true, 5, 100, 20, 110, 30};
        d().Testi[7][1] = Testo{true, true, 0, 100, 30, QStringLiteral("a")};
        d().Testi[7][2] = Testo{true, true, 3, 100, 30, QStringLiteral("b")};
        d().Testi[7][3] = Testo{false, false, 0, 0, 0, QStringLiteral("@")};
        d().Distanze[7][1] = Distanza{true, true, 4, 100, 14, 110, 32, 9, 105, QStringLiteral("2h 30m")};
        controlli->hsc[2].Imposta_Valore(b + delta);

        strumenti->Sposta_Disegni_AsseX();
        QCOMPARE(slot(7, 4).barra_inizio, 5 + delta);
        QCOMPARE(slot(7, 4).barra_fine, 20 + delta);
        QCOMPARE(slot(7, 4).prezzo_inizio, 100.0);
        QCOMPARE(slot(7, 6).barra_inizio, 0);
        QCOMPARE(slot(6, 1).barra_inizio, 5);
        QCOMPARE(d().Testi[7][1].barra, 0 + delta);
        QCOMPARE(d().Testi[7][2].barra, 3 + delta);
        QCOMPARE(d().Testi[7][3].barra, 0);
        QCOMPARE(d().Distanze[7][1].barra_inizio, 4 + delta);
        QCOMPARE(d().Distanze[7][1].barra_fine, 14 + delta);
        QCOMPARE(d().Distanze[7][1].barra_etichetta, 9 + delta);
        QCOMPARE(d().Distanze[7][1].prezzo_etichetta, 105.0);
        QCOMPARE(ambiente->salvataggi.size(), 0);

        stato->shell.Blocco_Grafici = true;
        controlli->hsc[2].Imposta_Valore(b + delta + 50);
        strumenti->Sposta_Disegni_AsseX();
        QCOMPARE(slot(7, 4).barra_inizio, 5 + delta);
    }

    void lineeSulGrafico()
    {
        slot(7, 15) = Linea{true, true, 1, 101, 40, 102.5, 33};
        slot(7, 2) = Linea{true, false, 0, 100, 0, 110, 30};  // without a position: not drawn
        slot(7, 3) = Linea{false, false, 5, 100, 6, 110, 30};
        d().Distanze[7][4] = Distanza{true, true, 4, 100, 14, 110, 32, 9, 105, QStringLiteral("x")};
        GraficoRegistratore ctl;
        ContestoGrafico c{stato->shell, stato->archivio, stato->mercato, stato->cicli, ctl, 2, 7};
        disegno::Disegna_Linee_Utente(c, stato->disegno);
        const auto punti = [&](int i) {
            const std::vector<QPointF> &v = ctl.serie()[size_t(i)].punti;
            return QList<QPointF>(v.begin(), v.end());
        };
        QCOMPARE(ctl.serie().size(), size_t(2));
        QCOMPARE(ctl.serie()[0].colore, std::optional<ColoreWin>(stato->cicli.Colori[33]));
        QCOMPARE(ctl.serie()[0].spessore, 2);
        QCOMPARE(ctl.serie()[0].stile, 1);
        QCOMPARE(ctl.indice(QStringLiteral("Tipo_Punto_Serie(0)")), ctl.indice(QStringLiteral("Nuova_Serie")) + 2);
        QCOMPARE(punti(0), (QList<QPointF>{{1, 101}, {40, 102.5}}));
        QCOMPARE(ctl.serie()[1].colore, std::optional<ColoreWin>(stato->cicli.Colori[32]));
        QCOMPARE(ctl.serie()[1].spessore, 1);
        QCOMPARE(ctl.serie()[1].stile, 2);
        QCOMPARE(punti(1), (QList<QPointF>{{4, 100}, {14, 110}}));
    }

    // Every kind dates a point with the bar it is drawn on (one mapping): history row
    // B + 1 - x, future entry x - B; daily degrees show no time but for a text's future point.
    void dateOggetti_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("riga");    // history row, 0 when on the future axis
        QTest::addColumn<int>("futuro");  // future entry, 0 when in the history
        const int b = prova::Barre_Ciclo_Prova;
        for (int grado : {7, 2}) {
            const QByteArray g = grado == 7 ? "15 minuti" : "giornaliero";
            QTest::addRow("%s, barra piu' recente", g.constData()) << grado << b << 1 << 0;
            QTest::addRow("%s, primo futuro", g.constData()) << grado << b + 1 << 0 << 1;
            QTest::addRow("%s, futuro 6", g.constData()) << grado << b + 6 << 0 << 6;
            QTest::addRow("%s, inizio ciclo", g.constData()) << grado << 1 << b << 0;
            QTest::addRow("%s, prima dell'inizio", g.constData()) << grado << -3 << b + 4 << 0;
            QTest::addRow("%s, oltre lo storico", g.constData()) << grado << -9000 << 0 << 0;
        }
    }
    void dateOggetti()
    {
        QFETCH(int, grado);
        QFETCH(int, x);
        QFETCH(int, riga);
        QFETCH(int, futuro);
        const bool giornaliero = grado <= 3;
        const QDateTime atteso = riga ? prova::TempoBarra(grado, riga)
                                      : futuro ? prova::TempoFuturoProva(grado, futuro) : QDateTime();
        d().Linee[size_t(grado)][2] = Linea{true, true, x, 100, x, 101, 30};
        d().Testi[size_t(grado)][3] = Testo{true, true, x, 100, 30, QStringLiteral("t")};
        d().Distanze[size_t(grado)][4] = Distanza{true, true, x, 100, x, 101, 30, x, 100, QStringLiteral("d")};
        const disegno::DateOggetto dl = disegno::Calcola_Date_Linea(stato->mercato, stato->cicli, d(), grado, 2);
        const disegno::DateOggetto dt = disegno::Calcola_Date_Testo(stato->mercato, stato->cicli, d(), grado, 3);
        const disegno::DateOggetto dd = disegno::Calcola_Date_Distanza(stato->mercato, stato->cicli, d(), grado, 4);
        for (const disegno::DataPunto &p : {dl.inizio, dl.fine, dt.inizio, dd.inizio, dd.fine}) {
            QCOMPARE(p.valida, atteso.isValid());
            if (!p.valida)
                continue;
            QCOMPARE(p.data, atteso.date());
            if (p.con_ora)
                QCOMPARE(p.minuti, atteso.time().hour() * 60 + atteso.time().minute());
        }
        QCOMPARE(dl.inizio.con_ora, atteso.isValid() && !giornaliero);
        QCOMPARE(dd.fine.con_ora, atteso.isValid() && !giornaliero);
        QCOMPARE(dt.inizio.con_ora, atteso.isValid() && (!giornaliero || futuro > 0));
    }

    // With the real store: what is in memory after a shift or a new bar is what a
    // reload finds, so the objects stay on their bars.
    void restaSulleSueBarre_data()
    {
        QTest::addColumn<int>("barreDopo");
        QTest::addColumn<int>("nuoveBarre");
        // A load with a one-bar future axis (the cycle start at the far end): the
        // objects on later future bars wait, and come back once the axis is longer.
        QTest::addColumn<bool>("futuroCorto");
        const int b = prova::Barre_Ciclo_Prova;
        for (bool corto : {false, true}) {
            const char *asse = corto ? ", futuro corto al caricamento" : "";
            QTest::addRow("inizio ciclo 10 barre indietro%s", asse) << b + 10 << 0 << corto;
            QTest::addRow("inizio ciclo 30 barre avanti%s", asse) << b - 30 << 0 << corto;
            QTest::addRow("nuova barra%s", asse) << b + 1 << 1 << corto;
            QTest::addRow("nuova barra a posizione bloccata%s", asse) << b << 1 << corto;
            QTest::addRow("posizione riportata a 10%s", asse) << 10 << 0 << corto;
        }
    }
    void restaSulleSueBarre()
    {
        QFETCH(int, barreDopo);
        QFETCH(int, nuoveBarre);
        QFETCH(bool, futuroCorto);
        CartellaTemporanea cartella;
        QVERIFY(archivio::Crea_Archivio(archivio::FileArchivio::Sistema1).ok);
        ambiente->archivio = stato.get();

        // A line from the cycle-start bar into the future axis.
        strumenti->Cmd_Line_Click(3);
        clic(2, 1.4, 5);
        clic(2, prova::Barre_Ciclo_Prova + 12.5, 6);
        QVERIFY(ambiente->errori.isEmpty());
        QCOMPARE(slot(7, 1).barra_inizio, 1);
        // A text and a distance on the same degree, saved beside it.
        d().Testi[7][2] = Testo{true, true, 40, 104, 33, QStringLiteral("t")};
        d().Distanze[7][3] = Distanza{true, true, 30, 101, 110, 103, 32, 70, 102, QStringLiteral("2h")};
        d().Testi[7][5] = Testo{true, true, prova::Barre_Ciclo_Prova + 5, 104, 32, QStringLiteral("futuro")};
        QVERIFY(prova::Salva_Testo(*stato, 7, 2));
        QVERIFY(prova::Salva_Distanza(*stato, 7, 3));
        QVERIFY(prova::Salva_Testo(*stato, 7, 5));

        if (QByteArray(QTest::currentDataTag()).startsWith("inizio ciclo")) {
            controlli->hsc[2].Imposta_Valore(barreDopo);
            strumenti->Sposta_Disegni_AsseX();
        } else if (nuoveBarre > 0) {
            // The series gains a bar on top; the future axis starts one bar later.
            SerieStorico &serie = stato->mercato.Storico_15M;
            auto &barre = serie.barre();
            barre.insert(barre.begin(), BarraStorico{prova::Ultima_Barra.date(), 17 * 60 + 15, 1, 1});
            barre.pop_back();
            auto &futuri = stato->cicli.Tempi_Futuri[7];
            futuri.erase(futuri.begin());
        }
        stato->cicli.Barre_Ciclo[7] = barreDopo;
        std::array<int, costanti::Num_Gradi> nuove{};
        nuove[7] = nuoveBarre;
        disegno::Riallinea_Disegni(stato->cicli, stato->disegno, nuove);
        const Linea inMemoria = slot(7, 1);
        const Testo testo = d().Testi[7][2];
        const Distanza distanza = d().Distanze[7][3];
        const Testo testoFuturo = d().Testi[7][5];

        stato->disegno.Linee = {};
        const std::vector<TempoFuturo> futuri = stato->cicli.Tempi_Futuri[7];
        if (futuroCorto)
            stato->cicli.Tempi_Futuri[7].resize(1);
        QVERIFY(prova::Carica_Linee(*stato).ok);
        QVERIFY(prova::Carica_Testi(*stato).ok);
        QVERIFY(prova::Carica_Distanze(*stato).ok);
        if (futuroCorto) {
            QVERIFY(!slot(7, 1).in_uso && !d().Testi[7][5].in_uso && !d().Distanze[7][3].in_uso);
            QCOMPARE(disegno::Colloca_Oggetti_In_Attesa(stato->mercato, stato->cicli, stato->disegno, 7), 0);
            // A shift, a duration change or a scroll computes the longer axis again.
            stato->cicli.Tempi_Futuri[7] = futuri;
            QCOMPARE(disegno::Colloca_Oggetti_In_Attesa(stato->mercato, stato->cicli, stato->disegno, 7), 3);
            QCOMPARE(disegno::Colloca_Oggetti_In_Attesa(stato->mercato, stato->cicli, stato->disegno, 7), 0);
        }
        QVERIFY(d().Testi[7][5].trovata);
        QCOMPARE(d().Testi[7][5].barra, testoFuturo.barra);
        QCOMPARE(d().Testi[7][5].testo, QStringLiteral("futuro"));
        QVERIFY(d().Testi[7][2].trovata && d().Distanze[7][3].trovata);
        QCOMPARE(d().Testi[7][2].barra, testo.barra);
        QCOMPARE(d().Distanze[7][3].barra_inizio, distanza.barra_inizio);
        QCOMPARE(d().Distanze[7][3].barra_fine, distanza.barra_fine);
        QCOMPARE(d().Distanze[7][3].barra_etichetta, distanza.barra_etichetta);
        QVERIFY(slot(7, 1).trovata);
        QCOMPARE(slot(7, 1).barra_inizio, inMemoria.barra_inizio);
        QCOMPARE(slot(7, 1).barra_fine, inMemoria.barra_fine);
        QCOMPARE(slot(7, 1).prezzo_fine, 106.0);
        QCOMPARE(slot(7, 1).colore, 33);
    }
};

QTEST_GUILESS_MAIN(StrumentiLineeTest)
#include "StrumentiLineeTest.moc"
