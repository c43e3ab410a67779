#include "Stato.h"
#include "shell/Avanzamento.h"
#include "shell/Caricamento.h"

#include <QSignalSpy>
#include <QtTest>
#include <functional>

namespace {

// Records everything the sequence asks of the window, in order.
class Registro : public ServiziCaricamento {
public:
    QStringList chiamate;
    QList<int> passi;
    QStringList inviati;
    bool connesso = true;
    bool downloadFinito = true;
    bool avvioVisibile = true;
    QSet<QString> falliscono;
    std::function<void()> durante_attesa;

    bool Registra(const QString &routine)
    {
        chiamate << routine;
        return !falliscono.contains(routine);
    }
#define REGISTRA(r) \
    bool r() override { return Registra(QStringLiteral(#r)); }
    REGISTRA(Carica_Sottostante_Corrente) REGISTRA(Imposta_Formati_Locali) REGISTRA(Imposta_Colori)
    REGISTRA(Inizializza_Tabella_Chiave) REGISTRA(Carica_Storico_Da_Server) REGISTRA(Inizializza_Tab_Sottostanti)
    REGISTRA(Carica_Storico_Offline) REGISTRA(Aggiorna_Ultime_Barre_Storico) REGISTRA(Salva_Storico_5M)
    REGISTRA(Salva_Storico_15M) REGISTRA(Salva_Storico_1H) REGISTRA(Salva_Storico_1D)
    REGISTRA(Inizializza_Tabelle_Cicli) REGISTRA(Carica_Parametri) REGISTRA(Carica_Indicatori)
    REGISTRA(Carica_Impostazioni_Sottostante) REGISTRA(Calcola_Tempi_Futuri) REGISTRA(Carica_Linee)
    REGISTRA(Carica_Testi) REGISTRA(Carica_Distanze) REGISTRA(Carica_Combo) REGISTRA(Inizializza_Chk_Battl)
    REGISTRA(Aggiorna_Etichette_Gradi) REGISTRA(Calcola_Battleplan_Tutti) REGISTRA(Aggiorna_Indicatori_Grafici)
    REGISTRA(Disegna_Grafici) REGISTRA(Imposta_Titolo_Finestra) REGISTRA(Imposta_Pannelli_Modalita)
    REGISTRA(Imposta_Layout_Oggetti_Graf) REGISTRA(Imposta_Layout_Senza_Storico) REGISTRA(Imposta_Layout_Ridotto)
    REGISTRA(Imposta_Opzione_Grafici) REGISTRA(Imposta_Titoli_Grafici) REGISTRA(Imposta_Colori_Controlli)
    REGISTRA(Ferma_Timer) REGISTRA(Richiesta_Dati_RT_Al_Server) REGISTRA(Apri_Finestra_Operativa)
#undef REGISTRA
    QString Errore() const override { return QStringLiteral("guasto"); }
    void Mostra_Avanzamento_Avvio(int passo) override
    {
        passi << passo;
        chiamate << QStringLiteral("passo %1").arg(passo);
    }
    void Pausa(double) override { chiamate << QStringLiteral("Pausa"); }
    bool Connesso() const override { return connesso; }
    void Invia(const QString &m) override
    {
        inviati << m;
        chiamate << QStringLiteral("invia ") + m.left(6);
    }
    bool Attendi_Download(int) override
    {
        chiamate << QStringLiteral("attesa");
        if (durante_attesa)
            durante_attesa();
        return downloadFinito;
    }
    bool Frm_Avvio_Visibile() const override { return avvioVisibile; }
};

const QChar Sep(0x00D8);

}  // namespace

class CaricamentoTest : public QObject {
    Q_OBJECT

private slots:
    void passi_data()
    {
        QTest::addColumn<int>("passo");
        QTest::addColumn<QString>("modalita");
        QTest::addColumn<bool>("valido");
        QTest::addColumn<int>("percentuale");
        QTest::addColumn<QString>("didascalia");
        QTest::newRow("1") << 1 << "OFFLINE" << true << 5 << "Caricamento Dati Avvio...";
        QTest::newRow("2 online") << 2 << "ONLINE" << true << 15 << "Scarico Storico Dal Server...";
        QTest::newRow("2 offline") << 2 << "OFFLINE" << true << 15 << "Caricamento Storici Sottostante...";
        QTest::newRow("2 other case") << 2 << "online" << true << 15 << "Caricamento Storici Sottostante...";
        QTest::newRow("3") << 3 << "ONLINE" << true << 30 << "Caricamento Dati Wavelore...";
        QTest::newRow("4") << 4 << "ONLINE" << true << 35 << "Caricamento Storico 5 min...";
        QTest::newRow("5") << 5 << "ONLINE" << true << 45 << "Caricamento Storico 15 min...";
        QTest::newRow("6") << 6 << "ONLINE" << true << 55 << "Caricamento Storico 1 ora...";
        QTest::newRow("7") << 7 << "ONLINE" << true << 70 << "Caricamento Storico 1 giorno...";
        QTest::newRow("8") << 8 << "ONLINE" << true << 80 << "Caricamento Oggetti...";
        QTest::newRow("9") << 9 << "ONLINE" << true << 85 << "Caricamento Battleplan...";
        QTest::newRow("10") << 10 << "ONLINE" << true << 90 << "Caricamento Indicatori...";
        QTest::newRow("11") << 11 << "ONLINE" << true << 95 << "Caricamento Grafici...";
        QTest::newRow("12") << 12 << "ONLINE" << true << 100 << "Inizializzazione...";
        QTest::newRow("0") << 0 << "ONLINE" << false << 0 << "";
        QTest::newRow("13") << 13 << "ONLINE" << false << 0 << "";
    }
    void passi()
    {
        QFETCH(int, passo);
        QFETCH(QString, modalita);
        const PassoAvanzamento p = finestra::Passo_Avanzamento(passo, modalita);
        QTEST(p.valido, "valido");
        QTEST(p.percentuale, "percentuale");
        QTEST(p.didascalia, "didascalia");
    }

    void offline_intero()
    {
        Stato stato;
        stato.shell.Modalita = QStringLiteral("OFFLINE");
        Registro r;
        // The offline loader shows the four history steps itself.
        Caricamento c(stato, r);
        QCOMPARE(c.Carica_Storici_Avvio(), Caricamento::Esito::Completato);
        QCOMPARE(c.fase(), Caricamento::Fase::Pronta_Fase2);
        QVERIFY(stato.shell.Blocco_Grafici);
        QCOMPARE(c.Carica_Dati_Avvio(), Caricamento::Esito::Completato);

        QCOMPARE(r.passi, (QList<int>{1, 2, 3, 8, 9, 10, 11, 12}));
        QVERIFY(r.inviati.isEmpty());
        QVERIFY(!stato.shell.Blocco_Grafici);
        QVERIFY(!stato.shell.RT_Bloccato);
        QVERIFY(!stato.mercato.Scarica_Storico);
        QVERIFY(!stato.mercato.Aggiorna_Storico);
        QCOMPARE(c.fase(), Caricamento::Fase::Inattiva);

        const QStringList attese{
            "passo 1", "Carica_Sottostante_Corrente", "Pausa", "passo 2", "Imposta_Formati_Locali", "Imposta_Colori",
            "Inizializza_Tabella_Chiave", "Inizializza_Tab_Sottostanti", "Carica_Storico_Offline", "Pausa",
            "passo 3", "Inizializza_Tabelle_Cicli", "Inizializza_Tab_Sottostanti", "Carica_Parametri",
            "Carica_Indicatori", "Carica_Impostazioni_Sottostante", "Calcola_Tempi_Futuri", "passo 8",
            "Carica_Linee", "Carica_Testi", "Carica_Distanze", "Carica_Combo", "Inizializza_Chk_Battl",
            "Aggiorna_Etichette_Gradi", "passo 9", "Calcola_Battleplan_Tutti", "passo 10",
            "Aggiorna_Indicatori_Grafici", "passo 11", "Disegna_Grafici", "passo 12", "Pausa",
            "Imposta_Titolo_Finestra", "Imposta_Pannelli_Modalita", "Imposta_Layout_Oggetti_Graf",
            "Imposta_Layout_Senza_Storico", "Imposta_Layout_Ridotto", "Imposta_Opzione_Grafici",
            "Imposta_Titoli_Grafici", "Imposta_Colori_Controlli", "Ferma_Timer", "Richiesta_Dati_RT_Al_Server",
            "Apri_Finestra_Operativa"};
        QCOMPARE(r.chiamate, attese);
    }

    void online_due_fasi()
    {
        Stato stato;
        stato.shell.Modalita = QStringLiteral("ONLINE");
        stato.archivio.Sottostante_Corrente = 7;
        Registro r;
        Caricamento c(stato, r);
        c.Fattore_Pause = 0;
        QCOMPARE(c.Carica_Storici_Avvio(), Caricamento::Esito::In_Attesa_Server);
        QVERIFY(stato.mercato.Scarica_Storico);
        QCOMPARE(c.fase(), Caricamento::Fase::Attesa_Ultime_Barre);
        QCOMPARE(r.inviati, (QStringList{QStringLiteral("COMM34") + Sep + "7" + Sep,
                                         QStringLiteral("COMM36") + Sep + "7" + Sep}));
        // The copy of the server history comes after the wait, never before.
        QVERIFY(r.chiamate.indexOf("attesa") < r.chiamate.indexOf("Carica_Storico_Da_Server"));
        QVERIFY(!r.chiamate.contains("Carica_Storico_Offline"));
        QVERIFY(!r.chiamate.contains("Pausa"));
        QCOMPARE(r.passi, (QList<int>{1, 2}));

        // A second start while waiting for the latest bars is refused.
        QCOMPARE(c.Carica_Storici_Avvio(), Caricamento::Esito::Rifiutato);

        r.chiamate.clear();
        QCOMPARE(c.Carica_Dati_Avvio(), Caricamento::Esito::Completato);
        QVERIFY(stato.mercato.Aggiorna_Storico);
        QCOMPARE(r.chiamate.mid(0, 5), (QStringList{"Aggiorna_Ultime_Barre_Storico", "Salva_Storico_5M",
                                                    "Salva_Storico_15M", "Salva_Storico_1H", "Salva_Storico_1D"}));
        QCOMPARE(r.passi, (QList<int>{1, 2, 3, 8, 9, 10, 11, 12}));
        QVERIFY(!stato.shell.Blocco_Grafici);
        // A late duplicate of the latest bars finds no loading to finish.
        QCOMPARE(c.Carica_Dati_Avvio(), Caricamento::Esito::Rifiutato);
    }

    void cambio_sottostante_finisce_al_passo_11()
    {
        Stato stato;
        stato.shell.Modalita = QStringLiteral("OFFLINE");
        Registro r;
        r.avvioVisibile = false;
        Caricamento c(stato, r);
        c.Fattore_Pause = 0;
        QCOMPARE(c.Carica_Storici_Avvio(), Caricamento::Esito::Completato);
        QCOMPARE(c.Carica_Dati_Avvio(), Caricamento::Esito::Completato);
        QCOMPARE(r.passi.last(), 11);
        QVERIFY(!r.chiamate.contains("Imposta_Titolo_Finestra"));
        QVERIFY(!r.chiamate.contains("Imposta_Pannelli_Modalita"));
        QVERIFY(r.chiamate.contains("Imposta_Layout_Ridotto"));
    }

    void fase2_solo_dopo_fase1()
    {
        Stato stato;
        stato.shell.Modalita = QStringLiteral("ONLINE");
        Registro r;
        Caricamento c(stato, r);
        QCOMPARE(c.Carica_Dati_Avvio(), Caricamento::Esito::Rifiutato);
        QVERIFY(r.chiamate.isEmpty());
        QVERIFY(stato.shell.Blocco_Grafici);
    }

    void download_mai_finito()
    {
        Stato stato;
        stato.shell.Modalita = QStringLiteral("ONLINE");
        Registro r;
        r.downloadFinito = false;
        Caricamento c(stato, r);
        c.Fattore_Pause = 0;
        QCOMPARE(c.Carica_Storici_Avvio(), Caricamento::Esito::Fallito);
        QVERIFY(!c.Errore().isEmpty());
        QVERIFY(!r.chiamate.contains("Carica_Storico_Da_Server"));
        QCOMPARE(r.inviati.size(), 1);  // no COMM36
        QVERIFY(stato.shell.Blocco_Grafici);
        QCOMPARE(c.fase(), Caricamento::Fase::Inattiva);
    }

    void online_non_connesso()
    {
        Stato stato;
        stato.shell.Modalita = QStringLiteral("ONLINE");
        Registro r;
        r.connesso = false;
        Caricamento c(stato, r);
        c.Fattore_Pause = 0;
        QCOMPARE(c.Carica_Storici_Avvio(), Caricamento::Esito::Fallito);
        QVERIFY(r.inviati.isEmpty());
        QVERIFY(!c.Errore().isEmpty());
    }

    void guasto_interrompe_la_fase_data()
    {
        QTest::addColumn<QString>("servizio");
        QTest::addColumn<QString>("modalita");
        QTest::newRow("offline history") << "Carica_Storico_Offline" << "OFFLINE";
        QTest::newRow("server copy") << "Carica_Storico_Da_Server" << "ONLINE";
        QTest::newRow("colours") << "Imposta_Colori" << "ONLINE";
        QTest::newRow("settings") << "Carica_Parametri" << "OFFLINE";
        QTest::newRow("texts") << "Carica_Testi" << "OFFLINE";
        QTest::newRow("charts") << "Disegna_Grafici" << "OFFLINE";
        QTest::newRow("start merge") << "Aggiorna_Ultime_Barre_Storico" << "ONLINE";
        QTest::newRow("timers") << "Ferma_Timer" << "OFFLINE";
    }
    void guasto_interrompe_la_fase()
    {
        QFETCH(QString, servizio);
        QFETCH(QString, modalita);
        Stato stato;
        stato.shell.Modalita = modalita;
        Registro r;
        r.falliscono.insert(servizio);
        Caricamento c(stato, r);
        c.Fattore_Pause = 0;
        Caricamento::Esito e = c.Carica_Storici_Avvio();
        if (e != Caricamento::Esito::Fallito)
            e = c.Carica_Dati_Avvio();
        QCOMPARE(e, Caricamento::Esito::Fallito);
        QCOMPARE(c.Errore(), QStringLiteral("guasto"));
        QCOMPARE(r.chiamate.last(), servizio);
        QVERIFY(stato.shell.Blocco_Grafici);
        QCOMPARE(c.fase(), Caricamento::Fase::Inattiva);
    }

    void salvataggio_storico_fallito_non_ferma()
    {
        Stato stato;
        stato.shell.Modalita = QStringLiteral("ONLINE");
        Registro r;
        r.falliscono.insert(QStringLiteral("Salva_Storico_1H"));
        Caricamento c(stato, r);
        c.Fattore_Pause = 0;
        QCOMPARE(c.Carica_Storici_Avvio(), Caricamento::Esito::In_Attesa_Server);
        QCOMPARE(c.Carica_Dati_Avvio(), Caricamento::Esito::Completato);
        QVERIFY(!stato.shell.Blocco_Grafici);
    }

    void ultime_barre_mai_arrivate()
    {
        Stato stato;
        stato.shell.Modalita = QStringLiteral("ONLINE");
        Registro r;
        Caricamento c(stato, r);
        c.Fattore_Pause = 0;
        c.Timeout_Ultime_Barre_ms = 20;
        QSignalSpy spia(&c, &Caricamento::Ultime_Barre_Mancanti);
        QCOMPARE(c.Carica_Storici_Avvio(), Caricamento::Esito::In_Attesa_Server);
        QVERIFY(spia.wait(5000));
        QCOMPARE(c.fase(), Caricamento::Fase::Inattiva);
        QCOMPARE(c.Carica_Dati_Avvio(), Caricamento::Esito::Rifiutato);
        QVERIFY(stato.shell.Blocco_Grafici);
    }

    void nuova_partenza_durante_attesa_rifiutata()
    {
        Stato stato;
        stato.shell.Modalita = QStringLiteral("ONLINE");
        Registro r;
        Caricamento c(stato, r);
        c.Fattore_Pause = 0;
        Caricamento::Esito annidato = Caricamento::Esito::Completato;
        r.durante_attesa = [&] { annidato = c.Carica_Storici_Avvio(); };
        QCOMPARE(c.Carica_Storici_Avvio(), Caricamento::Esito::In_Attesa_Server);
        QCOMPARE(annidato, Caricamento::Esito::Rifiutato);
    }
};

QTEST_GUILESS_MAIN(CaricamentoTest)
#include "CaricamentoTest.moc"
