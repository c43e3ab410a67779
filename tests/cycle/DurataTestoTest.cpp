#include "archive/StatoArchivio.h"
#include "archive/TabSottostanti.h"
#include "cycle/Colori.h"
#include "cycle/DurataTesto.h"
#include "cycle/StatoCicli.h"
#include "platform/NomiGradi.h"

#include <QtTest>

using namespace ciclo;

class DurataTestoTest : public QObject {
    Q_OBJECT
private slots:
    void durata_data()
    {
        QTest::addColumn<int>("sottostante");
        QTest::addColumn<int>("barre15");
        QTest::addColumn<int>("grado");
        QTest::addColumn<int>("barre");
        QTest::addColumn<QString>("testo");
        QTest::newRow("giornaliero") << 2 << 56 << 2 << 20 << "20g ";
        QTest::newRow("orario") << 2 << 56 << 4 << 30 << "2g 2h ";
        QTest::newRow("orario sottostante 1") << 1 << 46 << 4 << 25 << "2g 3h ";
        QTest::newRow("orario un giorno") << 2 << 56 << 4 << 14 << "1g ";
        QTest::newRow("15 minuti") << 2 << 56 << 8 << 6 << "1h 30m";
        QTest::newRow("minuti 59 portati all'ora") << 2 << 56 << 8 << 60 << "1g 1h ";
        QTest::newRow("46 barre al giorno") << 2 << 46 << 8 << 50 << "1g 1h ";
        QTest::newRow("senza ore") << 2 << 56 << 9 << 57 << "1g 15m";
        QTest::newRow("5 minuti") << 2 << 56 << 11 << 7 << "35m";
        QTest::newRow("5 minuti un giorno") << 2 << 56 << 12 << 170 << "1g 10m";
        QTest::newRow("zero barre") << 2 << 56 << 6 << 0 << "";
        QTest::newRow("grado 13") << 2 << 56 << 13 << 50 << "";
        QTest::newRow("grado -1") << 2 << 56 << -1 << 50 << "";
    }

    void durata()
    {
        QFETCH(int, sottostante);
        QFETCH(int, barre15);
        QFETCH(int, grado);
        QFETCH(int, barre);
        QFETCH(QString, testo);
        StatoArchivio a;
        archivio::Inizializza_Tab_Sottostanti(a);
        a.Sottostante_Corrente = sottostante;
        StatoCicli c;
        c.Barre_15M_Giorno = barre15;
        QCOMPARE(Converti_Durata_Testo(c, a, grado, barre), testo);
    }

    void didascalie()
    {
        StatoArchivio a;
        archivio::Inizializza_Tab_Sottostanti(a);
        a.Sottostante_Corrente = 2;
        StatoCicli c;
        c.Barre_15M_Giorno = 56;
        c.Durata[5] = 28;
        c.Durata[0] = 20.5;  // half to even: 20
        c.Durata[8] = 0;
        QCOMPARE(Didascalia_Grado(c, a, 5), QStringLiteral("Kalvo+3   : 2g "));
        QCOMPARE(Didascalia_Grado(c, a, 0), QStringLiteral("Kalvo+8: 20g "));
        QCOMPARE(Didascalia_Grado(c, a, 8), QStringLiteral("Kalvo: "));
    }

