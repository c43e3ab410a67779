#include "CartellaTemporanea.h"

#include "archive/TabSottostanti.h"
#include "simulatore/GeneratoreStorico.h"
#include "market/StoricoLocale.h"

#include <QFile>
#include <QtTest>

using namespace storico;

namespace {

BarraStorico barra(int a, int m, int g, int minuti, double chiusura, double volume)
{
    return {QDate(a, m, g), minuti, chiusura, volume};
}

QByteArray leggi(const QString &percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void scrivi(const QString &percorso, const QByteArray &dati)
{
    QFile f(percorso);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(dati);
}

}  // namespace

class StoricoLocaleTest : public QObject {
    Q_OBJECT

    StatoMercato m_chiave;
    SetStorico m_set;

    void scriviSet(int sottostante)
    {
        const Esito e = generatore::ScriviFileLocali(m_set, sottostante);
        QVERIFY2(e.ok, qPrintable(e.errore));
    }

private slots:
    void initTestCase()
    {
        Inizializza_Tabella_Chiave(m_chiave);
        StatoArchivio a;
        archivio::Inizializza_Tab_Sottostanti(a);
        generatore::Parametri p;
        p.sottostante = a.Tab_Sottostanti[2];
        p.seme = 11;
        p.ultimoGiorno = QDate(2026, 12, 4);
        m_set = generatore::Genera(p);
    }

    // Files written with the key must stay readable: the values are frozen, and no
    // character a line can hold may turn into a separator, quote, blank or line end.
    void chiaveCongelata()
    {
        const int attese[] = {109, 138, 103, 132, 97, 126, 91, 120};
        for (int k = 1; k <= 8; ++k)
            QCOMPARE(m_chiave.Tabella_Chiave[size_t(k)], attese[k - 1]);
        QCOMPARE(m_chiave.Tabella_Chiave[56], 104);
        QCOMPARE(m_chiave.Tabella_Chiave[0], 0);
        const QByteArray possibili("0123456789;.-+E");
        for (int k = 1; k <= Lunghezza_Max_Riga; ++k) {
            for (char c : possibili) {
                const int codice = c + m_chiave.Tabella_Chiave[size_t(k)];
                QVERIFY(codice >= 1 && codice <= 255);
                QVERIFY(!QByteArray(",\" \r\n").contains(char(codice)));
            }
        }
    }

    void rigaCostruitaAMano()
    {
        CartellaTemporanea cartella;
        const BarraStorico b = barra(2012, 3, 5, 9 * 60 + 5, 20150.5, 1234);
        const QByteArray chiaro = RigaInChiaro(b);
        QCOMPARE(chiaro, QByteArray("050312;0905;20150.5;1234"));
        const QByteArray atteso = QByteArray::fromHex("9dbf97b792b096a88ea2c4a7bb96b495ad88ac8fa2c09ebc");
        QCOMPARE(Scrambla(chiaro, m_chiave.Tabella_Chiave), atteso);
        QCOMPARE(Decifra(atteso, m_chiave.Tabella_Chiave), chiaro);
        QCOMPARE(Scrambla(QByteArray(57, '1'), m_chiave.Tabella_Chiave), QByteArray());

        StatoMercato m;
        Inizializza_Tabella_Chiave(m);
        for (BarraStorico &x : m.Storico_5M.barre())
            x = b;
        const Esito e = Salva_Storico(m, 2, QStringLiteral("5M"));
        QVERIFY2(e.ok, qPrintable(e.errore));
        const QByteArray file = leggi(cartella.sistema() + QStringLiteral("/S5M_2.dat"));
        QCOMPARE(file.size(), qsizetype(costanti::Barre_Storico_5M) * (atteso.size() + 2));
        QCOMPARE(file.left(atteso.size() + 2), atteso + "\r\n");

        const auto serie = LeggiFileStorico(PercorsoFileStorico(2, QStringLiteral("5M")), QStringLiteral("5M"),
                                            m.Tabella_Chiave);
        QVERIFY(serie);
        QCOMPARE(serie->barra(1), b);
        QCOMPARE(serie->barra(costanti::Barre_Storico_5M), b);
    }

