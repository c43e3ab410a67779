#include "ArchivioProva.h"
#include "CartellaTemporanea.h"
#include "DanniArchivio.h"
#include "archive/Archivio.h"
#include "archive/CreaArchivi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QtTest>

using namespace archivio;

namespace {

int conta(FileArchivio f, const QString &sql)
{
    Connessione c(f);
    QSqlQuery q(c.Database());
    if (!q.exec(sql) || !q.next())
        return -1;
    return q.value(0).toInt();
}

QString valore(FileArchivio f, const QString &tabella, const QString &colonna, int id)
{
    return ValoreArchivio(f, tabella, colonna, id);
}

QStringList accantonati(const CartellaTemporanea &dir)
{
    return QDir(dir.sistema()).entryList({QStringLiteral("*.danneggiato-*")}, QDir::Files);
}

enum Taglio { Al25, Al50, Al75, UnByteInMeno, ByteInPiu, FogliaDopoUnaRiga };

}  // namespace

class CreaArchiviTest : public QObject {
    Q_OBJECT
private slots:
    void schemaCompleto_data()
    {
        QTest::addColumn<int>("file");
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<int>("righe");
        QTest::addColumn<QString>("ultimaColonna");
        QTest::newRow("TABAVV") << 3 << "TABAVV" << 1 << "C9";
        QTest::newRow("Sistema3 TAB0") << 3 << "TAB0" << 7 << "C15";
        QTest::newRow("Sistema3 TAB12") << 3 << "TAB12" << 7 << "C15";
        QTest::newRow("TABGRAF") << 3 << "TABGRAF" << 7 << "C12";
        QTest::newRow("Sistema2 TAB0") << 2 << "TAB0" << 7 << "C23";
        QTest::newRow("Sistema2 TAB12") << 2 << "TAB12" << 7 << "C23";
        QTest::newRow("lines S1") << 1 << "Dati_Linee_S1" << 195 << "C7";
        QTest::newRow("texts S4") << 1 << "Dati_Testo_S4" << 195 << "C5";
        QTest::newRow("distances S7") << 1 << "Dati_Dista_S7" << 195 << "C11";
    }
    void schemaCompleto()
    {
        QFETCH(int, file);
        QFETCH(QString, tabella);
        QFETCH(int, righe);
        QFETCH(QString, ultimaColonna);
        CartellaTemporanea dir;
        const EsitoArchivi e = Crea_Archivi();
        QVERIFY2(e.ok, qPrintable(e.Errori.join(QLatin1Char('\n'))));
        QVERIFY(e.Riparazioni.isEmpty());  // a first start reports nothing
        const auto f = FileArchivio(file);
        QCOMPARE(conta(f, QStringLiteral("SELECT COUNT(*) FROM %1").arg(tabella)), righe);
        QCOMPARE(conta(f, QStringLiteral("SELECT MIN(ID) FROM %1").arg(tabella)), 1);
        QCOMPARE(conta(f, QStringLiteral("SELECT MAX(ID) FROM %1").arg(tabella)), righe);
        QVERIFY(valore(f, tabella, ultimaColonna, righe) != QStringLiteral("<manca>"));
    }

    void tabelleDiOgniFile()
    {
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        Connessione s1(FileArchivio::Sistema1), s2(FileArchivio::Sistema2), s3(FileArchivio::Sistema3);
        QCOMPARE(s1.Database().tables().size(), 21);
        QCOMPARE(s2.Database().tables().size(), 13);
        QCOMPARE(s3.Database().tables().size(), 15);
        // A file another program holds locked keeps the window waiting half a second at most.
        for (Connessione *c : {&s1, &s2, &s3}) {
            QSqlQuery q(c->Database());
            QVERIFY(q.exec(QStringLiteral("PRAGMA busy_timeout")) && q.next());
            QCOMPARE(q.value(0).toInt(), Attesa_File_Bloccato_ms);
        }
    }

