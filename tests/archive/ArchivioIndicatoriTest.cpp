#include "CartellaTemporanea.h"
#include "Stato.h"
#include "archive/Archivio.h"
#include "archive/ArchivioIndicatori.h"
#include "archive/CreaArchivi.h"
#include "indicators/ImpostazioniIndicatori.h"

#include <QSqlQuery>
#include <QtTest>

namespace {

QString Leggi(int grado, int colonna, int id)
{
    archivio::Connessione c(archivio::FileArchivio::Sistema2);
    QSqlQuery q(c.Database());
    q.exec(QStringLiteral("SELECT C%1 FROM TAB%2 WHERE ID = %3").arg(colonna).arg(grado).arg(id));
    return q.next() ? (q.value(0).isNull() ? QStringLiteral("<null>") : q.value(0).toString()) : QStringLiteral("<none>");
}

void Scrivi(int grado, int colonna, int id, const QVariant &valore)
{
    archivio::Connessione c(archivio::FileArchivio::Sistema2);
    QSqlQuery q(c.Database());
    q.prepare(QStringLiteral("UPDATE TAB%1 SET C%2 = ? WHERE ID = ?").arg(grado).arg(colonna));
    q.addBindValue(valore);
    q.addBindValue(id);
    QVERIFY(q.exec());
}

}  // namespace