    void righeInChiaro_data()
    {
        QTest::addColumn<BarraStorico>("b");
        QTest::addColumn<QByteArray>("attesa");
        QTest::newRow("frazione con punto") << barra(2026, 12, 4, 0, 1.085, 12) << QByteArray("041226;0000;1.085;12");
        QTest::newRow("quindici cifre") << barra(2000, 1, 1, 1439, 1.0 / 3, 0) << QByteArray("010100;2359;0.333333333333333;0");
        QTest::newRow("volume arrotondato") << barra(2029, 12, 31, 600, 131.5, 12.5) << QByteArray("311229;1000;131.5;13");
        QTest::newRow("anno 1930") << barra(1930, 1, 2, 5, 0, 7) << QByteArray("020130;0005;0;7");
        QTest::newRow("negativo") << barra(2010, 6, 30, 60, -3.25, 1) << QByteArray("300610;0100;-3.25;1");
        QTest::newRow("piccolo") << barra(2010, 6, 30, 60, 0.000001, 1) << QByteArray("300610;0100;1E-06;1");
        QTest::newRow("senza data") << BarraStorico{} << QByteArray();
        QTest::newRow("anno 2030") << barra(2030, 1, 1, 0, 1, 1) << QByteArray();
        QTest::newRow("minuti fuori giornata") << barra(2020, 1, 1, 1440, 1, 1) << QByteArray();
        QTest::newRow("chiusura non finita") << barra(2020, 1, 1, 0, std::nan(""), 1) << QByteArray();
    }

    void righeInChiaro()
    {
        QFETCH(BarraStorico, b);
        QFETCH(QByteArray, attesa);
        QCOMPARE(RigaInChiaro(b), attesa);
        if (!attesa.isEmpty()) {
            const auto letta = LeggiRiga(attesa);
            QVERIFY(letta);
            QCOMPARE(letta->data, b.data);
            QCOMPARE(letta->minuti, b.minuti);
            QCOMPARE(letta->chiusura, b.chiusura);
            QCOMPARE(letta->volume, std::round(b.volume));
        }
    }

    void testiDellaSerie_data()
    {
        QTest::addColumn<QString>("formatoData");
        QTest::addColumn<QString>("formatoOra");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("ora");
        QTest::newRow("UE") << "DD/MM/YY" << "h:mm" << "05/03/12" << "9:05";
        QTest::newRow("US") << "MM/DD/YY" << "h:mm AM/PM" << "03/05/12" << "9:05 AM";
    }

    // Dates and times are values in the series; their texts come from the active patterns.
    void testiDellaSerie()
    {
        QFETCH(QString, formatoData);
        QFETCH(QString, formatoOra);
        QFETCH(QString, data);
        QFETCH(QString, ora);
        SerieStorico s(3);
        s.barra(1) = barra(2012, 3, 5, 9 * 60 + 5, 1, 1);
        QCOMPARE(s.TestoData(1, formatoData), data);
        QCOMPARE(s.TestoOra(1, formatoOra), ora);
        QCOMPARE(s.TestoData(2, formatoData), QString());
        QCOMPARE(s.TestoOra(2, formatoOra), QString());
        QCOMPARE(s.TestoData(4, formatoData), QString());
    }

    void righeIllegibili_data()
    {
        QTest::addColumn<QByteArray>("riga");
        QTest::newRow("vuota") << QByteArray();
        QTest::newRow("tre campi") << QByteArray("050312;0905;20150.5");
        QTest::newRow("cinque campi") << QByteArray("050312;0905;1;2;3");
        QTest::newRow("giorno 32") << QByteArray("320312;0905;1;2");
        QTest::newRow("29 febbraio non bisestile") << QByteArray("290223;0905;1;2");
        QTest::newRow("ora 24") << QByteArray("050312;2400;1;2");
        QTest::newRow("data corta") << QByteArray("05032;0905;1;2");
        QTest::newRow("chiusura vuota") << QByteArray("050312;0905;;2");
        QTest::newRow("chiusura due punti") << QByteArray("050312;0905;1.2.3;2");
        QTest::newRow("virgola") << QByteArray("050312;0905;1,5;2");
        QTest::newRow("spazio") << QByteArray("050312;0905; 1;2");
        QTest::newRow("troppo lunga") << QByteArray("050312;0905;1;") + QByteArray(43, '1');
    }

    void righeIllegibili()
    {
        QFETCH(QByteArray, riga);
        QVERIFY(!LeggiRiga(riga));
    }