    void valoriIniziali_data()
    {
        QTest::addColumn<int>("file");
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("underlying") << 3 << "TABAVV" << 1 << "C1" << "2";
        QTest::newRow("user id") << 3 << "TABAVV" << 1 << "C5" << "@";
        QTest::newRow("password") << 3 << "TABAVV" << 1 << "C6" << "@";
        QTest::newRow("remember") << 3 << "TABAVV" << 1 << "C7" << "0";
        QTest::newRow("scheme") << 3 << "TABAVV" << 1 << "C8" << "0";
        QTest::newRow("rt") << 3 << "TABAVV" << 1 << "C9" << "0";
        QTest::newRow("sub-cycles") << 3 << "TAB4" << 3 << "C1" << "2";
        QTest::newRow("duration") << 3 << "TAB4" << 3 << "C2" << "100";
        QTest::newRow("zoom") << 3 << "TAB0" << 7 << "C6" << "5";
        QTest::newRow("Y position") << 3 << "TAB12" << 1 << "C8" << "50";
        QTest::newRow("cycle date left to the loader") << 3 << "TAB3" << 2 << "C12" << "";
        QTest::newRow("slot 3 in use") << 3 << "TABGRAF" << 5 << "C4" << "1";
        QTest::newRow("slot 0 degree") << 3 << "TABGRAF" << 5 << "C5" << "5";
        QTest::newRow("slot 3 degree") << 3 << "TABGRAF" << 5 << "C8" << "8";
        QTest::newRow("slot 2 place") << 3 << "TABGRAF" << 5 << "C11" << "2";
        QTest::newRow("indicator switch") << 2 << "TAB6" << 2 << "C23" << "0";
        QTest::newRow("user period") << 2 << "TAB6" << 2 << "C7" << "0";
        QTest::newRow("free line") << 1 << "Dati_Linee_S2" << 40 << "C7" << "0";
        QTest::newRow("free text mark") << 1 << "Dati_Testo_S2" << 195 << "C4" << "@";
        QTest::newRow("free text colour") << 1 << "Dati_Testo_S2" << 195 << "C5" << "0";
        QTest::newRow("free distance label") << 1 << "Dati_Dista_S7" << 1 << "C11" << "@";
        QTest::newRow("free distance price") << 1 << "Dati_Dista_S7" << 1 << "C10" << "0";
    }
    void valoriIniziali()
    {
        QFETCH(int, file);
        QFETCH(QString, tabella);
        QFETCH(int, id);
        QFETCH(QString, colonna);
        QFETCH(QString, atteso);
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        QCOMPARE(valore(FileArchivio(file), tabella, colonna, id), atteso);
    }

    void archivioCompletoRestaComE()
    {
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        {
            Connessione c(FileArchivio::Sistema3);
            QVERIFY(c.Aggiorna(QStringLiteral("TAB3"), QStringLiteral("C2"), 4, QStringLiteral("62.5")));
            QVERIFY(c.Aggiorna(QStringLiteral("TABAVV"), QStringLiteral("C5"), 1, QStringLiteral("o'brien")));
        }
        const EsitoArchivi e = Crea_Archivi();
        QVERIFY(e.ok);
        QVERIFY2(e.Riparazioni.isEmpty(), qPrintable(e.Riparazioni.join(QLatin1Char('\n'))));
        QCOMPARE(valore(FileArchivio::Sistema3, QStringLiteral("TAB3"), QStringLiteral("C2"), 4), QStringLiteral("62.5"));
        QCOMPARE(valore(FileArchivio::Sistema3, QStringLiteral("TABAVV"), QStringLiteral("C5"), 1),
                 QStringLiteral("o'brien"));
    }

    void passwordSempreCancellata()
    {
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        {
            Connessione c(FileArchivio::Sistema3);
            QVERIFY(c.Aggiorna(QStringLiteral("TABAVV"), QStringLiteral("C6"), 1, QStringLiteral("segreta")));
        }
        QVERIFY(Crea_Archivi().ok);
        QCOMPARE(valore(FileArchivio::Sistema3, QStringLiteral("TABAVV"), QStringLiteral("C6"), 1), QStringLiteral("@"));
    }

