#include "ArchivioProva.h"
#include "CartellaTemporanea.h"
#include "DanniArchivio.h"
#include "ProcessoFiglio.h"
#include "SincronieLente.h"
#include "archive/Archivio.h"
#include "archive/CreaArchivi.h"
#include "platform/PuntiProva.h"
#include "simulatore/PuntiProvaAmbiente.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QtTest>
#include <functional>
#include <future>
#include <optional>
#include <thread>

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

QByteArray leggi(const QString &percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool scrivi(const QString &percorso, const QByteArray &dati)
{
    QFile f(percorso);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(dati) == dati.size();
}

// A start whose notices the trader has seen.
EsitoArchivi avvioMostrato()
{
    EsitoArchivi e = Crea_Archivi();
    Avvisi_Mostrati(e);
    return e;
}

// What a test does at each step of a repair, and how many syncs had been made by then.
class PassiOsservati : public PuntiProva {
public:
    explicit PassiOsservati(std::function<void(PassoRiparazione)> azione = {}) : m_azione(std::move(azione))
    {
        punti_prova::Imposta(this);
    }
    ~PassiOsservati() override { punti_prova::Imposta(nullptr); }
    void Passo_Riparazione(PassoRiparazione passo) override
    {
        sincronie[passo] = sincronie::Percorsi().size();
        if (m_azione)
            m_azione(passo);
    }
    void Prima_Del_Blocco() override {}
    bool Senza_Caratteri() override { return false; }

    std::map<PassoRiparazione, size_t> sincronie;

private:
    std::function<void(PassoRiparazione)> m_azione;
};

// The paths synced among syncs [da, a).
QStringList sincronizzati(size_t da, size_t a)
{
    const std::vector<std::string> fatti = sincronie::Percorsi();
    QStringList r;
    for (size_t i = da; i < std::min(a, fatti.size()); ++i)
        r << QString::fromStdString(fatti[i]);
    return r;
}

enum Taglio { Al25, Al50, Al75, UnByteInMeno, DentroUnaPagina, ByteInPiu, FogliaDopoUnaRiga, PuntatoreCambiato };

// Where a test cuts an intact file of `pagine` pages.
qint64 taglia(int taglio, qint64 pagina, qint64 pagine)
{
    const qint64 intero = pagina * pagine;
    switch (taglio) {
    case UnByteInMeno: return intero - 1;
    case DentroUnaPagina: return pagina * (pagine / 2) + pagina / 3;
    case ByteInPiu: return intero + 27;
    default: return intero * (taglio + 1) / 4;
    }
}

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
        QTest::addColumn<QString>("perso");  // what the notice says went back to its defaults
        QTest::newRow("Sistema1, last leaf of a table") << 1 << "Dati_Dista_S2" << true << "Dati_Testo_S7" << "C4" << 1
                                                        << "C11" << 195 << "@" << 195 << "le distanze del Dax, grad";
        QTest::newRow("Sistema2, a whole table") << 2 << "TAB4" << false << "TAB6" << "C7" << 2 << "C7" << 6 << "0" << 7
                                                 << "gli indicatori di ogni mercato, grado Kalvo +4.";
        QTest::newRow("Sistema3, a whole table") << 3 << "TAB5" << false << "TAB3" << "C2" << 4 << "C2" << 6 << "100"
                                                 << 7 << "i cicli di ogni mercato, grado Kalvo +3.";
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
        QFETCH(QString, perso);
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
        // What was lost in the trader's words, never a table's name.
        QVERIFY2(e.Riparazioni[0].contains(QStringLiteral("Tornano ai valori iniziali: ") + perso),
                 qPrintable(e.Riparazioni[0]));
        QVERIFY2(e.Riparazioni[0].endsWith(QStringLiteral(". Tutto il resto è stato recuperato.")),
                 qPrintable(e.Riparazioni[0]));
        QVERIFY2(!e.Riparazioni[0].contains(QLatin1String("TAB")) && !e.Riparazioni[0].contains(QLatin1String("Dati_")),
                 qPrintable(e.Riparazioni[0]));
        QCOMPARE(accantonati(dir).size(), 1);
        QCOMPARE(valore(f, sana, colonnaSana, idSano), QStringLiteral("tenuto"));
        QCOMPARE(valore(f, colpita, colonnaPersa, idPerso), iniziale);
        if (fogliaDestra)
            QCOMPARE(valore(f, colpita, colonnaPersa, 1), QStringLiteral("tenuto"));
        QCOMPARE(conta(f, QStringLiteral("SELECT COUNT(*) FROM %1").arg(colpita)), righe);
        QCOMPARE(conta(f, QStringLiteral("SELECT COUNT(*) FROM %1").arg(sana)), righe);
        // Once told, the next start finds nothing to mend.
        Avvisi_Mostrati(e);
        const EsitoArchivi dopo = Crea_Archivi();
        QVERIFY2(dopo.Riparazioni.isEmpty(), qPrintable(dopo.Riparazioni.join(QLatin1Char('\n'))));
    }

    // A file cut short, grown, or with a page lost after a row gives back every row it still
    // holds, each as it was, the rows of the page a cut goes through included; the others
    // start afresh, none half-way.
    void righeRecuperateComeErano_data()
    {
        QTest::addColumn<int>("file");
        QTest::addColumn<int>("taglio");
        const char *nomi[] = {"cut to 25%",     "cut to 50%",              "cut to 75%",           "one byte short",
                              "cut inside a page", "bytes appended", "zeroed leaf after a row", "a cell pointer flipped"};
        for (int n = 1; n <= 3; ++n)
            for (int t = Al25; t <= PuntatoreCambiato; ++t)
                if (t < FogliaDopoUnaRiga || n == 1)  // only Sistema1's tables span several leaves
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
        QCOMPARE(QFileInfo(PercorsoArchivio(f)).size(), pagina * pagine);
        const qint64 resta = taglio >= FogliaDopoUnaRiga ? pagina * pagine : taglia(taglio, pagina, pagine);
        qint64 azzerata = 0;
        if (taglio == FogliaDopoUnaRiga)
            QVERIFY((azzerata = PaginaTabella(f, QStringLiteral("Dati_Linee_S3"), 1)) > 0);
        QStringList attese = RigheRaggiungibili(
            f, [&](qint64 p) { return p > resta / pagina || p == azzerata; }, scelta, resta);
        if (azzerata) {
            QVERIFY(AzzeraNumeroPagina(f, azzerata));
        } else if (taglio == PuntatoreCambiato) {
            // A cell's place on its leaf points astray: reads by range go wrong there.
            QVERIFY(CambiaBit(f, PaginaTabella(f, QStringLiteral("Dati_Dista_S2"), 0), 22, 2));
            attese = RigheLetteUnaAUna(f, originali, scelta);
        } else {
            QFile dati(PercorsoArchivio(f));
            QVERIFY(dati.resize(resta));
        }

        const EsitoArchivi e = Crea_Archivi();
        QVERIFY2(e.ok, qPrintable(e.Errori.join(QLatin1Char('\n'))));
        QVERIFY2(e.Riparazioni.value(0).startsWith(NomeArchivio(f) + QStringLiteral(" era danneggiato")),
                 qPrintable(e.Riparazioni.join(QLatin1Char('\n'))));
        QVERIFY(!attese.isEmpty());
        if (taglio == ByteInPiu)
            QCOMPARE(attese.size(), qsizetype(originali.size()));
        if (taglio == PuntatoreCambiato) {
            // Every row that still reads whole by its own key is back as it was.
            const QStringList recuperate = RigheRecuperate(f, originali, scelta);
            for (const QString &k : attese)
                QVERIFY2(recuperate.contains(k), qPrintable(k));
        } else {
            QCOMPARE(RigheDi(f, scelta).size(), originali.size());
            QCOMPARE(RigheRecuperate(f, originali, scelta), attese);
        }
        Avvisi_Mostrati(e);
        QVERIFY(Crea_Archivi().Riparazioni.isEmpty());
    }

    // A file another program holds is in use, not damaged: the start waits a while, and
    // goes on if it is let go; otherwise it says so and leaves the file as it was.
    void archivioInUso_data()
    {
        QTest::addColumn<int>("file");
        QTest::addColumn<QString>("blocco");
        QTest::addColumn<bool>("danneggiato");
        QTest::addColumn<bool>("lasciato");  // let go within the wait
        const QString esclusivo = QStringLiteral("BEGIN EXCLUSIVE"), scrittura = QStringLiteral("BEGIN IMMEDIATE");
        QTest::newRow("Sistema1.dat read and written") << 1 << esclusivo << false << false;
        QTest::newRow("Sistema2.dat read and written, let go") << 2 << esclusivo << false << true;
        QTest::newRow("Sistema3.dat read and written") << 3 << esclusivo << false << false;
        // Readers may go on: only the password column's check needs to write.
        QTest::newRow("Sistema3.dat written") << 3 << scrittura << false << false;
        QTest::newRow("Sistema3.dat written, let go") << 3 << scrittura << false << true;
        QTest::newRow("Sistema1.dat cut short, read and written") << 1 << esclusivo << true << false;
        // Read and repaired beside it, but never set aside under its writer.
        QTest::newRow("Sistema1.dat cut short, written") << 1 << scrittura << true << false;
        QTest::newRow("Sistema1.dat cut short, written, let go") << 1 << scrittura << true << true;
    }
    void archivioInUso()
    {
        QFETCH(int, file);
        QFETCH(QString, blocco);
        QFETCH(bool, danneggiato);
        QFETCH(bool, lasciato);
        const auto f = FileArchivio(file);
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        // The password column is cleared at every start.
        const SceltaRighe scelta = [](const QString &tabella, int) { return tabella != QLatin1String("TABAVV"); };
        QVERIFY(RiempiArchivio(f, scelta));
        const RigheArchivio prima = RigheDi(f);
        if (danneggiato) {
            QFile dati(PercorsoArchivio(f));
            QVERIFY(dati.resize(dati.size() - 1));
        }
        const QByteArray byte = leggi(PercorsoArchivio(f));
        const QStringList cartella = QDir(dir.sistema()).entryList(QDir::Files);

        // Another program's connection: held for good here, or let go from its own thread.
        std::optional<ConnessioneProva> tenuto;
        std::promise<bool> preso;
        std::jthread altro;
        if (lasciato) {
            altro = std::jthread([&] {
                {
                    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("altro"));
                    db.setDatabaseName(PercorsoArchivio(f));
                    preso.set_value(db.open() && QSqlQuery(db).exec(blocco));
                    std::this_thread::sleep_for(std::chrono::milliseconds(Attesa_Archivi_In_Uso_ms / 3));
                    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
                    db.close();
                }
                QSqlDatabase::removeDatabase(QStringLiteral("altro"));
            });
        } else {
            tenuto.emplace(f);
            preso.set_value(tenuto->Esegui(blocco));
        }
        QVERIFY(preso.get_future().get());
        QElapsedTimer attesa;
        attesa.start();
        const EsitoArchivi e = Crea_Archivi();
        const qint64 attesi = attesa.elapsed();
        if (altro.joinable())
            altro.join();
        tenuto.reset();

        if (lasciato && !danneggiato) {
            QVERIFY2(e.ok && e.In_Uso.isEmpty(), qPrintable(e.Errori.join(QLatin1Char('\n'))));
            QVERIFY2(e.Riparazioni.isEmpty(), qPrintable(e.Riparazioni.join(QLatin1Char('\n'))));
            QCOMPARE(RigheDi(f), prima);
        } else if (lasciato) {
            QVERIFY2(e.ok && e.In_Uso.isEmpty(), qPrintable(e.Errori.join(QLatin1Char('\n'))));
            QVERIFY(e.Riparazioni.value(0).startsWith(NomeArchivio(f) + QStringLiteral(" era danneggiato")));
            QCOMPARE(accantonati(dir).size(), 1);
        } else {
            QVERIFY(!e.ok);
            QCOMPARE(e.In_Uso, QStringList{NomeArchivio(f)});
            QVERIFY2(e.Errori.isEmpty() && e.Riparazioni.isEmpty(), qPrintable(e.Errori.join(QLatin1Char('\n'))));
            QVERIFY2(attesi >= Attesa_Archivi_In_Uso_ms, qPrintable(QString::number(attesi)));
            // Not a byte changed, nothing set aside, nothing left beside it.
            QCOMPARE(leggi(PercorsoArchivio(f)), byte);
            QCOMPARE(QDir(dir.sistema()).entryList(QDir::Files), cartella);
        }
    }

    // A repair stopped at any step by a crash loses nothing: the next start finishes it,
    // every row the damaged file still held comes back, the damaged file is kept once, and
    // the notice is told, naming it, until it has been shown.
    void riparazioneInterrotta_data()
    {
        QTest::addColumn<QString>("passo");
        QTest::addColumn<QString>("perso");  // what the kill left lost beside the file
        QTest::addColumn<QString>("resoconto");
        const QString conto = QStringLiteral("Sistema1.dat era danneggiato: è stato messo da parte come ");
        QTest::newRow("copying the rows") << "copia" << "" << conto;
        QTest::newRow("new file complete") << "completa" << "" << conto;
        QTest::newRow("damaged file set aside") << "accantonato" << "" << conto;
        QTest::newRow("repaired file in place, not told") << "in_posto" << "" << conto;
        QTest::newRow("set aside, its notice lost")
            << "accantonato" << "avviso"
            << "La riparazione di Sistema1.dat, interrotta, è stata completata; il file danneggiato è conservato come ";
        QTest::newRow("set aside, notice and copy lost")
            << "accantonato" << "avviso e copia" << "La riparazione di Sistema1.dat, interrotta, è stata completata.";
    }
    void riparazioneInterrotta()
    {
        QFETCH(QString, passo);
        QFETCH(QString, perso);
        QFETCH(QString, resoconto);
        const auto f = FileArchivio::Sistema1;
        CartellaTemporanea dir;
        QVERIFY(Crea_Archivi().ok);
        QVERIFY(RiempiArchivio(f));
        const RigheArchivio originali = RigheDi(f);
        const auto [pagina, pagine] = PagineArchivio(f);
        const qint64 resta = taglia(DentroUnaPagina, pagina, pagine);
        const QStringList attese = RigheRaggiungibili(f, [&](qint64 p) { return p > resta / pagina; }, {}, resta);
        {
            QFile dati(PercorsoArchivio(f));
            QVERIFY(dati.resize(resta));
        }
        const QByteArray danneggiato = leggi(PercorsoArchivio(f));

        const EsitoFiglio figlio = EseguiFiglio(QStringLiteral("WAVELORE_PROVA_ARRESTO_RIPARAZIONE"), passo);
        QVERIFY(figlio.finito);
        QCOMPARE(figlio.codice, PuntiProvaAmbiente::Codice_Arresto);  // stopped at that step
        const QString avviso = PercorsoArchivio(f) + QStringLiteral(".avviso");
        if (perso.contains(QLatin1String("avviso")))
            QVERIFY(QFile::remove(avviso));
        if (perso.contains(QLatin1String("copia")))
            for (const QString &m : accantonati(dir))
                QVERIFY(QFile::remove(dir.sistema() + QLatin1Char('/') + m));

        const EsitoArchivi e = Crea_Archivi();
        QVERIFY2(e.ok, qPrintable(e.Errori.join(QLatin1Char('\n'))));
        QVERIFY2(e.Riparazioni.value(0).startsWith(resoconto), qPrintable(e.Riparazioni.join(QLatin1Char('\n'))));
        QCOMPARE(RigheRecuperate(f, originali), attese);
        const QStringList messi = accantonati(dir);
        if (perso.contains(QLatin1String("copia"))) {
            QCOMPARE(e.Riparazioni[0], resoconto);  // no empty name where the copy was
        } else {
            QCOMPARE(messi.size(), 1);
            QVERIFY2(e.Riparazioni[0].contains(messi[0] + QLatin1Char(' ')) || e.Riparazioni[0].endsWith(messi[0] + QLatin1Char('.')),
                     qPrintable(e.Riparazioni[0]));
            QCOMPARE(leggi(dir.sistema() + QLatin1Char('/') + messi[0]), danneggiato);
        }
        if (perso.isEmpty())
            QVERIFY2(e.Riparazioni[0].contains(QStringLiteral(". Tutto il resto è stato recuperato.")),
                     qPrintable(e.Riparazioni[0]));
        // Not yet shown: the next start tells it again, and once shown no more.
        QCOMPARE(Crea_Archivi().Riparazioni, QStringList{e.Riparazioni[0]});
        Avvisi_Mostrati(e);
        QCOMPARE(QDir(dir.sistema()).entryList(QDir::Files).size(), qsizetype(messi.size() + 3));
        QVERIFY(Crea_Archivi().Riparazioni.isEmpty());
    }

    // A repair sets the damaged file aside only as it read it, and what each step leaves is
    // on the disk before the next relies on it.
    void riparazioneSulDisco_data()
    {
        QTest::addColumn<bool>("cambiato");  // another program writes the file while it is repaired
        QTest::newRow("each step synced") << false;
        QTest::newRow("file written meanwhile") << true;
    }
    void riparazioneSulDisco()
    {
        QFETCH(bool, cambiato);
        const auto f = FileArchivio::Sistema1;
        CartellaTemporanea dir;
        const QString percorso = PercorsoArchivio(f);
        QVERIFY(Crea_Archivi().ok);
        QVERIFY(RiempiArchivio(f));
        const auto [pagina, pagine] = PagineArchivio(f);
        QVERIFY(QFile(percorso).resize(taglia(DentroUnaPagina, pagina, pagine)));
        const QStringList cartella = QDir(dir.sistema()).entryList(QDir::Files);
        QByteArray scritto;
        PassiOsservati passi([&](PassoRiparazione p) {
            QFile dati(percorso);
            if (cambiato && p == PassoRiparazione::Completa && dati.open(QIODevice::Append)) {
                dati.write(QByteArray(pagina, '\0'));
                dati.close();
                scritto = leggi(percorso);
            }
        });

        const EsitoArchivi e = Crea_Archivi(0);
        if (cambiato) {
            // In use: left as the other program made it, nothing set aside, nothing beside it.
            QCOMPARE(e.In_Uso, QStringList{NomeArchivio(f)});
            QVERIFY2(e.Riparazioni.isEmpty(), qPrintable(e.Riparazioni.join(QLatin1Char('\n'))));
            QVERIFY(!scritto.isEmpty());
            QCOMPARE(leggi(percorso), scritto);
            QCOMPARE(QDir(dir.sistema()).entryList(QDir::Files), cartella);
            return;
        }
        QVERIFY2(e.ok, qPrintable(e.Errori.join(QLatin1Char('\n'))));
        QCOMPARE(passi.sincronie.size(), size_t(4));
        const QString sistema = QFileInfo(dir.sistema()).canonicalFilePath();
        const QStringList prima = sincronizzati(0, passi.sincronie[PassoRiparazione::Completa]);
        // The repaired file, then its notice's name in the folder, before the damaged one goes.
        const qsizetype nuovo = prima.lastIndexOf(sistema + QStringLiteral("/Sistema1.dat.riparazione"));
        QVERIFY2(nuovo >= 0 && prima.indexOf(sistema, nuovo) > nuovo, qPrintable(prima.mid(nuovo).join(QLatin1Char('\n'))));
        // The folder once the new file has taken the damaged one's name.
        QVERIFY(sincronizzati(passi.sincronie[PassoRiparazione::Accantonato], passi.sincronie[PassoRiparazione::In_Posto])
                    .contains(sistema));
    }

    // A complete repaired file found beside the archive is taken when the archive fails its
    // check or holds nothing of the program's, and kept aside when the archive is in order;
    // one whose build had barely begun is dropped. Nothing else is ever deleted.
    void riparazioneTrovataAccanto_data()
    {
        QTest::addColumn<QString>("archivio");     // what the archive is
        QTest::addColumn<QString>("riparazione");  // what lies beside it
        QTest::addColumn<bool>("presa");           // the repaired file's rows are the archive's now
        QTest::addColumn<QString>("detto");
        const QString completata = QStringLiteral("La riparazione di Sistema1.dat, interrotta, è stata completata");
        const QString conservato = completata + QStringLiteral("; il file danneggiato è conservato come Sistema1.dat.danneggiato-");
        QTest::newRow("empty archive, complete repair") << "vuoto" << "completa" << true << conservato;
        QTest::newRow("archive without tables, complete repair") << "senza tabelle" << "completa" << true << conservato;
        QTest::newRow("damaged archive, complete repair") << "spazzatura" << "completa" << true << conservato;
        QTest::newRow("archive missing, complete repair") << "assente" << "completa" << true << completata + QLatin1Char('.');
        QTest::newRow("archive in order, complete repair")
            << "integro" << "completa" << false
            << "Sistema1.dat: la copia riparata lasciata da una riparazione interrotta non è stata usata: il file è "
               "integro; è conservata come Sistema1.dat.riparazione-";
        QTest::newRow("archive in order, repair lacking a table")
            << "integro" << "senza una tabella" << false
            << "Sistema1.dat: la copia riparata lasciata da una riparazione interrotta non era completa; è conservata "
               "come Sistema1.dat.riparazione-";
        QTest::newRow("archive in order, repair barely begun") << "integro" << "vuota" << false << "";
    }
    void riparazioneTrovataAccanto()
    {
        QFETCH(QString, archivio);
        QFETCH(QString, riparazione);
        QFETCH(bool, presa);
        QFETCH(QString, detto);
        const auto f = FileArchivio::Sistema1;
        CartellaTemporanea dir;
        const QString percorso = PercorsoArchivio(f);
        const QString nuovo = percorso + QStringLiteral(".riparazione");
        QVERIFY(Crea_Archivi().ok);
        QVERIFY(RiempiArchivio(f));
        const RigheArchivio piene = RigheDi(f);
        const QString pronto = dir.percorso() + QStringLiteral("/riparazione");
        QVERIFY(QFile::rename(percorso, pronto));
        if (riparazione == QLatin1String("senza una tabella")) {
            Connessione c(pronto);
            QVERIFY(QSqlQuery(c.Database()).exec(QStringLiteral("DROP TABLE Dati_Testo_S4")));
        } else if (riparazione == QLatin1String("vuota")) {
            QVERIFY(scrivi(pronto, {}));
        }
        if (archivio == QLatin1String("integro")) {
            QVERIFY(Crea_Archivio(f).ok);  // the defaults, not the rows beside it
        } else if (archivio == QLatin1String("senza tabelle")) {
            Connessione c(percorso);
            QVERIFY(QSqlQuery(c.Database()).exec(QStringLiteral("CREATE TABLE altra (x)")));
        } else if (archivio != QLatin1String("assente")) {
            QVERIFY(scrivi(percorso, archivio == QLatin1String("vuoto") ? QByteArray() : QByteArray(4096, '\xA5')));
        }
        const RigheArchivio prima = archivio == QLatin1String("integro") ? RigheDi(f) : RigheArchivio();
        const QByteArray byte = leggi(percorso);
        QVERIFY(QFile::rename(pronto, nuovo));

        const EsitoArchivi e = avvioMostrato();
        QVERIFY2(e.ok, qPrintable(e.Errori.join(QLatin1Char('\n'))));
        QCOMPARE(RigheDi(f), presa ? piene : prima);
        const QString testo = e.Riparazioni.join(QLatin1Char('\n'));
        QVERIFY2(detto.isEmpty() ? testo.isEmpty() : testo.startsWith(detto), qPrintable(testo));
        // The archive it replaced set aside as it was; a repair not taken kept, unless empty.
        const QDir cartella(dir.sistema());
        QVERIFY(!QFileInfo::exists(nuovo));
        const QStringList messi = accantonati(dir);
        QCOMPARE(messi.size(), presa && archivio != QLatin1String("assente") ? 1 : 0);
        if (!messi.isEmpty())
            QCOMPARE(leggi(cartella.filePath(messi[0])), byte);
        const QStringList tenute = cartella.entryList({QStringLiteral("Sistema1.dat.riparazione-*")}, QDir::Files);
        QCOMPARE(tenute.size(), !presa && riparazione != QLatin1String("vuota") ? 1 : 0);
        QVERIFY(avvioMostrato().Riparazioni.isEmpty());
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
        // Told in the trader's words, each once.
        for (const char *detto :
             {"Sistema1.dat: ricreati con i valori iniziali: i testi dell'Eurostoxx, grado Kalvo -4.",
              "Sistema3.dat: completati con i valori iniziali: le impostazioni dei grafici del FtseMib.",
              "Sistema3.dat: ricreati con i valori iniziali: le impostazioni dei grafici del Dax, dell'Eurostoxx, "
              "del Bund, del Mini S&P, del Mini Nasdaq e dell'Euro FX.",
              "Sistema3.dat: dati danneggiati messi da parte nel file; tornano ai valori iniziali: "
              "i cicli di ogni mercato, grado Kalvo +1."})
            QVERIFY2(e.Riparazioni.count(QString::fromUtf8(detto)) == 1, qPrintable(e.Riparazioni.join(QLatin1Char('\n'))));
        // One paragraph a file, its lines together.
        QCOMPARE(e.Paragrafi.size(), 2);
        QVERIFY2(e.Paragrafi[0].startsWith(QLatin1String("Sistema1.dat: ")) && !e.Paragrafi[0].contains(QLatin1String("Sistema3")),
                 qPrintable(e.Paragrafi[0]));
        QCOMPARE(e.Paragrafi[1].count(QLatin1String("Sistema3.dat: ")), 3);
        QCOMPARE(e.Paragrafi[1].count(QLatin1Char('\n')), 2);
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

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The child of riparazioneInterrotta: a start that the variable stops inside the repair.
    if (qEnvironmentVariableIsSet("WAVELORE_PROVA_ARRESTO_RIPARAZIONE")) {
        PuntiProvaAmbiente punti;
        punti_prova::Imposta(&punti);
        return Crea_Archivi().ok ? 0 : 1;
    }
    CreaArchiviTest t;
    return QTest::qExec(&t, argc, argv);
}
#include "CreaArchiviTest.moc"
