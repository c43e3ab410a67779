#include "Confronto.h"
#include "SlotGraficoProva.h"

#include "Stato.h"
#include "cycle/BarreGrafico.h"
#include "cycle/DurataTesto.h"
#include "cycle/ScalaPrezzo.h"
#include "cycle/TestiCiclo.h"
#include "platform/DataOra.h"
#include "platform/VbRuntime.h"
#include "shell/DisegnaGrafico.h"

#include <QtTest>
#include <memory>

// Cycle texts, the price axis range and the chart scroll bars.
class SezioniCicloTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Stato> stato;

    QString durata(int barre) const { return ciclo::Converti_Durata_Testo(stato->cicli, stato->archivio, 8, barre); }
    QString barra(int riga) const
    {
        const BarraStorico &b = stato->mercato.Storico_15M.barra(riga);
        return dataora::ScriviData(b.data, stato->shell.Formato_Data) + QLatin1Char(' ')
               + dataora::ScriviOra(b.minuti, stato->shell.Formato_Ora);
    }
    QString futuro(int entrata) const
    {
        const TempoFuturo &t = stato->cicli.Tempi_Futuri[8].at(size_t(entrata - 1));
        return dataora::ScriviData(t.data, stato->shell.Formato_Data) + QLatin1Char(' ')
               + dataora::ScriviOra(t.minuti, stato->shell.Formato_Ora);
    }
    static SerieStorico serie(int capacita, const std::function<double(int)> &chiusura)
    {
        SerieStorico s(capacita);
        for (int r = 1; r <= capacita; ++r)
            s.barra(r) = {QDate(2025, 1, 1).addDays(-r), 0, chiusura(r), 0};
        return s;
    }

