#include "CartellaTemporanea.h"
#include "VariabileTemporanea.h"
#include "archive/Archivio.h"
#include "archive/CreaArchivi.h"
#include "archive/ImpostazioniAvvio.h"
#include "archive/TabSottostanti.h"

#include <QtTest>

using namespace archivio;

namespace {

void scrivi(const char *colonna, const QString &valore)
{
    Connessione c(FileArchivio::Sistema3);
    QVERIFY(c.Aggiorna(QStringLiteral("TABAVV"), QLatin1String(colonna), 1, valore));
}

QString leggi(const char *colonna)
{
    Connessione c(FileArchivio::Sistema3);
    return c.LeggiTabella(QStringLiteral("TABAVV")).at(1).at(QLatin1String(colonna));
}

}  // namespace

class ImpostazioniAvvioTest : public QObject {
    Q_OBJECT
private slots:
    void caricaLogin_data()
    {
        QTest::addColumn<QString>("c5");
        QTest::addColumn<QString>("c7");
        QTest::addColumn<bool>("ricordami");
        QTest::addColumn<bool>("impostaId");
        QTest::addColumn<QString>("id");
        QTest::newRow("remembered") << "Mario" << "1" << true << true << "Mario";
        QTest::newRow("apostrophe") << "d'Amico" << "1" << true << true << "d'Amico";
        QTest::newRow("at sign means none") << "@" << "1" << true << false << "";
        QTest::newRow("empty id") << "" << "1" << true << false << "";
        QTest::newRow("switch off") << "Mario" << "0" << false << false << "";
        QTest::newRow("switch 2") << "Mario" << "2" << false << false << "";
        QTest::newRow("switch empty") << "Mario" << "" << false << false << "";
        QTest::newRow("switch as 1.0") << "Mario" << "1.0" << true << true << "Mario";
    }
    void caricaLogin()
    {
        QFETCH(QString, c5);
        QFETCH(QString, c7);
        QFETCH(bool, ricordami);
        QFETCH(bool, impostaId);
        QFETCH(QString, id);
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        scrivi("C5", c5);
        scrivi("C7", c7);
        StatoArchivio s;
        const LoginRicordato l = Carica_Impostazioni_Avvio(s);
        QCOMPARE(l.Ricordami, ricordami);
        QCOMPARE(l.ImpostaUserId, impostaId);
        QCOMPARE(l.UserId, id);
        QCOMPARE(l.SvuotaPassword, ricordami);
        QCOMPARE(s.Ricordami, ricordami ? 1 : 0);
    }

    void caricaSchemaERealTime_data()
    {
        QTest::addColumn<QString>("valore");
        QTest::addColumn<int>("atteso");
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("2 falls back") << "2" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("text") << "chiaro" << 0;
        QTest::newRow("-1") << "-1" << 0;
    }
    void caricaSchemaERealTime()
    {
        QFETCH(QString, valore);
        QFETCH(int, atteso);
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        scrivi("C8", valore);
        scrivi("C9", valore);
        StatoArchivio s;
        s.Aspetto = 7;
        s.Grafico_RT = 7;
        Carica_Impostazioni_Avvio(s);
        QCOMPARE(s.Aspetto, atteso);
        QCOMPARE(s.Grafico_RT, atteso);
    }

    void sottostanteCorrente_data()
    {
        QTest::addColumn<QString>("c1");
        QTest::addColumn<int>("atteso");
        QTest::newRow("3") << "3" << 3;
        QTest::newRow("7") << "7" << 7;
        QTest::newRow("0 gives 2") << "0" << 2;
        QTest::newRow("empty gives 2") << "" << 2;
        QTest::newRow("integer part") << "4.9" << 4;
        QTest::newRow("comma decimal") << "5,5" << 5;
        QTest::newRow("above 7") << "9" << 2;
        QTest::newRow("negative") << "-3" << 2;
        QTest::newRow("text") << "Dax" << 2;
    }
    void sottostanteCorrente()
    {
        QFETCH(QString, c1);
        QFETCH(int, atteso);
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        scrivi("C1", c1);
        StatoArchivio s;
        s.Sottostante_Corrente = 6;
        Carica_Sottostante_Corrente(s);
        QCOMPARE(s.Sottostante_Corrente, atteso);
    }

    void archivioIlleggibileDaiPredefiniti()
    {
        CartellaTemporanea dir;  // no archive at all
        StatoArchivio s;
        s.Aspetto = 1;
        const LoginRicordato l = Carica_Impostazioni_Avvio(s);
        QVERIFY(!l.Ricordami);
        QCOMPARE(s.Aspetto, 0);
        Carica_Sottostante_Corrente(s);
        QCOMPARE(s.Sottostante_Corrente, 2);
    }

