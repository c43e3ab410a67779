#include "StatoProva.h"
#include "GraficoRegistratore.h"
#include "CartellaTemporanea.h"
#include "archive/CreaArchivi.h"
#include "drawing/GraficoOggetti.h"
#include "drawing/OggettiGrafici.h"
#include "platform/Codec1252.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

using namespace archivio;

// The text and distance stores against a real Sistema1.dat in a temporary program folder.
class ArchivioTestiDistanzeTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CartellaTemporanea> cartella;
    std::unique_ptr<Stato> stato;

    static Riga riga(const QString &tabella, int id)
    {
        Connessione c(FileArchivio::Sistema1);
        auto righe = c.LeggiTabella(tabella);
        return righe.count(id) ? righe[id] : Riga{};
    }
    static void scrivi(const QString &tabella, int id, const std::vector<std::pair<QString, QString>> &valori)
    {
        Connessione c(FileArchivio::Sistema1);
        QVERIFY(c.AggiornaRiga(tabella, id, valori));
    }
    static QStringList colonne(const Riga &r, int ultima)
    {
        QStringList v;
        for (int i = 0; i <= ultima; ++i)
            v << r.at(QStringLiteral("C%1").arg(i));
        return v;
    }
    Testo &testo(int g, int s) { return stato->disegno.Testi[size_t(g)][size_t(s)]; }
    Distanza &distanza(int g, int s) { return stato->disegno.Distanze[size_t(g)][size_t(s)]; }

    // Every character Windows-1252 can hold, from the blank on.
    static QString tutti1252()
    {
        QByteArray b;
        for (int i = 0x20; i <= 0xFF; ++i)
            if (i != 0x7F)
                b.append(char(i));
        return codec1252::Decodifica(b);
    }

    const QString tabTesti = QStringLiteral("Dati_Testo_S3");
    const QString tabDistanze = QStringLiteral("Dati_Dista_S3");
    const QStringList testoLibero{"0", "0", "0", "0", "@", "0"};
    const QStringList distanzaLibera{"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "@"};

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

    void testoTornaComeScritto_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<int>("s");
        QTest::addColumn<int>("x");
        QTest::addColumn<QString>("scritto");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("ora");
        const int b = prova::Barre_Ciclo_Prova;
        // 15-minute bar 4 is 16:15 on the day of the newest bar (17:00).
        QTest::newRow("apostrofo, 15 minuti") << 7 << 1 << b - 3 << "l'oro" << "090324" << "1615";
        QTest::newRow("virgolette, futuro") << 7 << 2 << b + 2 << "\"su\" 'giu'" << "090324" << "1730";
        QTest::newRow("punto e virgola") << 11 << 3 << b << "a;b; DROP" << "090324" << "1700";
        QTest::newRow("barra verticale") << 12 << 15 << 1 << "x|y||" << "090324" << "0845";
        QTest::newRow("accenti, giornaliero") << 1 << 4 << b - 9 << "però è già" << "280224" << "0000";
        QTest::newRow("giornaliero futuro") << 0 << 1 << b + 1 << "Σ?" << "090324" << "0000";
        QTest::newRow("ogni carattere 1252") << 4 << 5 << 50 << tutti1252() << "" << "";
    }
    void testoTornaComeScritto()
    {
        QFETCH(int, grado);
        QFETCH(int, s);
        QFETCH(int, x);
        QFETCH(QString, scritto);
        QFETCH(QString, data);
        QFETCH(QString, ora);
        testo(grado, s) = Testo{true, true, x, 101.5, 32, scritto};
        QString errore;
        QVERIFY2(prova::Salva_Testo(*stato, grado, s, &errore), qPrintable(errore));
        const Riga r = riga(tabTesti, grado * 15 + s);
        QCOMPARE(r.at(QStringLiteral("C4")), scritto);
        QCOMPARE(r.at(QStringLiteral("C3")), QStringLiteral("101.5"));
        QCOMPARE(r.at(QStringLiteral("C5")), QStringLiteral("32"));
        if (!data.isEmpty()) {
            QCOMPARE(r.at(QStringLiteral("C1")), data);
            QCOMPARE(r.at(QStringLiteral("C2")), ora);
        }

        stato->disegno.Testi = {};
        const EsitoCaricaOggetti esito = prova::Carica_Testi(*stato);
        QVERIFY2(esito.ok, qPrintable(esito.errore));
        QCOMPARE(esito.collocati, 1);
        const Testo &t = testo(grado, s);
        QVERIFY(t.in_uso && t.trovata);
        QCOMPARE(t.barra, x);
        QCOMPARE(t.prezzo, 101.5);
        QCOMPARE(t.colore, 32);
        QCOMPARE(t.testo, scritto);

        testo(grado, s) = Testo{};
        QVERIFY(prova::Salva_Testo(*stato, grado, s));
        QCOMPARE(colonne(riga(tabTesti, grado * 15 + s), 5), testoLibero);
    }

    void righeTestoNonValide_data()
    {
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<QString>("valore");
        QTest::newRow("testo @") << "C4" << "@";
        QTest::newRow("testo vuoto") << "C4" << "";
        QTest::newRow("prezzo 0") << "C3" << "0";
        QTest::newRow("prezzo non numerico") << "C3" << "abc";
        QTest::newRow("data '0'") << "C1" << "0";
        QTest::newRow("ora vuota") << "C2" << "";
        QTest::newRow("mese 13") << "C1" << "091324";
        QTest::newRow("in uso non numerico") << "C0" << "abc";
    }
    void righeTestoNonValide()
    {
        QFETCH(QString, colonna);
        QFETCH(QString, valore);
        for (int s = 3; s <= 5; ++s) {
            testo(8, s) = Testo{true, true, 10 * s, 100, 30, QStringLiteral("t%1").arg(s)};
            QVERIFY(prova::Salva_Testo(*stato, 8, s));
        }
        scrivi(tabTesti, 8 * 15 + 4, {{colonna, valore}});
        stato->disegno.Testi = {};
        const EsitoCaricaOggetti esito = prova::Carica_Testi(*stato);
        QVERIFY(esito.ok);
        QCOMPARE(esito.collocati, 2);
        QVERIFY(!testo(8, 4).in_uso);
        QCOMPARE(testo(8, 3).barra, 30);
        QCOMPARE(testo(8, 5).testo, QStringLiteral("t5"));
        QCOMPARE(colonne(riga(tabTesti, 8 * 15 + 4), 5), testoLibero);
    }

    // A file whose columns are named in lower case reads as one in upper case; a NULL
    // column reads as empty, so its row is freed.
    void colonneMinuscoleENull()
    {
        for (int s = 1; s <= 2; ++s) {
            testo(5, s) = Testo{true, true, 20 + s, 100, 30, QStringLiteral("t%1").arg(s)};
            QVERIFY(prova::Salva_Testo(*stato, 5, s));
        }
        {
            Connessione c(FileArchivio::Sistema1);
            QSqlQuery q(c.Database());
            for (const char *colonna : {"ID", "C0", "C1", "C2", "C3", "C4", "C5"})
                QVERIFY2(q.exec(QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO %3")
                                    .arg(tabTesti, QLatin1String(colonna), QString::fromLatin1(colonna).toLower())),
                         qPrintable(q.lastError().text()));
            QVERIFY(q.exec(QStringLiteral("UPDATE %1 SET c4 = NULL WHERE id = %2").arg(tabTesti).arg(5 * 15 + 2)));
        }
        stato->disegno.Testi = {};
        const EsitoCaricaOggetti esito = prova::Carica_Testi(*stato);
        QVERIFY2(esito.ok, qPrintable(esito.errore));
        QCOMPARE(esito.collocati, 1);
        QCOMPARE(esito.liberati, 1);
        QCOMPARE(testo(5, 1).barra, 21);
        QCOMPARE(testo(5, 1).testo, QStringLiteral("t1"));
        QVERIFY(!testo(5, 2).in_uso);
        QCOMPARE(CampoRiga(riga(tabTesti, 5 * 15 + 2), QStringLiteral("C4")), QStringLiteral("@"));
    }

    void distanzaTornaSulleSueBarre_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<int>("s");
        QTest::addColumn<int>("x1");
        QTest::addColumn<int>("x2");
        QTest::addColumn<int>("xe");
        const int b = prova::Barre_Ciclo_Prova;
        QTest::newRow("5 minuti, storico") << 11 << 1 << b - 19 << b - 7 << b - 13;
        QTest::newRow("fine ed etichetta nel futuro") << 7 << 2 << b - 1 << b + 3 << b + 1;
        QTest::newRow("giornaliero") << 2 << 15 << 1 << b + 20 << 50;
        QTest::newRow("orario, da destra a sinistra") << 4 << 7 << 60 << 3 << 31;
    }
    void distanzaTornaSulleSueBarre()
    {
        QFETCH(int, grado);
        QFETCH(int, s);
        QFETCH(int, x1);
        QFETCH(int, x2);
        QFETCH(int, xe);
        const QString durata = QStringLiteral("3 gg. 4 h. 15 min.");
        distanza(grado, s) = Distanza{true, true, x1, 0.0, x2, 99.5, 33, xe, 50.25, durata};
        QString errore;
        QVERIFY2(prova::Salva_Distanza(*stato, grado, s, &errore), qPrintable(errore));
        const Riga r = riga(tabDistanze, grado * 15 + s);
        QCOMPARE(r.at(QStringLiteral("C11")), durata);
        if (grado <= 3)
            for (const char *c : {"C2", "C5", "C9"})
                QCOMPARE(r.at(QLatin1String(c)), QStringLiteral("0000"));

        stato->disegno.Distanze = {};
        const EsitoCaricaOggetti esito = prova::Carica_Distanze(*stato);
        QVERIFY2(esito.ok, qPrintable(esito.errore));
        QCOMPARE(esito.collocati, 1);
        const Distanza &d = distanza(grado, s);
        QVERIFY(d.in_uso && d.trovata);
        QCOMPARE(d.barra_inizio, x1);
        QCOMPARE(d.barra_fine, x2);
        QCOMPARE(d.barra_etichetta, xe);
        QCOMPARE(d.prezzo_inizio, 0.0);  // a start price of 0 is a price like any other
        QCOMPARE(d.prezzo_fine, 99.5);
        QCOMPARE(d.prezzo_etichetta, 50.25);
        QCOMPARE(d.colore, 33);
        QCOMPARE(d.durata, durata);

        distanza(grado, s) = Distanza{};
        QVERIFY(prova::Salva_Distanza(*stato, grado, s));
        QCOMPARE(colonne(riga(tabDistanze, grado * 15 + s), 11), distanzaLibera);
    }

    void righeDistanzaNonValide_data()
    {
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<QString>("valore");
        QTest::addColumn<bool>("liberata");  // false: valid, but out of reach
        QTest::addColumn<bool>("maiPiu");  // out of reach for good: on no bar of the history
        QTest::newRow("data etichetta di 5 caratteri") << "C8" << "09032" << true << false;
        QTest::newRow("ora etichetta di 3 caratteri") << "C9" << "170" << true << false;
        QTest::newRow("prezzo etichetta 0") << "C10" << "0" << true << false;
        QTest::newRow("etichetta @") << "C11" << "@" << true << false;
        QTest::newRow("etichetta vuota") << "C11" << "" << true << false;
        QTest::newRow("etichetta prima dello storico") << "C8" << "010190" << false << true;
        QTest::newRow("etichetta oltre il grafico") << "C8" << "010245" << false << false;
        QTest::newRow("fine prima dello storico") << "C4" << "010190" << false << true;
        // 7 March was a holiday: no bar of the history holds it, nor a time between two bars.
        QTest::newRow("etichetta in un giorno festivo") << "C8" << "070324" << false << true;
        QTest::newRow("etichetta fra due barre") << "C9" << "1202" << false << true;
    }
    void righeDistanzaNonValide()
    {
        QFETCH(QString, colonna);
        QFETCH(QString, valore);
        QFETCH(bool, liberata);
        QFETCH(bool, maiPiu);
        QVERIFY(prova::TogliGiorno(stato->mercato.Storico_5M, QDate(2024, 3, 7)) > 0);
        for (int s = 3; s <= 5; ++s) {
            distanza(10, s) = Distanza{true, true, 10 * s, 1, 10 * s + 5, 2, 30, 10 * s + 2, 1.5, QStringLiteral("d")};
            QVERIFY(prova::Salva_Distanza(*stato, 10, s));
        }
        scrivi(tabDistanze, 10 * 15 + 4, {{colonna, valore}});
        const QStringList prima = colonne(riga(tabDistanze, 10 * 15 + 4), 11);
        stato->disegno.Distanze = {};
        const EsitoCaricaOggetti esito = prova::Carica_Distanze(*stato);
        QVERIFY(esito.ok);
        QCOMPARE(esito.collocati, 2);
        QCOMPARE(esito.liberati, liberata ? 1 : 0);
        QVERIFY(!distanza(10, 4).in_uso);
        QCOMPARE(distanza(10, 5).barra_etichetta, 52);
        QCOMPARE(colonne(riga(tabDistanze, 10 * 15 + 4), 11), liberata ? distanzaLibera : prima);
        const disegno::OggettiInAttesa attesa = disegno::Oggetti_In_Attesa(stato->mercato, stato->disegno, 3, 10);
        QCOMPARE(attesa.possono_tornare, liberata || maiPiu ? 0 : 1);
        QCOMPARE(attesa.non_torneranno, maiPiu ? 1 : 0);
    }

    // Nothing a trader drew is dropped for its colour: a code naming no entry 1..100
    // leaves the row as it is, and the line, the text and the distance are drawn in
    // the default colour.
    void coloreFuoriTabella_data()
    {
        QTest::addColumn<QString>("codice");
        QTest::newRow("0") << "0";
        QTest::newRow("101") << "101";
        QTest::newRow("negativo") << "-3";
        QTest::newRow("non numerico") << "x";
        QTest::newRow("vuoto") << "";
    }
    void coloreFuoriTabella()
    {
        QFETCH(QString, codice);
        const QString tabLinee = QStringLiteral("Dati_Linee_S3");
        stato->disegno.Linee[7][5] = Linea{true, true, 20, 98, 60, 102, 34};
        QVERIFY(prova::Salva_Linea(*stato, 7, 5));
        scrivi(tabLinee, 7 * 15 + 5, {{QStringLiteral("C7"), codice}});
        const QStringList righeLinea = colonne(riga(tabLinee, 7 * 15 + 5), 7);
        stato->disegno.Linee = {};
        QCOMPARE(prova::Carica_Linee(*stato).collocati, 1);
        QCOMPARE(colonne(riga(tabLinee, 7 * 15 + 5), 7), righeLinea);
        QVERIFY(stato->disegno.Linee[7][5].in_uso && stato->disegno.Linee[7][5].trovata);

        testo(7, 4) = Testo{true, true, 40, 100, 30, QStringLiteral("t")};
        distanza(7, 6) = Distanza{true, true, 30, 99, 50, 101, 32, 40, 100, QStringLiteral("d")};
        QVERIFY(prova::Salva_Testo(*stato, 7, 4));
        QVERIFY(prova::Salva_Distanza(*stato, 7, 6));
        scrivi(tabTesti, 7 * 15 + 4, {{QStringLiteral("C5"), codice}});
        scrivi(tabDistanze, 7 * 15 + 6, {{QStringLiteral("C7"), codice}});
        const QStringList righeTesto = colonne(riga(tabTesti, 7 * 15 + 4), 5);
        const QStringList righeDistanza = colonne(riga(tabDistanze, 7 * 15 + 6), 11);
        stato->disegno.Testi = {};
        stato->disegno.Distanze = {};
        QCOMPARE(prova::Carica_Testi(*stato).collocati, 1);
        QCOMPARE(prova::Carica_Distanze(*stato).collocati, 1);
        QCOMPARE(colonne(riga(tabTesti, 7 * 15 + 4), 5), righeTesto);
        QCOMPARE(colonne(riga(tabDistanze, 7 * 15 + 6), 11), righeDistanza);
        QVERIFY(testo(7, 4).in_uso && testo(7, 4).trovata);
        QVERIFY(distanza(7, 6).in_uso && distanza(7, 6).trovata);

        GraficoRegistratore ctl;
        ContestoGrafico c{stato->shell, stato->archivio, stato->mercato, stato->cicli, ctl, 2, 7};
        c.P_Basso = 90;
        c.P_Alto = 110;
        disegno::Disegna_Linee_Utente(c, stato->disegno);
        disegno::Scrivi_Testi_Utente(c, stato->disegno);
        const ColoreWin predefinito = stato->cicli.Colori[81];
        // The line's and the distance's segments first, then an empty series before each text.
        for (size_t i : {0, 1}) {
            QCOMPARE(ctl.serie()[i].punti.size(), size_t(2));
            QCOMPARE(ctl.serie()[i].colore, std::optional<ColoreWin>(predefinito));
        }
        QCOMPARE(ctl.testi().size(), size_t(2));
        for (const TestoGrafico &t : ctl.testi())
            QCOMPARE(t.colore, predefinito);
    }
};

QTEST_GUILESS_MAIN(ArchivioTestiDistanzeTest)
#include "ArchivioTestiDistanzeTest.moc"