    void serieRiletteUguali()
    {
        CartellaTemporanea cartella;
        scriviSet(3);
        QString errore;
        const auto letto = LeggiSetStorico(3, m_chiave.Tabella_Chiave, &errore);
        QVERIFY2(letto, qPrintable(errore));
        QVERIFY(letto->s5M.barre() == m_set.s5M.barre());
        QVERIFY(letto->s15M.barre() == m_set.s15M.barre());
        QVERIFY(letto->s1H.barre() == m_set.s1H.barre());
        QVERIFY(letto->s1D.barre() == m_set.s1D.barre());
    }

    // A series that cannot be written whole leaves the previous file as it was.
    void scritturaRifiutataTieneIlFile()
    {
        CartellaTemporanea cartella;
        scriviSet(1);
        const QString percorso = PercorsoFileStorico(1, QStringLiteral("1H"));
        const QByteArray prima = leggi(percorso);
        StatoMercato m;
        Inizializza_Tabella_Chiave(m);
        m.Storico_1H = m_set.s1H;
        m.Storico_1H.barra(4000) = BarraStorico{};
        const Esito e = Salva_Storico(m, 1, QStringLiteral("1H"));
        QVERIFY(!e.ok);
        QVERIFY(!e.errore.isEmpty());
        QCOMPARE(leggi(percorso), prima);

        QVERIFY(!Salva_Storico(m, 1, QStringLiteral("2H")).ok);
        QVERIFY(!Salva_Storico(m, 8, QStringLiteral("1D")).ok);
        QVERIFY(!Salva_Storico(m, 0, QStringLiteral("1D")).ok);
        QVERIFY(!QFile::exists(cartella.sistema() + QStringLiteral("/S2H_1.dat")));
        QVERIFY(!QFile::exists(cartella.sistema() + QStringLiteral("/S1D_8.dat")));
    }

    void fileDifettosi_data()
    {
        QTest::addColumn<QString>("timeframe");
        QTest::addColumn<int>("caso");
        const char *nomi[] = {"troncato a meta riga", "una riga in meno", "carattere estraneo", "riga troppo lunga",
                              "data non valida", "solo LF", "vuoto", "riga vuota", "riga in chiaro"};
        for (int caso = 0; caso < 9; ++caso)
            QTest::newRow(nomi[caso]) << (caso % 2 ? QStringLiteral("1D") : QStringLiteral("15M")) << caso;
    }

    // Whatever is wrong with one file, the underlying is not offered and the series
    // of the current session stay as they were.
    void fileDifettosi()
    {
        QFETCH(QString, timeframe);
        QFETCH(int, caso);
        CartellaTemporanea cartella;
        scriviSet(2);
        const QString percorso = PercorsoFileStorico(2, timeframe);
        QByteArray dati = leggi(percorso);
        const qsizetype fineRiga1 = dati.indexOf("\r\n");
        switch (caso) {
        case 0: dati.chop(7); break;
        case 1: dati.truncate(dati.lastIndexOf("\r\n", dati.size() - 3) + 2); break;
        case 2: dati[5] = ' '; break;
        case 3: dati.insert(fineRiga1, QByteArray(40, char(0x90))); break;
        case 4: {
            const QByteArray riga = Scrambla("310226;0000;1;1", m_chiave.Tabella_Chiave);
            dati.replace(0, fineRiga1, riga);
            break;
        }
        case 5: dati.replace("\r\n", "\n"); break;
        case 6: dati.clear(); break;
        case 7: dati.insert(fineRiga1 + 2, "\r\n"); break;
        case 8: dati.replace(0, fineRiga1, "041226;0000;1;1"); break;
        }
        scrivi(percorso, dati);
        QString errore;
        QVERIFY(!LeggiFileStorico(percorso, timeframe, m_chiave.Tabella_Chiave, &errore));
        QVERIFY(errore.contains(NomeFileStorico(2, timeframe)));

        StatoMercato m;
        Inizializza_Tabella_Chiave(m);
        m.Storico_5M.barra(1) = barra(2020, 1, 1, 600, 42, 1);
        int sottostante = 2;
        bool avvisato = false;
        AzioniOffline azioni;
        azioni.Nessuno_Storico = [&](const QString &, const QString &) { avvisato = true; };
        const EsitoOffline esito = Carica_Storico_Offline(m, sottostante, QStringLiteral("UE"), azioni);
        QVERIFY(!esito.caricato);
        QVERIFY(avvisato);
        QVERIFY(esito.etichette[2].isEmpty());
        QVERIFY(!m.Storico_Offline_Disponibile[2]);
        QCOMPARE(m.Storico_5M.barra(1).chiusura, 42.0);
    }