    void salvaLogin_data()
    {
        QTest::addColumn<int>("ricordami");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("c5");
        QTest::addColumn<QString>("c7");
        QTest::newRow("on") << 1 << "Mario" << "Mario" << "1";
        QTest::newRow("on, apostrophe") << 1 << "l'utente" << "l'utente" << "1";
        QTest::newRow("on, empty id keeps the old one") << 1 << "" << "vecchio" << "1";
        QTest::newRow("off erases") << 0 << "Mario" << "@" << "0";
    }
    void salvaLogin()
    {
        QFETCH(int, ricordami);
        QFETCH(QString, id);
        QFETCH(QString, c5);
        QFETCH(QString, c7);
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        scrivi("C5", QStringLiteral("vecchio"));
        QVERIFY(Salva_Dati_Login(ricordami, id, QStringLiteral("pa'ss")));
        QCOMPARE(leggi("C7"), c7);
        QCOMPARE(leggi("C5"), c5);
        QCOMPARE(leggi("C6"), QStringLiteral("@"));
    }

    void salvaSchemaERealTime()
    {
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        StatoArchivio s;
        s.Aspetto = 1;
        s.Grafico_RT = 1;
        QVERIFY(Salva_Aspetto(s));
        QVERIFY(Salva_Grafico_RT(s));
        QCOMPARE(leggi("C8"), QStringLiteral("1"));
        QCOMPARE(leggi("C9"), QStringLiteral("1"));
        StatoArchivio letto;
        Carica_Impostazioni_Avvio(letto);
        QCOMPARE(letto.Aspetto, 1);
        QCOMPARE(letto.Grafico_RT, 1);
    }

    void salvataggioSenzaArchivioFallisceSenzaDanni()
    {
        CartellaTemporanea dir;
        StatoArchivio s;
        QVERIFY(!Salva_Aspetto(s));  // no file, no table: reported, not crashed
    }

    void percorsoArchivio_data()
    {
        QTest::addColumn<QString>("cartella");
        QTest::addColumn<QString>("atteso");
        const QString base = QDir::tempPath() + QStringLiteral("/wavelore-percorso");
        QTest::newRow("cartella") << base << base + QStringLiteral("/Sistema/Sistema3.dat");
        QTest::newRow("con separatore finale") << base + QStringLiteral("/") << base + QStringLiteral("/Sistema/Sistema3.dat");
        QTest::newRow("radice") << "/" << "/Sistema/Sistema3.dat";
    }
    void percorsoArchivio()
    {
        QFETCH(QString, cartella);
        QFETCH(QString, atteso);
        // The folders are made on the way: leave none behind that was not there.
        const QString sistema = QDir(cartella).filePath(QStringLiteral("Sistema"));
        const bool cartellaEsisteva = QFileInfo::exists(cartella);
        const bool sistemaEsisteva = QFileInfo::exists(sistema);
        QString percorso;
        {
            const VariabileTemporanea home("WAVELORE_HOME", cartella.toLocal8Bit());
            percorso = PercorsoArchivio(FileArchivio::Sistema3);
        }
        if (!sistemaEsisteva)
            QDir().rmdir(sistema);
        if (!cartellaEsisteva)
            QDir().rmdir(cartella);
        QCOMPARE(percorso, atteso);
    }

    void tabSottostanti()
    {
        StatoArchivio s;
        s.Tab_Sottostanti[3].Nome = QStringLiteral("vecchio");
        Inizializza_Tab_Sottostanti(s);
        const auto &t = s.Tab_Sottostanti;
        QCOMPARE(t[1].Nome, QStringLiteral("FtseMib"));
        QCOMPARE(t[1].Barre_15M_Giorno, 46);
        QCOMPARE(t[1].Barre_1H_Giorno, 11);
        QCOMPARE(t[1].Inizio_Sessione, QTime(9, 0));
        QCOMPARE(t[1].Fine_Sessione, QTime(20, 30));
        QCOMPARE(t[1].Durata_Sessione, QStringLiteral("11h30m"));
        QCOMPARE(t[5].Nome, QStringLiteral("Mini S&P"));
        QCOMPARE(t[7].Formato_Prezzo, QStringLiteral("0.0000"));
        QCOMPARE(t[2].Formato_Prezzo, QStringLiteral("0.0"));
        for (int u = 2; u <= 7; ++u) {
            QCOMPARE(t[u].Inizio_Sessione, QTime(8, 0));
            QCOMPARE(t[u].Fine_Sessione, QTime(22, 0));
            QCOMPARE(t[u].Barre_15M_Giorno, 56);
            QCOMPARE(t[u].Barre_1H_Giorno, 14);
            QCOMPARE(t[u].Fattore_Durata, 15);
        }
        QCOMPARE(Riga_Sottostante(s, QStringLiteral("Eurostoxx")), 3);
        QCOMPARE(Riga_Sottostante(s, QStringLiteral("Nessuno")), 0);
        const auto prima = s.Tab_Sottostanti;
        Inizializza_Tab_Sottostanti(s);
        for (int u = 1; u <= 7; ++u)
            QCOMPARE(s.Tab_Sottostanti[u].Nome, prima[u].Nome);
    }
};

QTEST_GUILESS_MAIN(ImpostazioniAvvioTest)
#include "ImpostazioniAvvioTest.moc"
