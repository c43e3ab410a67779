// The engine: which items a dispatch runs, redraws, the loading banner, the
// window's enabled state and requests that arrive while a run is in progress.

#include "GraficoRegistratore.h"
#include "ProvaIndicatori.h"
#include "indicators/MotoreIndicatori.h"
#include "indicators/TabellaIndicatori.h"

#include <QtTest>
#include <functional>

using namespace indicatori;

namespace {

class AmbienteProva : public AmbienteIndicatori {
public:
    void Disegna_Grafico(int grafico, int grado) override
    {
        disegni << QStringLiteral("%1:%2").arg(grafico).arg(grado);
        if (dentroDisegno)
            dentroDisegno(grafico);
    }
    GraficoControllo *Grafico(int grafico) override { return &grafici[size_t(grafico)]; }
    void Disabilita_Finestra() override
    {
        ++disabilitata;
        ++disabilitazioni;
    }
    void Abilita_Finestra() override { --disabilitata; }

    std::array<GraficoRegistratore, 4> grafici;
    QStringList disegni;
    int disabilitata = 0;      // counter: 0 means enabled
    int disabilitazioni = 0;
    std::function<void(int)> dentroDisegno;
};

}  // namespace

class MotoreIndicatoriTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Stato> stato;
    std::unique_ptr<AmbienteProva> ambiente;
    std::unique_ptr<MotoreIndicatori> motore;

    void mostra(int slot, int grado)
    {
        stato->cicli.Conf_Grafici[size_t(slot)] = {1, grado, slot};
        prova::Cammino(*stato, grado, quint32(grado + 1));
        prova::Durate(*stato, grado, 160.0, 400.0);
        stato->cicli.Barre_Ciclo[size_t(grado)] = 120;
    }

