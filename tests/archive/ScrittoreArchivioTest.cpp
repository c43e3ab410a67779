// The archive's writer over real archive files: a queued batch with rows repeated (the
// loader's duration, then its cycle start of the same degree) and a trader's save right
// after it end with the newest value of every column; a loading reads what is queued or
// failed laid over the file; a file gone is said to be missing and never made again; every
// cause reads in the trader's words, never the database's.

#include "ArchivioProva.h"
#include "CartellaTemporanea.h"

#include "Stato.h"
#include "archive/CreaArchivi.h"
#include "archive/ImpostazioniAvvio.h"
#include "archive/ParametriCicli.h"
#include "archive/ScrittoreArchivio.h"
#include "cycle/SalvaParametro.h"
#include "platform/DataOra.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

using namespace archivio;
using namespace std::chrono_literals;

namespace {

QString tab0(const QString &colonna) { return ValoreArchivio(FileArchivio::Sistema3, QStringLiteral("TAB0"), colonna, 2); }

Aggiornamento voce(const Stato &s, Codice_Modifica codice, int grado)
{
    return *ciclo::Voce_Parametro(s.shell, s.archivio, s.cicli, codice, grado);
}

}  // namespace

class ScrittoreArchivioTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CartellaTemporanea> m_cartella;
    std::unique_ptr<Stato> m_stato;

    Stato &s() { return *m_stato; }
    void inizio(Stato &st, int giorno, int minuti)
    {
        st.cicli.Data_Inizio_Ciclo[0] = QDate(2025, 3, giorno);
        st.cicli.Ora_Inizio_Ciclo[0] = minuti;
    }

