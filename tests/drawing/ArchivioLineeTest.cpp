#include "StatoProva.h"
#include "CartellaTemporanea.h"
#include "archive/CreaArchivi.h"
#include "drawing/ArchivioLinee.h"
#include "drawing/OggettiGrafici.h"
#include "platform/DataOra.h"

#include <QFile>
#include <QtTest>

using namespace archivio;

// The line store against a real Sistema1.dat in a temporary program folder.
class ArchivioLineeTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CartellaTemporanea> cartella;
    std::unique_ptr<Stato> stato;

    const QString tabella = QStringLiteral("Dati_Linee_S3");

    Riga riga(int id)
    {
        Connessione c(FileArchivio::Sistema1);
        auto righe = c.LeggiTabella(tabella);
        return righe.count(id) ? righe[id] : Riga{};
    }
    void scrivi(int id, const std::vector<std::pair<QString, QString>> &valori)
    {
        Connessione c(FileArchivio::Sistema1);
        QVERIFY(c.AggiornaRiga(tabella, id, valori));
    }
    static Linea linea(int x1, double p1, int x2, double p2, int colore = 34)
    {
        return Linea{true, true, x1, p1, x2, p2, colore};
    }
    Linea &slot(int g, int s) { return stato->disegno.Linee[size_t(g)][size_t(s)]; }