private slots:
    void init()
    {
        stato = prova::NuovoStato();
        stato->cicli.Colori[81] = 0x00ABCDEF;
        ambiente = std::make_unique<AmbienteProva>();
        motore = std::make_unique<MotoreIndicatori>(stato->shell, stato->archivio, stato->mercato, stato->cicli,
                                                    stato->indicatori, ambiente.get());
        for (int s = 0; s < 4; ++s)
            mostra(s, s * 3 + 1);  // degrees 1, 4, 7, 10
    }

    void soloIlValoreUnoAccende()
    {
        stato->indicatori.Ind_Attivo[4][0] = 2;
        stato->indicatori.Ind_Attivo[4][1] = 1;
        stato->indicatori.Ind_Media_C2(4, 1) = -5.0;
        motore->Aggiorna_Indicatori(1);
        QCOMPARE(stato->indicatori.Ind_Media_C2(4, 1), -5.0);
        QVERIFY(stato->indicatori.Ind_Media_C4(4, 1) > 0.0);
        QCOMPARE(ambiente->disegni, QStringList{QStringLiteral("1:4")});
    }

    void ognunoDeiVentiItemScriveLeSueRighe()
    {
        for (int k = 0; k < Num_Item; ++k)
            stato->indicatori.Ind_Attivo[7][size_t(k)] = 1;
        stato->indicatori.Periodo_Utente_1[7] = QStringLiteral("10");
        stato->indicatori.Periodo_Utente_2[7] = QStringLiteral("30");
        motore->Aggiorna_Indicatori(2);
        const StatoIndicatori &o = stato->indicatori;
        for (const ArrayIndicatore *a : {&o.Ind_Media_C2, &o.Ind_Media_C16, &o.Ind_Media_Utente_1, &o.Ind_Media_Utente_2,
                                         &o.Ind_Centrata_C2, &o.Ind_Centrata_C16})
            QVERIFY((*a)(7, 1) > 19000.0);
        for (const ArrayIndicatore *a : {&o.Ind_Stoc_Dist_Min_Media, &o.Ind_Velocita_C2_Media, &o.Ind_Velocita_C4_Media,
                                         &o.Ind_Velocita_C8_Media, &o.Ind_Velocita_Centrata_Media, &o.Ind_Osc_C4_C2,
                                         &o.Ind_Osc_C8_C4, &o.Ind_Osc_C16_C8, &o.Ind_Osc_C8_C2})
            QVERIFY((*a)(7, 1) != Vuoto_Oscillatore);
        QVERIFY(o.Profilo_Volumi[7].calcolato());
    }

    void bloccoGraficiCalcolaSenzaDisegnareNeBanner()
    {
        stato->shell.Blocco_Grafici = true;
        stato->indicatori.Ind_Attivo[1][0] = 1;
        stato->indicatori.Ind_Attivo[1][19] = 1;
        motore->Aggiorna_Indicatori_Grafici();
        QVERIFY(stato->indicatori.Ind_Media_C2(1, 1) > 0.0);
        QVERIFY(stato->indicatori.Profilo_Volumi[1].calcolato());
        QVERIFY(ambiente->disegni.isEmpty());
        QVERIFY(ambiente->grafici[0].chiamate.isEmpty());
    }

    void banner_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("mostrato");
        QTest::newRow("media su grado 0") << 0 << 0 << true;
        QTest::newRow("media su grado 2") << 2 << 3 << true;
        QTest::newRow("media su grado 3") << 3 << 3 << false;
        QTest::newRow("oscillatore su grado 8") << 8 << 13 << false;
        QTest::newRow("profilo su grado 8") << 8 << 19 << true;
        QTest::newRow("profilo su grado 12") << 12 << 19 << true;
    }
    void banner()
    {
        QFETCH(int, grado);
        QFETCH(int, item);
        QFETCH(bool, mostrato);
        mostra(0, grado);
        stato->indicatori.Ind_Attivo[size_t(grado)][size_t(item)] = 1;
        motore->Aggiorna_Indicatori(0);
        const GraficoRegistratore &g = ambiente->grafici[0];
        QCOMPARE(g.conta(QStringLiteral("Aggiungi_Testo( In Caricamento ...,")), mostrato ? 1 : 0);
        QCOMPARE(ambiente->disabilitazioni, mostrato ? 1 : 0);
        QCOMPARE(ambiente->disabilitata, 0);
    }

    void bannerSulleChiamateDelControllo()
    {
        // Standard mode: values from Durata_Standard, banner still at Durata / 2.
        mostra(0, 2);
        stato->cicli.Durata[2] = 300.0;
        stato->cicli.Durata_Standard[2] = 100.0;
        stato->indicatori.Modo_Adattivo[2] = 0;
        stato->indicatori.Ind_Attivo[2][0] = 1;
        motore->Aggiorna_Indicatori(0);
        const QStringList attese{QStringLiteral("Seleziona_Asse_Y(1)"), QStringLiteral("Seleziona_Asse_X(1)"),
                                 QStringLiteral("Nuova_Serie()"),
                                 QStringLiteral("Aggiungi_Testo( In Caricamento ...,150,9,1,bold,0xabcdef,0)"),
                                 QStringLiteral("Ridisegna_Grafico()")};
        QCOMPARE(ambiente->grafici[0].chiamate.mid(0, 5), attese);
        // p = 100 / 2 = 50 from the standard duration.
        double somma = 0.0;
        for (int i = 1; i <= 50; ++i)
            somma += stato->mercato.Storico_1D.barra(i).chiusura;
        QCOMPARE(stato->indicatori.Ind_Media_C2(2, 1), somma / 50.0);
    }

    void profiloUltimoEBannerProprio()
    {
        mostra(0, 1);
        stato->indicatori.Ind_Attivo[1][0] = 1;
        stato->indicatori.Ind_Attivo[1][19] = 1;
        motore->Aggiorna_Indicatori(0);
        const QStringList testi = ambiente->grafici[0].chiamateDi(QStringLiteral("Aggiungi_Testo"));
        QCOMPARE(testi.size(), 2);
        // The dispatch ends with the profile: its banner comes after the items' one.
        QVERIFY(ambiente->grafici[0].indice(QStringLiteral("Aggiungi_Testo")) <
                ambiente->grafici[0].indice(QStringLiteral("Aggiungi_Testo"), ambiente->grafici[0].indice(QStringLiteral("Aggiungi_Testo")) + 1));
    }

    void profiloEsclusoNessunBanner()
    {
        stato->archivio.Sottostante_Corrente = 5;
        stato->indicatori.Profilo_Volumi[1].livelli = {{100.0, 1.0}};
        stato->indicatori.Profilo_Volumi[1].sottostante = 1;
        motore->Calcola_Profilo_Volumi(1, 0);
        QVERIFY(ambiente->grafici[0].chiamate.isEmpty());
        QVERIFY(!stato->indicatori.Profilo_Volumi[1].calcolato());
    }

    void tuttiGliSlotConFinestraDisabilitata()
    {
        int disabilitataDuranteIDisegni = -1;
        ambiente->dentroDisegno = [&](int) { disabilitataDuranteIDisegni = ambiente->disabilitata; };
        motore->Aggiorna_Indicatori_Grafici();
        QCOMPARE(ambiente->disegni, (QStringList{"0:1", "1:4", "2:7", "3:10"}));
        QCOMPARE(disabilitataDuranteIDisegni, 1);
        QCOMPARE(ambiente->disabilitata, 0);
    }

    void richiestaDuranteUnaCorsaFattaUnaVoltaDopo()
    {
        stato->indicatori.Ind_Attivo[4][0] = 1;
        int annidate = 0;
        ambiente->dentroDisegno = [&](int grafico) {
            if (grafico != 0 || annidate > 0)
                return;
            QVERIFY(motore->In_Corso());
            // A real-time bar arrives while slot 0 is being drawn: the series changes
            // and three more refreshes are asked for.
            ++annidate;
            stato->mercato.Storico_1H.barra(1).chiusura += 1000.0;
            motore->Aggiorna_Indicatori(1);
            motore->Aggiorna_Indicatori(1);
            motore->Aggiorna_Indicatori_Grafici();
            QCOMPARE(ambiente->disegni.size(), 1);  // nothing ran inside
        };
        motore->Aggiorna_Indicatori(0);
        QVERIFY(!motore->In_Corso());
        QCOMPARE(annidate, 1);
        // Slot 1 once however often it was asked for, then the full refresh.
        QCOMPARE(ambiente->disegni, (QStringList{"0:1", "1:4", "0:1", "1:4", "2:7", "3:10"}));
        // The rows show the series as it stood after the last change.
        double somma = 0.0;
        for (int i = 1; i <= 80; ++i)
            somma += stato->mercato.Storico_1H.barra(i).chiusura;
        QCOMPARE(stato->indicatori.Ind_Media_C2(4, 1), somma / 80.0);
    }

    void dueSlotStessoGrado()
    {
        mostra(2, 4);
        stato->indicatori.Ind_Attivo[4][1] = 1;
        motore->Aggiorna_Indicatori_Grafici();
        QCOMPARE(ambiente->disegni, (QStringList{"0:1", "1:4", "2:4", "3:10"}));
        QVERIFY(stato->indicatori.Ind_Media_C4(4, 1) > 0.0);
    }

    void argomentiFuoriCampoIgnorati()
    {
        stato->cicli.Conf_Grafici[3].grado = 13;
        motore->Aggiorna_Indicatori(3);
        motore->Aggiorna_Indicatori(7);
        motore->Calcola_Indicatore(25, 1, 0);
        motore->Calcola_Indicatore(0, -1, 0);
        motore->Mostra_Caricamento_Indicatore(1, 9, QString());
        QVERIFY(ambiente->disegni.isEmpty());
    }

    void didascalie()
    {
        QCOMPARE(Didascalia(6), QStringLiteral("IperC/Vend Ciclo"));
        QCOMPARE(Didascalia(17), QStringLiteral("Velocità 2 Ciclica"));
        QCOMPARE(Didascalia(19), QStringLiteral("Indicatore Volumi"));
        QCOMPARE(Ordine_Dispatch[8], 17);
        QCOMPARE(Ordine_Dispatch[19], 19);
    }
};

QTEST_GUILESS_MAIN(MotoreIndicatoriTest)
#include "MotoreIndicatoriTest.moc"
