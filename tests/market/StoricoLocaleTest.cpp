#include "CartellaTemporanea.h"

#include "archive/TabSottostanti.h"
#include "simulatore/GeneratoreStorico.h"
#include "market/StoricoLocale.h"

#include <QFile>
#include <QtTest>
#include <csignal>
#include <limits>
#include <sys/resource.h>

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

// What the offline load told the window.
struct AzioniRegistrate : AzioniOffline {
    QList<int> passi;
    QStringList danni;
    QStringList nessuno;  // the message's title and text
    qsizetype danniPrimaDelMessaggio = -1;

    void Mostra_Avanzamento(int passo) override { passi << passo; }
    void Nessuno_Storico(const QString &titolo, const QString &testo) override
    {
        danniPrimaDelMessaggio = danni.size();
        nessuno = {titolo, testo};
    }
    void Storico_Danneggiato(const QString &testo) override { danni << testo; }
};

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

    static SetStorico genera(const QDate &ultimoGiorno)
    {
        StatoArchivio a;
        archivio::Inizializza_Tab_Sottostanti(a);
        generatore::Parametri p;
        p.sottostante = a.Tab_Sottostanti[2];
        p.seme = 11;
        p.ultimoGiorno = ultimoGiorno;
        return generatore::Genera(p);
    }

    void troncaGiornaliero(int sottostante)
    {
        const QString percorso = PercorsoFileStorico(sottostante, QStringLiteral("1D"));
        QByteArray dati = leggi(percorso);
        dati.chop(7);
        scrivi(percorso, dati);
    }