private slots:
    void init()
    {
        m_cartella = std::make_unique<CartellaTemporanea>();
        QVERIFY(Crea_Archivi().ok);
        m_stato = std::make_unique<Stato>();
        s().archivio.Sottostante_Corrente = 2;
        s().shell.Formato_Data = QStringLiteral("DD/MM/YY");
        s().shell.Formato_Ora = QStringLiteral("h:mm");
    }
    void cleanup()
    {
        m_stato.reset();
        m_cartella.reset();
    }

    // Batches waiting behind a read: each column ends with its newest value, whichever
    // batch or save brought it and however many entries an older batch held for its row.
    void piu_recente_vince_data()
    {
        QTest::addColumn<bool>("salvataggio");  // a trader's save of the duration right after
        QTest::newRow("two batches") << false;
        QTest::newRow("two batches, then the trader's save") << true;
    }
    void piu_recente_vince()
    {
        QFETCH(bool, salvataggio);
        ScrittoreArchivio scrittore;
        {
            // The writer held off the file, as while a loading reads it.
            ConnessioneInAttesa lettura(FileArchivio::Sistema3);
            s().cicli.Durata[0] = 300;
            inizio(s(), 3, 600);
            // The loader's batch: the duration, then the cycle start, of one degree and row.
            scrittore.Accoda({voce(s(), Codice_Modifica::Durata, 0), voce(s(), Codice_Modifica::Inizio_Ciclo, 0)});
            inizio(s(), 4, 615);
            s().cicli.Durata[0] = 310;
            // A merge's batch: every cycle start again.
            scrittore.Accoda({voce(s(), Codice_Modifica::Inizio_Ciclo, 0)});
            if (salvataggio) {
                s().cicli.Durata[0] = 320;
                QVERIFY(ciclo::Salva_Parametro(s().shell, s().archivio, s().cicli, Codice_Modifica::Durata, 0));
            }
            QCOMPARE(scrittore.In_Sospeso(), 3);
            // What the loading reads is the newest, before anything is written.
            const auto righe = lettura.LeggiTabella(QStringLiteral("TAB0"));
            QCOMPARE(righe.at(2).at(QStringLiteral("C2")), salvataggio ? QStringLiteral("320") : QStringLiteral("300"));
            QCOMPARE(righe.at(2).at(QStringLiteral("C12")), QStringLiteral("04/03/25"));
        }
        scrittore.Attendi();
        QCOMPARE(tab0(QStringLiteral("C2")), salvataggio ? QStringLiteral("320") : QStringLiteral("300"));
        QCOMPARE(tab0(QStringLiteral("C12")), QStringLiteral("04/03/25"));
        QCOMPARE(tab0(QStringLiteral("C13")), QStringLiteral("10:15"));
        QCOMPARE(scrittore.Scritti(), quint64(3));
    }

    // A loading reads the values the writer keeps after a failure, not the old ones the
    // file still holds, and the start-up settings the trader's own save queued.
    void lettura_vede_i_falliti()
    {
        ScrittoreArchivio scrittore;
        scrittore.Imposta_Riprova(1h, 1h);
        ConnessioneProva blocco(FileArchivio::Sistema3);
        QVERIFY(blocco.Esegui(QStringLiteral("CREATE TRIGGER rifiuto BEFORE UPDATE ON TAB0 BEGIN "
                                             "SELECT RAISE(ABORT, 'bloccato'); END")));
        s().cicli.Sottocicli[0] = 5;
        QVERIFY(ciclo::Salva_Parametro(s().shell, s().archivio, s().cicli, Codice_Modifica::Sottocicli, 0));
        s().archivio.Sottostante_Corrente = 6;
        QVERIFY(ciclo::Salva_Parametro(s().shell, s().archivio, s().cicli, Codice_Modifica::Sottostante_Corrente, 0));
        s().archivio.Sottostante_Corrente = 2;
        scrittore.Attendi();
        QCOMPARE(scrittore.Da_Scrivere(), QStringList{QStringLiteral("Sistema3.dat")});
        QCOMPARE(tab0(QStringLiteral("C1")), QStringLiteral("2"));
        StatoArchivio letto;
        QVERIFY(Carica_Parametri(letto, QStringLiteral("DD/MM/YY")));
        QCOMPARE(letto.Tab_Cicli[2][1][1], QStringLiteral("5"));
        Carica_Sottostante_Corrente(letto);
        QCOMPARE(letto.Sottostante_Corrente, 6);
        QVERIFY(blocco.Esegui(QStringLiteral("DROP TRIGGER rifiuto")));
        scrittore.Riprova_Adesso();
        scrittore.Attendi();
        QCOMPARE(tab0(QStringLiteral("C1")), QStringLiteral("5"));
        QVERIFY(scrittore.Da_Scrivere().isEmpty());
    }

    // Whatever the archive refuses, the cause is in the trader's words: never a table, a
    // statement or the database's text. A row the file lacks holds back only its own values.
    void cause_in_italiano_data()
    {
        QTest::addColumn<QString>("sql");  // run behind the program's back
        QTest::addColumn<bool>("tenuto");  // in a transaction held while the writer writes
        QTest::addColumn<QString>("causa");
        QTest::newRow("a table gone") << "DROP TABLE TAB4" << false << "l'operazione sul file non \u00E8 riuscita";
        QTest::newRow("a trigger refusing")
            << "CREATE TRIGGER r BEFORE UPDATE ON TAB4 BEGIN SELECT RAISE(ABORT, 'bloccato'); END" << false
            << "l'operazione sul file non \u00E8 riuscita";
        QTest::newRow("another program holding the file") << "BEGIN EXCLUSIVE" << true
                                                           << "il file \u00E8 in uso da un altro programma";
        QTest::newRow("a row gone") << "DELETE FROM TAB4 WHERE ID = 2" << false << "la riga da aggiornare manca nel file";
    }
    void cause_in_italiano()
    {
        QFETCH(QString, sql);
        QFETCH(bool, tenuto);
        QFETCH(QString, causa);
        ScrittoreArchivio scrittore;
        scrittore.Imposta_Riprova(1h, 1h);
        QSignalSpy fallite(&scrittore, &ScrittoreBase::Scrittura_Fallita);
        {
            ConnessioneProva blocco(FileArchivio::Sistema3);
            QVERIFY(blocco.Esegui(sql));
            scrittore.Accoda({{FileArchivio::Sistema3, QStringLiteral("TAB4"), 2, {{QStringLiteral("C2"), QStringLiteral("11")}}},
                              {FileArchivio::Sistema3, QStringLiteral("TAB5"), 2, {{QStringLiteral("C2"), QStringLiteral("12")}}}});
            scrittore.Attendi();
            if (tenuto)
                QVERIFY(blocco.Esegui(QStringLiteral("ROLLBACK")));
        }
        QTRY_COMPARE(fallite.count(), 1);
        QCOMPARE(fallite.first(), (QVariantList{int(ScrittoreArchivio::Automatico), QStringLiteral("Sistema3.dat"), causa}));
        const QString avviso = scrittore.Testo_Avviso(ScrittoreArchivio::Automatico, QStringLiteral("Sistema3.dat"), causa);
        QVERIFY2(avviso.startsWith(QStringLiteral("Impostazioni salvate automaticamente non scritte (Sistema3.dat): ") + causa),
                 qPrintable(avviso));
        QVERIFY(!avviso.contains(QStringLiteral("TAB")));
        const bool soloRiga = sql.startsWith(QLatin1String("DELETE"));
        QCOMPARE(ValoreArchivio(FileArchivio::Sistema3, QStringLiteral("TAB5"), QStringLiteral("C2"), 2) == QLatin1String("12"),
                 soloRiga);
        QCOMPARE(scrittore.Preleva_Fallimenti(), QStringList{QStringLiteral("Sistema3.dat: ") + causa});
    }

    // A file or its folder gone while the program runs: a save makes nothing again, says the
    // file is missing, and writes once the file is back.
    void file_mancante_data()
    {
        QTest::addColumn<bool>("cartella");
        QTest::newRow("the Sistema folder moved away") << true;
        QTest::newRow("the file deleted") << false;
    }
    void file_mancante()
    {
        QFETCH(bool, cartella);
        ScrittoreArchivio scrittore;
        scrittore.Imposta_Riprova(1h, 1h);
        QSignalSpy fallite(&scrittore, &ScrittoreBase::Scrittura_Fallita);
        const QString sistema = m_cartella->sistema();
        const QString file = PercorsoArchivio(FileArchivio::Sistema3);
        const QString altrove = m_cartella->percorso() + QStringLiteral("/altrove");
        QVERIFY(cartella ? QDir().rename(sistema, altrove) : QFile::rename(file, file + QStringLiteral(".via")));
        s().archivio.Aspetto = 1;
        QVERIFY(Salva_Aspetto(s().archivio));
        scrittore.Attendi();
        QTRY_COMPARE(fallite.count(), 1);
        const QString causa = fallite.first().at(2).toString();
        QCOMPARE(causa, cartella ? QStringLiteral("il file non esiste: manca la cartella %1").arg(QDir::toNativeSeparators(sistema))
                                 : QStringLiteral("il file non esiste"));
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(QFileInfo::exists(sistema), !cartella);
        // Nor does a loading's read make it.
        StatoArchivio letto;
        Carica_Sottostante_Corrente(letto);
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(cartella ? QDir().rename(altrove, sistema) : QFile::rename(file + QStringLiteral(".via"), file));
        scrittore.Riprova_Adesso();
        scrittore.Attendi();
        QCOMPARE(ValoreArchivio(FileArchivio::Sistema3, QStringLiteral("TABAVV"), QStringLiteral("C8"), 1), QStringLiteral("1"));
    }
};

QTEST_GUILESS_MAIN(ScrittoreArchivioTest)
#include "ScrittoreArchivioTest.moc"