    void fileMancanteRicreatoESegnalato()
    {
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        QVERIFY(QFile::remove(PercorsoArchivio(FileArchivio::Sistema2)));
        const EsitoArchivi e = Crea_Archivi();
        QVERIFY(e.ok);
        QCOMPARE(e.Riparazioni.size(), 1);
        QVERIFY(e.Riparazioni.first().contains(QStringLiteral("Sistema2.dat")));
        QCOMPARE(conta(FileArchivio::Sistema2, QStringLiteral("SELECT COUNT(*) FROM TAB12")), 7);
    }

    void fileDanneggiatoMessoDaParte_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::newRow("text") << QByteArray("questo non è un archivio\n");
        QTest::newRow("binary noise") << QByteArray(4096, '\xA5');
        QByteArray troncato("SQLite format 3");
        troncato.append('\0');
        troncato.append(QByteArray(200, '\x01'));
        QTest::newRow("truncated header") << troncato;
        // SQLite would open it as a new, empty database: the settings would silently reset.
        QTest::newRow("empty file") << QByteArray();
    }
    void fileDanneggiatoMessoDaParte()
    {
        QFETCH(QByteArray, contenuto);
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        {
            QFile f(PercorsoArchivio(FileArchivio::Sistema3));
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(contenuto);
        }
        const EsitoArchivi e = Crea_Archivi();
        QVERIFY2(e.ok, qPrintable(e.Errori.join(QLatin1Char('\n'))));
        QCOMPARE(e.Riparazioni.size(), 1);
        QVERIFY(e.Riparazioni.first().startsWith(QStringLiteral("Sistema3.dat era danneggiato")));
        const QStringList messi = accantonati(dir);
        QCOMPARE(messi.size(), 1);
        QFile vecchio(dir.sistema() + QLatin1Char('/') + messi.first());
        QVERIFY(vecchio.open(QIODevice::ReadOnly));
        QCOMPARE(vecchio.readAll(), contenuto);  // nothing of the damaged file is lost
        QCOMPARE(valore(FileArchivio::Sistema3, QStringLiteral("TABAVV"), QStringLiteral("C1"), 1), QStringLiteral("2"));
        QCOMPARE(conta(FileArchivio::Sistema3, QStringLiteral("SELECT COUNT(*) FROM TABGRAF")), 7);
    }

    // One zeroed page: the rows on every other page come back, the lost ones take their defaults.
    void paginaAzzerataRecuperata_data()
    {
        QTest::addColumn<int>("file");
        QTest::addColumn<QString>("colpita");
        QTest::addColumn<bool>("fogliaDestra");
        QTest::addColumn<QString>("sana");  // a table on a whole page
        QTest::addColumn<QString>("colonnaSana");
        QTest::addColumn<int>("idSano");
        QTest::addColumn<QString>("colonnaPersa");
        QTest::addColumn<int>("idPerso");
        QTest::addColumn<QString>("iniziale");
        QTest::addColumn<int>("righe");
        QTest::newRow("Sistema1, last leaf of a table") << 1 << "Dati_Dista_S2" << true << "Dati_Testo_S7" << "C4" << 1
                                                        << "C11" << 195 << "@" << 195;
        QTest::newRow("Sistema2, a whole table") << 2 << "TAB4" << false << "TAB6" << "C7" << 2 << "C7" << 6 << "0" << 7;
        QTest::newRow("Sistema3, a whole table") << 3 << "TAB5" << false << "TAB3" << "C2" << 4 << "C2" << 6 << "100"
                                                 << 7;
    }
    void paginaAzzerataRecuperata()
    {
        QFETCH(int, file);
        QFETCH(QString, colpita);
        QFETCH(bool, fogliaDestra);
        QFETCH(QString, sana);
        QFETCH(QString, colonnaSana);
        QFETCH(int, idSano);
        QFETCH(QString, colonnaPersa);
        QFETCH(int, idPerso);
        QFETCH(QString, iniziale);
        QFETCH(int, righe);
        const auto f = FileArchivio(file);
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        {
            Connessione c(f);
            QVERIFY(c.Aggiorna(sana, colonnaSana, idSano, QStringLiteral("tenuto")));
            QVERIFY(c.Aggiorna(colpita, colonnaPersa, idPerso, QStringLiteral("perso")));
            // Only on a leaf of its own does a row of the damaged table come back.
            if (fogliaDestra)
                QVERIFY(c.Aggiorna(colpita, colonnaPersa, 1, QStringLiteral("tenuto")));
        }
        QVERIFY(AzzeraPagina(f, colpita, fogliaDestra));

        const EsitoArchivi e = Crea_Archivi();
        QVERIFY2(e.ok, qPrintable(e.Errori.join(QLatin1Char('\n'))));
        QCOMPARE(e.Riparazioni.size(), 1);
        const QString nome = QStringLiteral("Sistema%1.dat").arg(file);
        QVERIFY2(e.Riparazioni[0].startsWith(nome + QStringLiteral(" era danneggiato")), qPrintable(e.Riparazioni[0]));
        QVERIFY2(e.Riparazioni[0].contains(QStringLiteral("Recuperate")), qPrintable(e.Riparazioni[0]));
        QVERIFY2(e.Riparazioni[0].contains(colpita), qPrintable(e.Riparazioni[0]));
        QCOMPARE(accantonati(dir).size(), 1);
        QCOMPARE(valore(f, sana, colonnaSana, idSano), QStringLiteral("tenuto"));
        QCOMPARE(valore(f, colpita, colonnaPersa, idPerso), iniziale);
        if (fogliaDestra)
            QCOMPARE(valore(f, colpita, colonnaPersa, 1), QStringLiteral("tenuto"));
        QCOMPARE(conta(f, QStringLiteral("SELECT COUNT(*) FROM %1").arg(colpita)), righe);
        QCOMPARE(conta(f, QStringLiteral("SELECT COUNT(*) FROM %1").arg(sana)), righe);
        // The next start finds nothing to mend.
        const EsitoArchivi dopo = Crea_Archivi();
        QVERIFY2(dopo.Riparazioni.isEmpty(), qPrintable(dopo.Riparazioni.join(QLatin1Char('\n'))));
    }

    // A file cut short, grown, or with a page lost after a row gives back every row it still
    // holds, each as it was; the others start afresh, none half-way.
    void righeRecuperateComeErano_data()
    {
        QTest::addColumn<int>("file");
        QTest::addColumn<int>("taglio");
        const char *nomi[] = {"cut to 25%", "cut to 50%", "cut to 75%", "one byte short", "bytes appended",
                              "zeroed leaf after a row"};
        for (int n = 1; n <= 3; ++n)
            for (int t = Al25; t <= FogliaDopoUnaRiga; ++t)
                if (t != FogliaDopoUnaRiga || n == 1)  // only Sistema1's tables span several leaves
                    QTest::addRow("Sistema%d.dat %s", n, nomi[t]) << n << t;
    }
    void righeRecuperateComeErano()
    {
        QFETCH(int, file);
        QFETCH(int, taglio);
        const auto f = FileArchivio(file);
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        // The password column is cleared at every start: its row cannot come back as it was.
        const SceltaRighe scelta = [](const QString &tabella, int) { return tabella != QLatin1String("TABAVV"); };
        QVERIFY(RiempiArchivio(f, scelta));
        const RigheArchivio originali = RigheDi(f, scelta);
        const auto [pagina, pagine] = PagineArchivio(f);
        qint64 resta = pagina * pagine, azzerata = 0;
        QCOMPARE(QFileInfo(PercorsoArchivio(f)).size(), resta);
        if (taglio <= Al75)
            resta = resta * (taglio + 1) / 4;
        else if (taglio == UnByteInMeno)
            resta -= 1;
        else if (taglio == ByteInPiu)
            resta += 27;
        else
            QVERIFY((azzerata = PaginaTabella(f, QStringLiteral("Dati_Linee_S3"), 1)) > 0);
        // A cut page is lost whole: its missing bytes would read as zeroes.
        const QStringList attese =
            RigheRaggiungibili(f, [&](qint64 p) { return p > resta / pagina || p == azzerata; }, scelta);
        if (azzerata) {
            QVERIFY(AzzeraNumeroPagina(f, azzerata));
        } else {
            QFile dati(PercorsoArchivio(f));
            QVERIFY(dati.resize(resta));
        }

        const EsitoArchivi e = Crea_Archivi();
        QVERIFY2(e.ok, qPrintable(e.Errori.join(QLatin1Char('\n'))));
        QVERIFY2(e.Riparazioni.value(0).startsWith(NomeArchivio(f) + QStringLiteral(" era danneggiato")),
                 qPrintable(e.Riparazioni.join(QLatin1Char('\n'))));
        QVERIFY(!attese.isEmpty());
        QCOMPARE(attese.size() == qsizetype(originali.size()), taglio == ByteInPiu);
        QCOMPARE(RigheDi(f, scelta).size(), originali.size());
        QCOMPARE(RigheRecuperate(f, originali, scelta), attese);
        QVERIFY(Crea_Archivi().Riparazioni.isEmpty());
    }

    void partiMancantiAggiunte()
    {
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        {
            Connessione c(FileArchivio::Sistema1);
            QSqlQuery q(c.Database());
            QVERIFY(q.exec(QStringLiteral("DELETE FROM Dati_Testo_S3 WHERE ID > 190")));
            QVERIFY(q.exec(QStringLiteral("DROP TABLE Dati_Linee_S5")));
            QVERIFY(q.exec(QStringLiteral("UPDATE Dati_Testo_S3 SET C4 = 'mio' WHERE ID = 1")));
        }
        {
            // An older file without the last columns of TABGRAF.
            Connessione c(FileArchivio::Sistema3);
            QSqlQuery q(c.Database());
            QVERIFY(q.exec(QStringLiteral("DROP TABLE TABGRAF")));
            QVERIFY(q.exec(QStringLiteral("CREATE TABLE TABGRAF (ID INTEGER PRIMARY KEY, C1 TEXT, C2 TEXT)")));
            QVERIFY(q.exec(QStringLiteral("INSERT INTO TABGRAF VALUES (1, '0', '1')")));
            // A table with no row key at all.
            QVERIFY(q.exec(QStringLiteral("DROP TABLE TAB7")));
            QVERIFY(q.exec(QStringLiteral("CREATE TABLE TAB7 (X TEXT)")));
        }
        const EsitoArchivi e = Crea_Archivi();
        QVERIFY2(e.ok, qPrintable(e.Errori.join(QLatin1Char('\n'))));
        QVERIFY(!e.Riparazioni.isEmpty());
        QCOMPARE(conta(FileArchivio::Sistema1, QStringLiteral("SELECT COUNT(*) FROM Dati_Testo_S3")), 195);
        QCOMPARE(conta(FileArchivio::Sistema1, QStringLiteral("SELECT COUNT(*) FROM Dati_Linee_S5")), 195);
        QCOMPARE(valore(FileArchivio::Sistema1, QStringLiteral("Dati_Testo_S3"), QStringLiteral("C4"), 1),
                 QStringLiteral("mio"));
        QCOMPARE(valore(FileArchivio::Sistema1, QStringLiteral("Dati_Testo_S3"), QStringLiteral("C4"), 193),
                 QStringLiteral("@"));
        // Kept values stay, the added columns and rows take the defaults.
        QCOMPARE(valore(FileArchivio::Sistema3, QStringLiteral("TABGRAF"), QStringLiteral("C1"), 1), QStringLiteral("0"));
        QCOMPARE(valore(FileArchivio::Sistema3, QStringLiteral("TABGRAF"), QStringLiteral("C12"), 1), QStringLiteral("3"));
        QCOMPARE(valore(FileArchivio::Sistema3, QStringLiteral("TABGRAF"), QStringLiteral("C7"), 6), QStringLiteral("7"));
        QCOMPARE(conta(FileArchivio::Sistema3, QStringLiteral("SELECT COUNT(*) FROM TAB7")), 7);
        Connessione c(FileArchivio::Sistema3);
        bool accantonata = false;
        for (const QString &t : c.Database().tables())
            accantonata = accantonata || t.startsWith(QStringLiteral("TAB7_danneggiata_"));
        QVERIFY(accantonata);
    }
};

QTEST_GUILESS_MAIN(CreaArchiviTest)
#include "CreaArchiviTest.moc"