private slots:
    void init()
    {
        cartella = std::make_unique<CartellaTemporanea>();
        stato = prova::NuovoStato();
        QVERIFY(Crea_Archivio(FileArchivio::Sistema1).ok);
    }
    void cleanup()
    {
        stato.reset();
        cartella.reset();
    }

    void lineaTornaSulleSueBarre_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<int>("s");
        QTest::addColumn<int>("x1");
        QTest::addColumn<int>("x2");
        const int b = prova::Barre_Ciclo_Prova;
        QTest::newRow("inizio ciclo, 15 minuti") << 7 << 1 << 1 << 50;
        QTest::newRow("barra piu' recente") << 7 << 2 << b << b;
        QTest::newRow("prima barra futura") << 9 << 3 << 90 << b + 1;
        QTest::newRow("futuro oltre la durata") << 6 << 4 << 10 << b + 150;
        QTest::newRow("a sinistra dell'inizio ciclo") << 8 << 5 << -7 << 20;
        QTest::newRow("da destra a sinistra") << 8 << 6 << 60 << 3;
        QTest::newRow("giornaliero") << 2 << 7 << 1 << b + 20;
        QTest::newRow("orario") << 4 << 8 << 1 << b + 2;
        QTest::newRow("5 minuti, ultima riga") << 12 << 15 << 1 << b + 3;
        QTest::newRow("grado 0, prima riga") << 0 << 1 << 1 << 2;
    }
    void lineaTornaSulleSueBarre()
    {
        QFETCH(int, grado);
        QFETCH(int, s);
        QFETCH(int, x1);
        QFETCH(int, x2);
        slot(grado, s) = linea(x1, 101.25, x2, 99.5, 33);
        QString errore;
        QVERIFY2(prova::Salva_Linea(*stato, grado, s, &errore), qPrintable(errore));
        QCOMPARE(riga(grado * 15 + s).at(QStringLiteral("C0")), QStringLiteral("1"));

        stato->disegno.Linee[size_t(grado)] = {};
        const EsitoCaricaOggetti esito = prova::Carica_Linee(*stato);
        QVERIFY2(esito.ok, qPrintable(esito.errore));
        QCOMPARE(esito.collocati, 1);
        const Linea &l = slot(grado, s);
        QVERIFY(l.in_uso && l.trovata);
        QCOMPARE(l.barra_inizio, x1);
        QCOMPARE(l.barra_fine, x2);
        QCOMPARE(l.prezzo_inizio, 101.25);
        QCOMPARE(l.prezzo_fine, 99.5);
        QCOMPARE(l.colore, 33);
    }

    void testiScritti_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<int>("x");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("ora");
        const int b = prova::Barre_Ciclo_Prova;
        // 5-minute bar 96 is 9:05 on the day of the newest bar (17:00).
        QTest::newRow("5 minuti 9:05") << 11 << b + 1 - 96 << "090324" << "0905";
        QTest::newRow("barra piu' recente") << 6 << b << "090324" << "1700";
        QTest::newRow("inizio futuro") << 6 << b + 1 << "090324" << "1715";
        QTest::newRow("quinta barra futura") << 10 << b + 5 << "090324" << "1725";
        QTest::newRow("giornaliero senza ora") << 3 << b << "080324" << "0000";
        QTest::newRow("giornaliero futuro") << 1 << b + 2 << "100324" << "0000";
    }
    void testiScritti()
    {
        QFETCH(int, grado);
        QFETCH(int, x);
        QFETCH(QString, data);
        QFETCH(QString, ora);
        slot(grado, 1) = linea(x, 1.5, x, 2.5);
        QVERIFY(prova::Salva_Linea(*stato, grado, 1));
        const Riga r = riga(grado * 15 + 1);
        QCOMPARE(r.at(QStringLiteral("C1")), data);
        QCOMPARE(r.at(QStringLiteral("C2")), ora);
        QCOMPARE(r.at(QStringLiteral("C3")), QStringLiteral("1.5"));
        QCOMPARE(r.at(QStringLiteral("C4")), data);
        QCOMPARE(r.at(QStringLiteral("C5")), ora);
        QCOMPARE(r.at(QStringLiteral("C6")), QStringLiteral("2.5"));
        QCOMPARE(r.at(QStringLiteral("C7")), QStringLiteral("34"));
    }

    void slotLiberoScriveRigaLibera()
    {
        slot(12, 15) = linea(5, 1, 6, 2);
        QVERIFY(prova::Salva_Linea(*stato, 12, 15));
        QCOMPARE(riga(195).at(QStringLiteral("C0")), QStringLiteral("1"));
        slot(12, 15) = Linea{};
        QVERIFY(prova::Salva_Linea(*stato, 12, 15));
        for (int i = 0; i <= 7; ++i)
            QCOMPARE(riga(195).at(QStringLiteral("C%1").arg(i)), QStringLiteral("0"));
    }

    void posizioneSenzaBarraNonScrive()
    {
        // Past the end of the future axis: nothing can be stored, the caller is told.
        slot(7, 1) = linea(5, 1, prova::Barre_Ciclo_Prova + prova::Futuri_Prova + 1, 2);
        QString errore;
        QVERIFY(!prova::Salva_Linea(*stato, 7, 1, &errore));
        QVERIFY(!errore.isEmpty());
        QCOMPARE(riga(7 * 15 + 1).at(QStringLiteral("C0")), QStringLiteral("0"));
    }

    void righeNonValideLiberate_data()
    {
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<QString>("valore");
        QTest::newRow("data '0'") << "C1" << "0";
        QTest::newRow("ora vuota") << "C2" << "";
        QTest::newRow("data di 5 caratteri") << "C4" << "09032";
        QTest::newRow("prezzo non numerico") << "C3" << "abc";
        QTest::newRow("prezzo vuoto") << "C6" << "";
        QTest::newRow("mese 13") << "C1" << "091324";
        QTest::newRow("ora 25") << "C5" << "2505";
        QTest::newRow("in uso non numerico") << "C0" << "abc";
    }
    void righeNonValideLiberate()
    {
        QFETCH(QString, colonna);
        QFETCH(QString, valore);
        for (int s = 3; s <= 5; ++s) {
            slot(7, s) = linea(10 * s, 100, 10 * s + 5, 101);
            QVERIFY(prova::Salva_Linea(*stato, 7, s));
        }
        scrivi(7 * 15 + 4, {{colonna, valore}});
        stato->disegno.Linee = {};

        const EsitoCaricaOggetti esito = prova::Carica_Linee(*stato);
        QVERIFY(esito.ok);
        QCOMPARE(esito.collocati, 2);
        QVERIFY(!slot(7, 4).in_uso);
        QCOMPARE(slot(7, 3).barra_inizio, 30);
        QCOMPARE(slot(7, 5).barra_inizio, 50);
        for (int i = 0; i <= 7; ++i)
            QCOMPARE(riga(7 * 15 + 4).at(QStringLiteral("C%1").arg(i)), QStringLiteral("0"));
    }

    void lineaFuoriPortata_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<QDateTime>("inizio");
        QTest::addColumn<QDateTime>("fine");
        QTest::addColumn<bool>("collocata");
        QTest::addColumn<int>("x1");
        using prova::TempoBarra;
        using prova::TempoFuturoProva;
        const int b = prova::Barre_Ciclo_Prova;
        // The series hold 3000 daily, 5000 hourly and 15-minute, 1500 5-minute bars.
        QTest::newRow("5 minuti, barra 1500") << 12 << TempoBarra(12, 1500) << TempoFuturoProva(12, 3) << true
                                              << b + 1 - 1500;
        QTest::newRow("5 minuti, barra 1501") << 12 << TempoBarra(12, 1501) << TempoFuturoProva(12, 3) << false << 0;
        QTest::newRow("15 minuti, fine uscita") << 7 << TempoBarra(7, 1) << TempoBarra(7, 5001) << false << 0;
        QTest::newRow("giornaliero, barra 3001") << 2 << TempoBarra(2, 3001) << TempoBarra(2, 1) << false << 0;
        QTest::newRow("oltre l'asse futuro") << 9 << TempoBarra(9, 10) << TempoFuturoProva(9, prova::Futuri_Prova + 1)
                                             << false << 0;
        QTest::newRow("ultima barra futura") << 9 << TempoBarra(9, 10) << TempoFuturoProva(9, prova::Futuri_Prova)
                                             << true << b + 1 - 10;
    }
    void lineaFuoriPortata()
    {
        QFETCH(int, grado);
        QFETCH(QDateTime, inizio);
        QFETCH(QDateTime, fine);
        QFETCH(bool, collocata);
        QFETCH(int, x1);
        const int id = grado * 15 + 2;
        const auto valori = prova::ValoriLinea(grado, inizio, fine, QStringLiteral("12.5"), QStringLiteral("13"),
                                               QStringLiteral("30"));
        scrivi(id, valori);
        slot(grado, 1) = linea(1, 1, 2, 2);
        QVERIFY(prova::Salva_Linea(*stato, grado, 1));

        // Out of reach: the row stays as stored at every load, and its slot waits for it.
        for (int volta = 0; volta < 2; ++volta) {
            const EsitoCaricaOggetti esito = prova::Carica_Linee(*stato);
            QVERIFY(esito.ok);
            QCOMPARE(esito.collocati, collocata ? 2 : 1);
            QCOMPARE(esito.non_collocati, collocata ? 0 : 1);
            QCOMPARE(slot(grado, 2).in_uso, collocata);
            QCOMPARE(disegno::SlotLiberoLinee(stato->disegno, grado), 3);
            const Riga r = riga(id);
            for (const auto &[colonna, valore] : valori)
                QCOMPARE(r.at(colonna), valore);
        }
        if (collocata) {
            QCOMPARE(slot(grado, 2).barra_inizio, x1);
            return;
        }

        // What is saved into the slot overwrites the row.
        const int b = prova::Barre_Ciclo_Prova;
        slot(grado, 2) = linea(3, 7.25, b + 4, 8.5, 32);
        QVERIFY(prova::Salva_Linea(*stato, grado, 2));
        const Riga r = riga(id);
        for (const auto &[colonna, valore] :
             prova::ValoriLinea(grado, prova::TempoBarra(grado, b - 2), prova::TempoFuturoProva(grado, 4),
                                QStringLiteral("7.25"), QStringLiteral("8.5"), QStringLiteral("32")))
            QCOMPARE(r.at(colonna), valore);
        slot(grado, 2) = Linea{};
        QCOMPARE(prova::Carica_Linee(*stato).non_collocati, 0);
        QVERIFY(slot(grado, 2).in_uso);
        QCOMPARE(slot(grado, 2).barra_fine, b + 4);
    }

    void altroSottostanteNonToccato()
    {
        slot(5, 1) = linea(1, 1, 2, 2);
        QVERIFY(prova::Salva_Linea(*stato, 5, 1));
        Connessione c(FileArchivio::Sistema1);
        QCOMPARE(c.LeggiTabella(QStringLiteral("Dati_Linee_S2"))[16].at(QStringLiteral("C0")), QStringLiteral("0"));
        stato->archivio.Sottostante_Corrente = 2;
        QVERIFY(prova::Carica_Linee(*stato).ok);
        QVERIFY(!slot(5, 1).in_uso);
    }

    void archivioIlleggibile()
    {
        slot(1, 1) = linea(1, 1, 2, 2);
        QFile f(PercorsoArchivio(FileArchivio::Sistema1));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("questo non e' un archivio");
        f.close();
        const EsitoCaricaOggetti esito = prova::Carica_Linee(*stato);
        QVERIFY(!esito.ok);
        QVERIFY(!esito.errore.isEmpty());
        QVERIFY(!slot(1, 1).in_uso);

        stato->archivio.Sottostante_Corrente = 0;
        QVERIFY(!prova::Carica_Linee(*stato).ok);
        QVERIFY(!prova::Salva_Linea(*stato, 1, 1));
    }
};

QTEST_GUILESS_MAIN(ArchivioLineeTest)
#include "ArchivioLineeTest.moc"