    void sceltaOffline_data()
    {
        QTest::addColumn<QList<int>>("completi");
        QTest::addColumn<QList<int>>("senzaGiornaliero");
        QTest::addColumn<int>("corrente");
        QTest::addColumn<int>("atteso");
        QTest::newRow("corrente disponibile") << QList<int>{3, 5} << QList<int>{} << 3 << 3;
        QTest::newRow("3 e 4 senza file") << QList<int>{5} << QList<int>{} << 3 << 5;
        QTest::newRow("giro 6, 7, 1") << QList<int>{1} << QList<int>{} << 6 << 1;
        QTest::newRow("manca S1D") << QList<int>{4} << QList<int>{2} << 2 << 4;
        QTest::newRow("corrente fuori intervallo") << QList<int>{2} << QList<int>{} << 9 << 2;
    }

    void sceltaOffline()
    {
        QFETCH(QList<int>, completi);
        QFETCH(QList<int>, senzaGiornaliero);
        QFETCH(int, corrente);
        QFETCH(int, atteso);
        CartellaTemporanea cartella;
        for (int u : completi + senzaGiornaliero)
            scriviSet(u);
        for (int u : senzaGiornaliero)
            QVERIFY(QFile::remove(PercorsoFileStorico(u, QStringLiteral("1D"))));

        StatoMercato m;
        Inizializza_Tabella_Chiave(m);
        QList<int> passi;
        AzioniOffline azioni;
        azioni.Mostra_Avanzamento = [&](int passo) { passi << passo; };
        azioni.Nessuno_Storico = [](const QString &, const QString &) { QFAIL("nessun messaggio atteso"); };
        const EsitoOffline esito = Carica_Storico_Offline(m, corrente, QStringLiteral("UE"), azioni);
        QVERIFY(esito.caricato);
        QCOMPARE(corrente, atteso);
        QCOMPARE(passi, (QList<int>{4, 5, 6, 7}));
        for (int u = 1; u <= 7; ++u) {
            QCOMPARE(esito.etichette[size_t(u)], completi.contains(u) ? QStringLiteral("04/12/26") : QString());
            QCOMPARE(m.Storico_Offline_Disponibile[size_t(u)], completi.contains(u));
        }
        QVERIFY(m.Storico_1D.barre() == m_set.s1D.barre());
        QVERIFY(m.Storico_5M.barre() == m_set.s5M.barre());
    }

    void etichettaUS()
    {
        CartellaTemporanea cartella;
        scriviSet(7);
        StatoMercato m;
        Inizializza_Tabella_Chiave(m);
        int corrente = 7;
        const EsitoOffline esito = Carica_Storico_Offline(m, corrente, QStringLiteral("US"));
        QVERIFY(esito.caricato);
        QCOMPARE(esito.etichette[7], QStringLiteral("12/04/26"));
    }

    void nessunoStorico()
    {
        CartellaTemporanea cartella;
        StatoMercato m;
        Inizializza_Tabella_Chiave(m);
        int corrente = 4;
        QString titolo, testo;
        AzioniOffline azioni;
        azioni.Nessuno_Storico = [&](const QString &t, const QString &x) {
            titolo = t;
            testo = x;
        };
        const EsitoOffline esito = Carica_Storico_Offline(m, corrente, QStringLiteral("UE"), azioni);
        QVERIFY(!esito.caricato);
        QCOMPARE(corrente, 4);
        QCOMPARE(titolo, QStringLiteral("Wavelore \u00AE"));
        QCOMPARE(testo, QStringLiteral("Non esiste nessun file Storico per connettersi Offline.\r\n"
                                       "Per creare Storici Offline connettersi prima Online al\r\n"
                                       "Sottostante desiderato."));
    }

    void verificaFile()
    {
        CartellaTemporanea cartella;
        QVERIFY(!Verifica_File_Storico(QStringLiteral("S5M_1.dat")));
        QDir().mkpath(cartella.sistema() + QStringLiteral("/S5M_1.dat"));
        QVERIFY(!Verifica_File_Storico(QStringLiteral("S5M_1.dat")));
        scrivi(cartella.sistema() + QStringLiteral("/S1H_1.dat"), "x");
        QVERIFY(Verifica_File_Storico(QStringLiteral("S1H_1.dat")));
        QCOMPARE(NomeFileStorico(3, QStringLiteral("15M")), QStringLiteral("S15M_3.dat"));
    }
};

QTEST_GUILESS_MAIN(StoricoLocaleTest)
#include "StoricoLocaleTest.moc"