    // Every text that names a degree, as the window shows it: the archive's notices,
    // the chart caption, the check box, and the separator line under some boxes.
    void nomi_dei_gradi_data()
    {
        QTest::addColumn<int>("grado");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("etichetta");
        QTest::addColumn<bool>("linea");
        QTest::newRow("0") << 0 << "Kalvo +8" << "  Kalvo +8  Index 1d" << "Kalvo+8: " << false;
        QTest::newRow("1") << 1 << "Kalvo +7" << "  Kalvo +7  Index 1d" << "Kalvo+7: " << false;
        QTest::newRow("2") << 2 << "Kalvo +6" << "  Kalvo +6  Index 1d" << "Kalvo+6: " << false;
        QTest::newRow("3") << 3 << "Kalvo +5" << "  Kalvo +5  Index 1d" << "Kalvo+5: " << true;
        QTest::newRow("4") << 4 << "Kalvo +4" << "  Kalvo +4  Future 1h" << "Kalvo+4: " << false;
        QTest::newRow("5") << 5 << "Kalvo +3" << "  Kalvo +3  Future 1h" << "Kalvo+3   : " << false;
        QTest::newRow("6") << 6 << "Kalvo +2" << "  Kalvo +2  Future 15m" << "Kalvo+2: " << false;
        QTest::newRow("7") << 7 << "Kalvo +1" << "  Kalvo +1  Future 15m" << "Kalvo+1: " << true;
        QTest::newRow("8") << 8 << "Kalvo 0" << "  Kalvo  Future 15m" << "Kalvo: " << true;
        QTest::newRow("9") << 9 << "Kalvo -1" << "  Kalvo -1  Future 15m" << "Kalvo-1: " << false;
        QTest::newRow("10") << 10 << "Kalvo -2" << "  Kalvo -2  Future 5m" << "Kalvo-2: " << false;
        QTest::newRow("11") << 11 << "Kalvo -3" << "  Kalvo -3  Future 5m" << "Kalvo-3: " << false;
        QTest::newRow("12") << 12 << "Kalvo -4" << "  Kalvo -4  Future 5m" << "Kalvo-4: " << false;
        QTest::newRow("13") << 13 << "" << "" << "" << false;
        QTest::newRow("-1") << -1 << "" << "" << "" << false;
    }
    void nomi_dei_gradi()
    {
        QFETCH(int, grado);
        QFETCH(QString, nome);
        QFETCH(QString, titolo);
        QFETCH(QString, etichetta);
        QFETCH(bool, linea);
        QCOMPARE(nomi_gradi::Nome(grado), nome);
        QCOMPARE(nomi_gradi::Titolo(grado), titolo);
        QCOMPARE(nomi_gradi::Etichetta(grado), etichetta);
        QCOMPARE(nomi_gradi::Linea_Dopo(grado), linea);
        // The check box: its label, then a duration of no bars, which says nothing.
        StatoArchivio a;
        archivio::Inizializza_Tab_Sottostanti(a);
        StatoCicli c;
        QCOMPARE(Didascalia_Grado(c, a, grado), etichetta);
    }

    void colori_data()
    {
        QTest::addColumn<int>("indice");
        QTest::addColumn<uint>("scuro");
        QTest::addColumn<uint>("chiaro");
        QTest::newRow("sfondo") << 0 << 0x000000u << 0xFFFFFFu;
        QTest::newRow("etichetta caricamento") << 11 << 0x332DD1u << 0x332DD1u;
        QTest::newRow("chat") << 14 << 0x00FFFFu << 0xFF0000u;
        QTest::newRow("faccia pulsante") << 40 << 0x8000000Fu << 0x8000000Fu;
        QTest::newRow("pulsante acceso") << 42 << 0xA8E284u << 0xA8E284u;
        QTest::newRow("86") << 86 << 0x5F5F5Fu << 0xAFBABFu;
        QTest::newRow("mai impostato 5") << 5 << 0u << 0u;
        QTest::newRow("mai impostato 100") << 100 << 0u << 0u;
    }

    void colori()
    {
        QFETCH(int, indice);
        QFETCH(uint, scuro);
        QFETCH(uint, chiaro);
        StatoCicli c;
        Imposta_Colori(c, 0);
        QCOMPARE(c.Colori[size_t(indice)], scuro);
        Imposta_Colori(c, 1);
        QCOMPARE(c.Colori[size_t(indice)], chiaro);
    }

    void schemaAvantiEIndietro()
    {
        StatoCicli c;
        Imposta_Colori(c, 0);
        const auto scuro = c.Colori;
        Imposta_Colori(c, 1);
        QVERIFY(c.Colori != scuro);
        Imposta_Colori(c, 0);
        QVERIFY(c.Colori == scuro);
    }
};

QTEST_GUILESS_MAIN(DurataTestoTest)
#include "DurataTestoTest.moc"