private slots:
    void initTestCase()
    {
        Inizializza_Tabella_Chiave(m_chiave);
        m_set = genera(QDate(2026, 12, 4));
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

    // Written on a day of year `oggi`; an empty line is a bar no file can hold.
    void righeInChiaro_data()
    {
        QTest::addColumn<BarraStorico>("b");
        QTest::addColumn<int>("oggi");
        QTest::addColumn<QByteArray>("attesa");
        const double infinito = std::numeric_limits<double>::infinity();
        QTest::newRow("frazione con punto") << barra(2026, 12, 4, 0, 1.085, 12) << 2026 << QByteArray("041226;0000;1.085;12");
        QTest::newRow("quindici cifre") << barra(2000, 1, 1, 1439, 1.0 / 3, 0) << 2026 << QByteArray("010100;2359;0.333333333333333;0");
        QTest::newRow("volume arrotondato") << barra(2029, 12, 31, 600, 131.5, 12.5) << 2026 << QByteArray("311229;1000;131.5;13");
        QTest::newRow("negativo") << barra(2010, 6, 30, 60, -3.25, 1) << 2026 << QByteArray("300610;0100;-3.25;1");
        QTest::newRow("piccolo") << barra(2010, 6, 30, 60, 0.000001, 1) << 2026 << QByteArray("300610;0100;1E-06;1");
        QTest::newRow("volume al limite") << barra(2010, 6, 30, 60, 1, 9e15) << 2026 << QByteArray("300610;0100;1;9000000000000000");
        QTest::newRow("anno 2030") << barra(2030, 1, 1, 0, 1, 1) << 2026 << QByteArray("010130;0000;1;1");
        QTest::newRow("anno 2046") << barra(2046, 1, 1, 0, 1, 1) << 2026 << QByteArray("010146;0000;1;1");
        QTest::newRow("anno 1947") << barra(1947, 1, 2, 5, 0, 7) << 2026 << QByteArray("020147;0005;0;7");
        QTest::newRow("anno 1930 nel 2000") << barra(1930, 1, 2, 5, 0, 7) << 2000 << QByteArray("020130;0005;0;7");
        QTest::newRow("anno 2047") << barra(2047, 1, 1, 0, 1, 1) << 2026 << QByteArray();
        QTest::newRow("anno 1946") << barra(1946, 12, 31, 0, 1, 1) << 2026 << QByteArray();
        QTest::newRow("senza data") << BarraStorico{} << 2026 << QByteArray();
        QTest::newRow("minuti fuori giornata") << barra(2020, 1, 1, 1440, 1, 1) << 2026 << QByteArray();
        QTest::newRow("chiusura non finita") << barra(2020, 1, 1, 0, std::nan(""), 1) << 2026 << QByteArray();
        QTest::newRow("chiusura infinita") << barra(2020, 1, 1, 0, -infinito, 1) << 2026 << QByteArray();
        QTest::newRow("volume infinito") << barra(2020, 1, 1, 0, 1, infinito) << 2026 << QByteArray();
        QTest::newRow("volume oltre il file") << barra(2020, 1, 1, 0, 1, 1e16) << 2026 << QByteArray();
        QTest::newRow("volume negativo oltre il file") << barra(2020, 1, 1, 0, 1, -1e16) << 2026 << QByteArray();
    }

    void righeInChiaro()
    {
        QFETCH(BarraStorico, b);
        QFETCH(int, oggi);
        QFETCH(QByteArray, attesa);
        QCOMPARE(RigaInChiaro(b, oggi), attesa);
        // The one rule the download and the merges ask: what it accepts, the writer writes.
        QCOMPARE(Barra_Registrabile(b, oggi), !attesa.isEmpty());
        if (!attesa.isEmpty()) {
            const auto letta = LeggiRiga(attesa, oggi);
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
        QTest::newRow("volume oltre il file") << QByteArray("050312;0905;1;10000000000000000");
    }

    void righeIllegibili()
    {
        QFETCH(QByteArray, riga);
        QVERIFY(!LeggiRiga(riga));
    }

    void serieRiletteUguali_data()
    {
        QTest::addColumn<QDate>("ultimoGiorno");
        QTest::newRow("fino al 2026") << QDate(2026, 12, 4);
        QTest::newRow("fino al 2035") << QDate(2035, 6, 15);
    }

    // Written and read back in 2026, quotes from 2030 on included.
    void serieRiletteUguali()
    {
        QFETCH(QDate, ultimoGiorno);
        CartellaTemporanea cartella;
        const SetStorico set = genera(ultimoGiorno);
        StatoMercato m;
        Inizializza_Tabella_Chiave(m);
        CopiaSetStorico(m, set);
        for (const QString &tf : Timeframes()) {
            const Esito e = Salva_Storico(m, 3, tf, 2026);
            QVERIFY2(e.ok, qPrintable(e.errore));
        }
        QString errore;
        const auto letto = LeggiSetStorico(3, m.Tabella_Chiave, &errore, 2026);
        QVERIFY2(letto, qPrintable(errore));
        QVERIFY(letto->s5M.barre() == set.s5M.barre());
        QVERIFY(letto->s15M.barre() == set.s15M.barre());
        QVERIFY(letto->s1H.barre() == set.s1H.barre());
        QVERIFY(letto->s1D.barre() == set.s1D.barre());
        QCOMPARE(letto->s1D.barra(1).data, ultimoGiorno);
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

        // Nor does a disk that takes only part of it; the reason is the write's own cause,
        // not the words of the write then cancelled.
        rlimit limite{};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &limite) == 0);
        rlimit piccolo = limite;
        piccolo.rlim_cur = 4096;
        std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &piccolo) == 0);
        DiscoReale disco;
        const Esito parziale = Scrivi_File_Storico(percorso, QByteArray(100000, '1'), disco);
        ::setrlimit(RLIMIT_FSIZE, &limite);
        QCOMPARE(parziale.errore, QStringLiteral("il file supera la dimensione consentita"));
        QCOMPARE(leggi(percorso), prima);
        QCOMPARE(QDir(cartella.sistema()).entryList({QStringLiteral("*.dat.*")}, QDir::Files), QStringList());
    }

    void fileDifettosi_data()
    {
        QTest::addColumn<QString>("timeframe");
        QTest::addColumn<int>("caso");
        const char *nomi[] = {"troncato a meta riga", "una riga in meno", "carattere estraneo", "riga troppo lunga",
                              "data non valida", "solo LF", "vuoto", "riga vuota", "riga in chiaro",
                              "una riga in piu", "fine riga in piu", "un byte in piu"};
        for (int caso = 0; caso < 12; ++caso)
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
        case 9: dati.append(dati.left(fineRiga1 + 2)); break;
        case 10: dati.append("\r\n"); break;
        case 11: dati.append(dati.at(0)); break;
        }
        scrivi(percorso, dati);
        QString errore;
        QVERIFY(!LeggiFileStorico(percorso, timeframe, m_chiave.Tabella_Chiave, &errore));
        QVERIFY(errore.startsWith(NomeFileStorico(2, timeframe) + QStringLiteral(": ")));
        const QString motivo = errore.mid(NomeFileStorico(2, timeframe).size() + 2);

        StatoMercato m;
        Inizializza_Tabella_Chiave(m);
        m.Storico_5M.barra(1) = barra(2020, 1, 1, 600, 42, 1);
        int sottostante = 2;
        AzioniRegistrate azioni;
        const EsitoOffline esito = Carica_Storico_Offline(m, sottostante, QStringLiteral("UE"), azioni);
        QVERIFY(!esito.caricato);
        QCOMPARE(azioni.nessuno.size(), 2);
        QCOMPARE(azioni.danniPrimaDelMessaggio, 1);  // which file and why come first
        const QStringList &danni = azioni.danni;
        QCOMPARE(danni.size(), 1);
        QVERIFY2(danni[0].contains(QDir::toNativeSeparators(percorso)) && danni[0].contains(motivo),
                 qPrintable(danni[0]));
        QVERIFY(esito.etichette[2].isEmpty());
        QVERIFY(!m.Storico_Offline_Disponibile[2]);
        QCOMPARE(m.Storico_5M.barra(1).chiusura, 42.0);
    }

    // Only a damaged set of the current underlying is reported; a missing file is not damage.
    void sceltaOffline_data()
    {
        QTest::addColumn<QList<int>>("completi");
        QTest::addColumn<QList<int>>("senzaGiornaliero");
        QTest::addColumn<QList<int>>("danneggiati");
        QTest::addColumn<int>("corrente");
        QTest::addColumn<int>("atteso");
        QTest::addColumn<QString>("avviso");
        QTest::newRow("corrente disponibile") << QList<int>{3, 5} << QList<int>{} << QList<int>{} << 3 << 3 << "";
        QTest::newRow("3 e 4 senza file") << QList<int>{5} << QList<int>{} << QList<int>{} << 3 << 5 << "";
        QTest::newRow("giro 6, 7, 1") << QList<int>{1} << QList<int>{} << QList<int>{} << 6 << 1 << "";
        QTest::newRow("manca S1D") << QList<int>{4} << QList<int>{2} << QList<int>{} << 2 << 4 << "";
        QTest::newRow("corrente fuori intervallo") << QList<int>{2} << QList<int>{} << QList<int>{} << 9 << 2 << "";
        QTest::newRow("corrente danneggiato") << QList<int>{5} << QList<int>{} << QList<int>{3} << 3 << 5 << "S1D_3.dat";
        QTest::newRow("danneggiato un altro") << QList<int>{3} << QList<int>{} << QList<int>{5} << 3 << 3 << "";
    }

    void sceltaOffline()
    {
        QFETCH(QList<int>, completi);
        QFETCH(QList<int>, senzaGiornaliero);
        QFETCH(QList<int>, danneggiati);
        QFETCH(int, corrente);
        QFETCH(int, atteso);
        QFETCH(QString, avviso);
        CartellaTemporanea cartella;
        for (int u : completi + senzaGiornaliero + danneggiati)
            scriviSet(u);
        for (int u : senzaGiornaliero)
            QVERIFY(QFile::remove(PercorsoFileStorico(u, QStringLiteral("1D"))));
        for (int u : danneggiati)
            troncaGiornaliero(u);

        StatoMercato m;
        Inizializza_Tabella_Chiave(m);
        AzioniRegistrate azioni;
        const EsitoOffline esito = Carica_Storico_Offline(m, corrente, QStringLiteral("UE"), azioni);
        QVERIFY(esito.caricato);
        QVERIFY(azioni.nessuno.isEmpty());
        const QStringList &danni = azioni.danni;
        QCOMPARE(corrente, atteso);
        QCOMPARE(danni.size(), avviso.isEmpty() ? 0 : 1);
        if (!avviso.isEmpty())
            QVERIFY2(danni[0].contains(avviso) && danni[0].contains(QStringLiteral("troncato")), qPrintable(danni[0]));
        QCOMPARE(azioni.passi, (QList<int>{4, 5, 6, 7}));
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
        AzioniRegistrate azioni;
        const EsitoOffline esito = Carica_Storico_Offline(m, corrente, QStringLiteral("UE"), azioni);
        QVERIFY(!esito.caricato);
        QCOMPARE(corrente, 4);
        QCOMPARE(azioni.nessuno.size(), 2);
        const QString titolo = azioni.nessuno[0], testo = azioni.nessuno[1];
        QVERIFY(azioni.danni.isEmpty() && azioni.passi.isEmpty());
        QCOMPARE(titolo, QStringLiteral("Wavelore \u00AE"));
        QCOMPARE(testo, QStringLiteral("Non esiste nessun file Storico per connettersi Offline.\r\n"
                                       "Per creare Storici Offline connettersi prima Online al\r\n"
                                       "Sottostante desiderato."));
    }

    // What an interrupted save leaves beside the history files goes; nothing else does.
    void temporaneiRimossi_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<bool>("rimosso");
        QTest::newRow("temporaneo 5M") << "S5M_1.dat.AbCdEf" << true;
        QTest::newRow("temporaneo 1D") << "S1D_7.dat.qwerty" << true;
        QTest::newRow("storico") << "S15M_3.dat" << false;
        QTest::newRow("archivio messo da parte") << "Sistema1.dat.danneggiato-20260101-101010" << false;
        QTest::newRow("suffisso corto") << "S1H_2.dat.AbCdE" << false;
        QTest::newRow("sottostante 8") << "S1H_8.dat.AbCdEf" << false;
        QTest::newRow("altro file") << "appunti.txt" << false;
    }

    void temporaneiRimossi()
    {
        QFETCH(QString, nome);
        QFETCH(bool, rimosso);
        CartellaTemporanea cartella;
        const QString percorso = cartella.sistema() + QLatin1Char('/') + nome;
        scrivi(percorso, "x");
        QCOMPARE(Rimuovi_Temporanei_Storico(), rimosso ? 1 : 0);
        QCOMPARE(QFile::exists(percorso), !rimosso);
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
