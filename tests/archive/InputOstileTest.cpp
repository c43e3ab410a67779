#include "CartellaTemporanea.h"
#include "StatoProva.h"

#include "archive/Archivio.h"
#include "archive/ArchivioIndicatori.h"
#include "archive/CreaArchivi.h"
#include "archive/ImpostazioniAvvio.h"
#include "drawing/OggettiGrafici.h"

#include <QSqlQuery>
#include <QtTest>

using namespace archivio;

namespace {

QString integrita(FileArchivio file)
{
    Connessione c(file);
    QSqlQuery q(c.Database());
    return q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next() ? q.value(0).toString() : QStringLiteral("?");
}

QString letto(FileArchivio file, const QString &tabella, int id, const QString &colonna)
{
    Connessione c(file);
    return c.LeggiTabella(tabella).at(id).at(colonna);
}

}  // namespace

// Whatever a user types reaches the archive as bound text: a user id, a chart text and
// an indicator setting come back exactly as written, and every file stays a sound database.
class InputOstileTest : public QObject {
    Q_OBJECT

private slots:
    void testoTornaUguale_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::newRow("apici e virgolette") << QStringLiteral("d'Amico \"il\" `capo`");
        QTest::newRow("punto e virgola") << QStringLiteral("a;b;;c;");
        QTest::newRow("SQL") << QStringLiteral("x'); DROP TABLE TABAVV; --");
        QTest::newRow("SQL con commento") << QStringLiteral("1 OR 1=1 /* */ UNION SELECT * FROM sqlite_master");
        QTest::newRow("caratteri di controllo") << QStringLiteral("a\tb\r\nc\x01\x1b[31m\x7f");
        QTest::newRow("carattere nullo") << QString(QStringLiteral("prima") + QChar(0) + QStringLiteral("dopo"));
        QTest::newRow("molto lungo") << QString(1 << 20, QLatin1Char('x'));
        QTest::newRow("fuori da Windows-1252") << QStringLiteral("Σ日本 \U0001F600 \u200B\uFEFF");
        QTest::newRow("segnaposto") << QStringLiteral("? :id @id $1 %s");
    }
    void testoTornaUguale()
    {
        QFETCH(QString, testo);
        CartellaTemporanea cartella;
        QVERIFY(Crea_Archivi().ok);

        QVERIFY(Salva_Dati_Login(1, testo, testo));
        StatoArchivio avvio;
        const LoginRicordato login = Carica_Impostazioni_Avvio(avvio);
        QVERIFY(login.ImpostaUserId);
        QCOMPARE(login.UserId, testo);
        QCOMPARE(letto(FileArchivio::Sistema3, QStringLiteral("TABAVV"), 1, QStringLiteral("C6")), QStringLiteral("@"));

        auto stato = prova::NuovoStato();
        stato->disegno.Testi[7][2] = Testo{true, true, prova::Barre_Ciclo_Prova - 3, 101.5, 32, testo};
        QString errore;
        QVERIFY2(prova::Salva_Testo(*stato, 7, 2, &errore), qPrintable(errore));
        stato->disegno.Testi = {};
        QVERIFY(prova::Carica_Testi(*stato).ok);
        QVERIFY(stato->disegno.Testi[7][2].in_uso);
        QCOMPARE(stato->disegno.Testi[7][2].testo, testo);

        stato->archivio.Sottostante_Corrente = 4;
        QVERIFY(Scrivi_Indicatore(stato->archivio, 6, 20, testo, &errore));  // the user period, column C7
        QCOMPARE(letto(FileArchivio::Sistema2, QStringLiteral("TAB6"), 4, QStringLiteral("C7")), testo);

        for (auto f : {FileArchivio::Sistema1, FileArchivio::Sistema2, FileArchivio::Sistema3})
            QCOMPARE(integrita(f), QStringLiteral("ok"));
        // Every table is still there, with all its rows.
        EsitoArchivi riletto = Crea_Archivi();
        QVERIFY(riletto.ok);
        QVERIFY2(riletto.Riparazioni.isEmpty(), qPrintable(riletto.Riparazioni.join(QLatin1Char('\n'))));
    }

    // Table and column names come from the program: anything else is refused, not run.
    void nomiNonValidiRifiutati_data()
    {
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<QString>("colonna");
        QTest::newRow("tabella con SQL") << "TABAVV; DROP TABLE TAB1" << "C1";
        QTest::newRow("colonna con SQL") << "TABAVV" << "C1 = 'x', C6";
        QTest::newRow("tabella con apice") << "TAB'1" << "C1";
        QTest::newRow("colonna vuota") << "TABAVV" << "";
    }
    void nomiNonValidiRifiutati()
    {
        QFETCH(QString, tabella);
        QFETCH(QString, colonna);
        CartellaTemporanea cartella;
        QVERIFY(Crea_Archivi().ok);
        {
            Connessione c(FileArchivio::Sistema3);
            QVERIFY(!c.Aggiorna(tabella, colonna, 1, QStringLiteral("x")));
        }
        QCOMPARE(letto(FileArchivio::Sistema3, QStringLiteral("TABAVV"), 1, QStringLiteral("C1")), QStringLiteral("2"));
        QVERIFY(Crea_Archivi().Riparazioni.isEmpty());
    }
};

QTEST_GUILESS_MAIN(InputOstileTest)
#include "InputOstileTest.moc"