class ArchivioIndicatoriTest : public QObject {
    Q_OBJECT

private slots:
    void chiavi_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("chiave");
        QTest::addColumn<int>("colonna");
        QTest::newRow("item 0") << 0 << 0 << 1;
        QTest::newRow("item 5") << 5 << 5 << 6;
        QTest::newRow("item 6") << 6 << 6 << 9;
        QTest::newRow("item 7") << 7 << 7 << 10;
        QTest::newRow("item 8") << 8 << 9 << 12;
        QTest::newRow("item 18") << 18 << 19 << 22;
        QTest::newRow("item 19, volume") << 19 << 22 << 23;
        QTest::newRow("item 20 not stored") << 20 << -1 << 0;
    }
    void chiavi()
    {
        QFETCH(int, item);
        QFETCH(int, chiave);
        QCOMPARE(archivio::Chiave_Indicatore(item), chiave);
        QTEST(archivio::Colonna_Chiave(chiave), "colonna");
    }

    void colonne_speciali()
    {
        QCOMPARE(archivio::Colonna_Chiave(8), 11);
        QCOMPARE(archivio::Colonna_Chiave(20), 7);
        QCOMPARE(archivio::Colonna_Chiave(21), 8);
        QCOMPARE(archivio::Colonna_Chiave(23), 0);
        QCOMPARE(archivio::Colonna_Chiave(-1), 0);
    }

    void carica_regole_data()
    {
        QTest::addColumn<int>("colonna");
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("switch 2") << 1 << QVariant("2") << "1";
        QTest::newRow("switch 1") << 12 << QVariant("1") << "1";
        QTest::newRow("switch 0.5") << 12 << QVariant("0.5") << "0";
        QTest::newRow("switch 0,9 comma") << 12 << QVariant("0,9") << "0";
        QTest::newRow("switch null") << 23 << QVariant() << "0";
        QTest::newRow("switch text") << 23 << QVariant("abc") << "0";
        QTest::newRow("mode 1") << 11 << QVariant("1") << "1";
        QTest::newRow("period 15") << 7 << QVariant("15") << "15";
        QTest::newRow("period 0 text") << 8 << QVariant("0") << "0";
        QTest::newRow("period empty") << 7 << QVariant("") << "0";
        QTest::newRow("period null") << 7 << QVariant() << "0";
        QTest::newRow("period negative") << 7 << QVariant("-5") << "0";
        QTest::newRow("period too long") << 8 << QVariant("99999") << "0";
        QTest::newRow("period not a number") << 8 << QVariant("abc") << "0";
        QTest::newRow("period fraction") << 8 << QVariant("2.5") << "0";
    }
    void carica_regole()
    {
        QFETCH(int, colonna);
        QFETCH(QVariant, valore);
        CartellaTemporanea cartella;
        QVERIFY(archivio::Crea_Archivio(archivio::FileArchivio::Sistema2).ok);
        Scrivi(6, colonna, 2, valore);
        StatoArchivio a;
        QVERIFY(archivio::Carica_Indicatori(a));
        QTEST(a.Tab_Indicatori[2][size_t(colonna - 1)][7], "atteso");
        // Other rows and degrees keep the defaults.
        QCOMPARE(a.Tab_Indicatori[3][size_t(colonna - 1)][7], QStringLiteral("0"));
        QCOMPARE(a.Tab_Indicatori[2][size_t(colonna - 1)][6], QStringLiteral("0"));
    }

    void righe_mancanti_o_fuori_intervallo()
    {
        CartellaTemporanea cartella;
        QVERIFY(archivio::Crea_Archivio(archivio::FileArchivio::Sistema2).ok);
        {
            archivio::Connessione c(archivio::FileArchivio::Sistema2);
            QSqlQuery q(c.Database());
            QVERIFY(q.exec(QStringLiteral("DELETE FROM TAB0 WHERE ID = 4")));
            QVERIFY(q.exec(QStringLiteral("UPDATE TAB0 SET ID = 99, C1 = '1' WHERE ID = 5")));
        }
        StatoArchivio a;
        QVERIFY(archivio::Carica_Indicatori(a));
        QCOMPARE(a.Tab_Indicatori[4][0][1], QStringLiteral("0"));
        QCOMPARE(a.Tab_Indicatori[5][0][1], QStringLiteral("0"));
    }

    void file_senza_tabelle()
    {
        CartellaTemporanea cartella;
        StatoArchivio a;
        a.Tab_Indicatori[1][0][1] = QStringLiteral("1");
        QString errore;
        QVERIFY(!archivio::Carica_Indicatori(a, &errore));
        QVERIFY(!errore.isEmpty());
        QCOMPARE(a.Tab_Indicatori[1][0][1], QStringLiteral("0"));
    }

    void salva_solo_la_sua_colonna()
    {
        CartellaTemporanea cartella;
        QVERIFY(archivio::Crea_Archivio(archivio::FileArchivio::Sistema2).ok);
        Stato s;
        s.archivio.Sottostante_Corrente = 3;
        s.indicatori.Ind_Attivo[4][8] = 1;
        QVERIFY(indicatori::Salva_Indicatore(s.archivio, s.indicatori, 4, archivio::Chiave_Indicatore(8), nullptr));
        QCOMPARE(Leggi(4, 12, 3), QStringLiteral("1"));
        for (int id = 1; id <= 7; ++id)
            if (id != 3)
                QCOMPARE(Leggi(4, 12, id), QStringLiteral("0"));
        QCOMPARE(Leggi(5, 12, 3), QStringLiteral("0"));
        QCOMPARE(Leggi(4, 11, 3), QStringLiteral("0"));

        // The table in memory keeps the old image until the next load.
        QCOMPARE(s.archivio.Tab_Indicatori[3][11][5], QString());
        QVERIFY(archivio::Carica_Indicatori(s.archivio));
        QCOMPARE(s.archivio.Tab_Indicatori[3][11][5], QStringLiteral("1"));
    }

    void salva_chiavi_data()
    {
        QTest::addColumn<int>("chiave");
        QTest::addColumn<int>("colonna");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("adaptive") << 8 << 11 << "1";
        QTest::newRow("volume") << 22 << 23 << "1";
        QTest::newRow("period 1") << 20 << 7 << "20";
        QTest::newRow("period 2 empty") << 21 << 8 << "0";
        QTest::newRow("item 7") << 7 << 10 << "1";
    }
    void salva_chiavi()
    {
        QFETCH(int, chiave);
        QFETCH(int, colonna);
        CartellaTemporanea cartella;
        QVERIFY(archivio::Crea_Archivio(archivio::FileArchivio::Sistema2).ok);
        Stato s;
        s.archivio.Sottostante_Corrente = 2;
        s.indicatori.Modo_Adattivo[6] = 1;
        s.indicatori.Ind_Attivo[6][19] = 1;
        s.indicatori.Ind_Attivo[6][7] = 1;
        s.indicatori.Periodo_Utente_1[6] = QStringLiteral("20");
        s.indicatori.Periodo_Utente_2[6] = QString();
        QVERIFY(indicatori::Salva_Indicatore(s.archivio, s.indicatori, 6, chiave));
        QTEST(Leggi(6, colonna, 2), "atteso");
    }

    void salva_fuori_intervallo_non_scrive()
    {
        CartellaTemporanea cartella;
        QVERIFY(archivio::Crea_Archivio(archivio::FileArchivio::Sistema2).ok);
        Stato s;
        s.indicatori.Ind_Attivo[0].fill(1);
        QVERIFY(!indicatori::Salva_Indicatore(s.archivio, s.indicatori, 0, 23));
        QVERIFY(!indicatori::Salva_Indicatore(s.archivio, s.indicatori, 0, -1));
        QVERIFY(!indicatori::Salva_Indicatore(s.archivio, s.indicatori, 13, 0));
        for (int c = 1; c <= 23; ++c)
            QCOMPARE(Leggi(0, c, s.archivio.Sottostante_Corrente), QStringLiteral("0"));
    }
};

QTEST_GUILESS_MAIN(ArchivioIndicatoriTest)
#include "ArchivioIndicatoriTest.moc"