private slots:
    void init()
    {
        stato = std::make_unique<Stato>();
        PreparaStatoGrafico(*stato, 0, 8);
    }

    void testiDelCiclo_data()
    {
        QTest::addColumn<double>("durataCiclo");
        QTest::addColumn<int>("barre");
        QTest::addColumn<QString>("fine");       // "b<row>" history, "f<entry>" future
        QTest::addColumn<bool>("terminato");
        QTest::addColumn<int>("residuo");        // bars left, 0 when ended
        QTest::newRow("fine sull'ultima barra") << 200.0 << 200 << "b1" << false << 0;
        QTest::newRow("una barra oltre") << 200.0 << 201 << "b2" << true << 0;
        QTest::newRow("tre barre al termine") << 200.0 << 197 << "f3" << false << 3;
        QTest::newRow("mezza barra al termine") << 200.5 << 200 << "b1" << false << 0;
        QTest::newRow("ben oltre") << 200.0 << 260 << "b61" << true << 0;
    }
    void testiDelCiclo()
    {
        QFETCH(double, durataCiclo);
        QFETCH(int, barre);
        QFETCH(QString, fine);
        QFETCH(bool, terminato);
        QFETCH(int, residuo);
        stato->cicli.Durata[8] = durataCiclo;
        stato->cicli.Barre_Ciclo[8] = barre;
        RicalcolaCiclo(*stato, 8);
        const TestiCiclo t = ciclo::Componi_Testi_Ciclo(stato->shell, stato->archivio, stato->mercato, stato->cicli, 8);
        QVERIFY(t.fineValida);
        const int n = fine.mid(1).toInt();
        QCOMPARE(t.fine, QStringLiteral("Data Fine Ciclo: ") + (fine.startsWith(QLatin1Char('b')) ? barra(n) : futuro(n)));
        QCOMPARE(t.trascorso, terminato ? QStringLiteral(" Ciclo Iniziato da: Terminato")
                                        : QStringLiteral(" Ciclo Iniziato da: ") + durata(barre) + QStringLiteral("  "));
        QCOMPARE(t.residuo, residuo > 0 ? QStringLiteral("Termine al Ciclo: -") + durata(residuo)
                                        : QStringLiteral("Termine al Ciclo: Terminato"));
        QCOMPARE(t.durata, durata(vb::CInt(durataCiclo)));
        // The start text names the cycle-start bar, the oldest of the cycle.
        QCOMPARE(t.inizio, QStringLiteral(" Data Inizio Ciclo: ") + barra(barre));
    }

    void fineOltreLAsseFuturoNonScritta()
    {
        stato->cicli.Barre_Ciclo[8] = 190;
        stato->cicli.Tempi_Futuri[8].resize(5);
        QVERIFY(!ciclo::Componi_Testi_Ciclo(stato->shell, stato->archivio, stato->mercato, stato->cicli, 8).fineValida);
        stato->cicli.Barre_Ciclo[8] = 6000;  // the end bar lies past the loaded history
        QVERIFY(!ciclo::Componi_Testi_Ciclo(stato->shell, stato->archivio, stato->mercato, stato->cicli, 8).fineValida);
    }

    void inizioConIFormatiUs()
    {
        stato->shell.Formato_Data = QStringLiteral("MM/DD/YY");
        stato->shell.Formato_Ora = QStringLiteral("h:mm AM/PM");
        stato->cicli.Data_Inizio_Ciclo[8] = QDate(2025, 12, 3);
        stato->cicli.Ora_Inizio_Ciclo[8] = 21 * 60 + 15;
        QCOMPARE(ciclo::Componi_Testi_Ciclo(stato->shell, stato->archivio, stato->mercato, stato->cicli, 8).inizio,
                 QStringLiteral(" Data Inizio Ciclo: 12/03/25 9:15 PM"));
    }

    void testiSulGrafico()
    {
        ControlliMemoria controlli;
        finestra::Disegna_Grafico(*stato, controlli, 0, 8);
        const auto &testi = controlli.grafici[0].testi();
        QCOMPARE(int(testi.size()), 6);  // watermark and the five cycle texts
        struct Atteso {
            double x, y;
            int allineamento, colore;
        };
        const Atteso attesi[5] = {{200, 9, 2, 81}, {1, 28, 0, 81}, {250, 28, 2, 81}, {1, 26.5, 0, 12}, {250, 26.5, 2, 82}};
        for (int i = 0; i < 5; ++i) {
            const TestoGrafico &t = testi[size_t(i + 1)];
            QCOMPARE(t.x, attesi[i].x);
            QCOMPARE(t.y, attesi[i].y);
            QCOMPARE(t.allineamento, attesi[i].allineamento);
            QCOMPARE(t.colore, stato->cicli.Colori[size_t(attesi[i].colore)]);
            QCOMPARE(t.asseX, 1);
            QCOMPARE(t.asseY, 1);
            QCOMPARE(t.modo, 2);
            QCOMPARE(t.font, QStringLiteral("Font=Arial|8|bold|"));
        }
    }

    void scalaPrezzo_data()
    {
        QTest::addColumn<int>("passo");  // close of row r = base + passo * r
        QTest::addColumn<double>("base");
        QTest::addColumn<double>("estensione");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("valore");
        QTest::addColumn<double>("minimo");
        QTest::addColumn<double>("massimo");
        QTest::newRow("zoom 7 al centro") << 10 << 1000.0 << 100.0 << 7.0 << 50 << 1010.0 << 2000.0;
        QTest::newRow("zoom 0 allarga del 70%") << 10 << 1000.0 << 100.0 << 0.0 << 50 << 317.0 << 2693.0;
        QTest::newRow("zoom 10 stringe del 30%") << 10 << 1000.0 << 100.0 << 10.0 << 50 << 1307.0 << 1703.0;
        QTest::newRow("barra a 60") << 10 << 1000.0 << 100.0 << 7.0 << 60 << 911.0 << 1802.0;
        QTest::newRow("fondo tenuto a 0") << 10 << 0.0 << 100.0 << 0.0 << 50 << 0.0 << 1693.0;
        QTest::newRow("a 0 poi spostato") << 10 << 0.0 << 100.0 << 0.0 << 40 << 169.3 << 2031.6;
        QTest::newRow("piatto") << 0 << 500.0 << 100.0 << 3.0 << 70 << 500.0 << 500.0;
        QTest::newRow("100.5 barre pari in basso") << 10 << 1000.0 << 100.5 << 7.0 << 50 << 1010.0 << 2000.0;
        QTest::newRow("101.5 barre pari in alto") << 10 << 1000.0 << 101.5 << 7.0 << 50 << 1010.0 << 2020.0;
        QTest::newRow("serie corta") << 10 << 1000.0 << 400.0 << 7.0 << 50 << 1010.0 << 4000.0;
    }
    void scalaPrezzo()
    {
        QFETCH(int, passo);
        QFETCH(double, base);
        QFETCH(double, estensione);
        QFETCH(double, zoom);
        QFETCH(int, valore);
        QFETCH(double, minimo);
        QFETCH(double, massimo);
        const SerieStorico s = serie(300, [&](int r) { return base + passo * r; });
        const IntervalloPrezzo i = ciclo::Calcola_Scala_Prezzo(s, estensione, zoom, 10, valore, 100);
        QVERIFY(i.valido);
        QCOMPARE_FUZZY(i.minimo, minimo);
        QCOMPARE_FUZZY(i.massimo, massimo);
    }

    void scalaPrezzoSenzaBarre()
    {
        const IntervalloPrezzo i = ciclo::Calcola_Scala_Prezzo(SerieStorico(100), 50, 7, 10, 50, 100);
        QVERIFY(!i.valido);
        QVERIFY(std::isfinite(i.minimo) && std::isfinite(i.massimo));
        // A zero slider maximum gives no step rather than a division by zero.
        const IntervalloPrezzo j = ciclo::Calcola_Scala_Prezzo(serie(10, [](int r) { return r; }), 10, 0, 0, 60, 0);
        QCOMPARE(j.minimo, 1.0);
        QCOMPARE(j.massimo, 10.0);
    }

    void barreDiScorrimento_data()
    {
        QTest::addColumn<int>("posizione");
        QTest::addColumn<int>("barre");
        QTest::addColumn<double>("estensione");
        QTest::addColumn<int>("valoreY");
        QTest::addColumn<int>("valoreX");
        QTest::addColumn<int>("fineX");
        QTest::newRow("nei limiti") << 37 << 120 << 250.0 << 37 << 120 << 250;
        QTest::newRow("posizione 0") << 0 << 120 << 250.0 << 50 << 120 << 250;
        QTest::newRow("posizione 101") << 101 << 120 << 250.0 << 50 << 120 << 250;
        QTest::newRow("estremi compresi") << 100 << 250 << 250.0 << 100 << 250 << 250;
        QTest::newRow("ciclo oltre l'estensione") << 1 << 251 << 250.0 << 1 << 10 << 250;
        QTest::newRow("276.5 pari in basso") << 50 << 277 << 276.5 << 50 << 10 << 276;
        QTest::newRow("277.5 pari in alto") << 50 << 278 << 277.5 << 50 << 278 << 278;
    }
    void barreDiScorrimento()
    {
        QFETCH(int, posizione);
        QFETCH(int, barre);
        QFETCH(double, estensione);
        QFETCH(int, valoreY);
        QFETCH(int, valoreX);
        QFETCH(int, fineX);
        stato->cicli.Posizione_Asse_Y[8] = posizione;
        stato->cicli.Barre_Ciclo[8] = barre;
        stato->cicli.Durata[8] = estensione - 50;
        stato->cicli.Scostamento_Ciclo[8] = 50;
        ControlliMemoria controlli;
        stato->shell.Blocco_Aggiornamento = false;
        bool bloccoDurante = false;
        // The flag is up while the bars change, so their change handlers ignore the echo.
        struct Spia : BarraValori {
            bool *durante = nullptr;
            const bool *flag = nullptr;
            void Imposta_Valore(int v) override
            {
                *durante = *flag;
                BarraValori::Imposta_Valore(v);
            }
        } spia;
        spia.durante = &bloccoDurante;
        spia.flag = &stato->shell.Blocco_Aggiornamento;
        controlli.hsc[0] = {};
        ciclo::Imposta_Barre_Grafico(stato->shell, stato->cicli, controlli, 0, 8);
        QCOMPARE(controlli.hscY[0].Min(), 100);
        QCOMPARE(controlli.hscY[0].Max(), 1);
        QCOMPARE(controlli.hscY[0].Valore(), valoreY);
        QCOMPARE(stato->cicli.Posizione_Asse_Y[8], valoreY);
        QCOMPARE(controlli.hsc[0].Min(), 1);
        QCOMPARE(controlli.hsc[0].Max(), fineX);
        QCOMPARE(controlli.hsc[0].Valore(), valoreX);
        QCOMPARE(stato->cicli.Barre_Ciclo[8], valoreX);
        QVERIFY(!stato->shell.Blocco_Aggiornamento);

        // A caller already holding the flag keeps it afterwards.
        struct Una : ControlliMemoria {
            BarraScorrimento *barra = nullptr;
            BarraScorrimento *Hsc_Graf_Y(int) override { return barra; }
        } una;
        una.barra = &spia;
        stato->shell.Blocco_Aggiornamento = true;
        ciclo::Imposta_Barre_Grafico(stato->shell, stato->cicli, una, 0, 8);
        QVERIFY(bloccoDurante);
        QVERIFY(stato->shell.Blocco_Aggiornamento);
    }

    void tutteLeBarreDeiQuattroSlot()
    {
        ControlliMemoria controlli;
        for (int s = 0; s < 4; ++s)
            stato->cicli.Conf_Grafici[size_t(s)] = {1, 8, s};
        stato->cicli.Barre_Ciclo[8] = 77;
        ciclo::Imposta_Barre_Grafici(stato->shell, stato->cicli, controlli);
        for (int s = 0; s < 4; ++s)
            QCOMPARE(controlli.hsc[size_t(s)].Valore(), 77);
    }
};

QTEST_GUILESS_MAIN(SezioniCicloTest)
#include "SezioniCicloTest.moc"
