#include "ArchivioProva.h"
#include "CartellaTemporanea.h"
#include "DanniArchivio.h"
#include "FinestraProva.h"

#include "archive/Archivio.h"
#include "archive/ArchivioOggetti.h"
#include "archive/CreaArchivi.h"
#include "market/StoricoLocale.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"

#include <QAbstractButton>
#include <QLabel>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QtTest>
#include <cstdio>
#include <optional>
#include <unistd.h>

using archivio::FileArchivio;

namespace {

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

// What the process writes to its standard output while this lives: the start's
// message boxes print themselves there (WAVELORE_AVVISI_AUTOMATICI).
class UscitaCatturata {
public:
    UscitaCatturata()
    {
        m_file.open();
        std::fflush(stdout);
        m_salvata = dup(STDOUT_FILENO);
        dup2(m_file.handle(), STDOUT_FILENO);
    }
    ~UscitaCatturata() { ripristina(); }
    // The message boxes shown, each "AVVISO <title>" and its text; the test log goes here too.
    QString avvisi()
    {
        ripristina();
        m_file.seek(0);
        const QString tutto = QString::fromUtf8(m_file.readAll());
        const qsizetype primo = tutto.indexOf(QLatin1String("AVVISO "));
        return primo < 0 ? QString() : tutto.mid(primo);
    }

private:
    void ripristina()
    {
        if (m_salvata < 0)
            return;
        std::fflush(stdout);
        dup2(m_salvata, STDOUT_FILENO);
        close(m_salvata);
        m_salvata = -1;
    }
    QTemporaryFile m_file;
    int m_salvata = -1;
};

// A setting of each archive file the start of underlying 2 neither reads into the
// session nor rewrites: table, column, row, value.
struct Impostazione {
    FileArchivio file;
    const char *tabella;
    const char *colonna;
    int id;
    const char *valore;
};
constexpr Impostazione Impostazioni[] = {
    {FileArchivio::Sistema1, "Dati_Testo_S7", "C4", 1, "nota del sette"},
    {FileArchivio::Sistema2, "TAB4", "C7", 6, "17"},
    {FileArchivio::Sistema3, "TAB5", "C2", 6, "321"},
};

QString valore(const Impostazione &i)
{
    archivio::Connessione c(i.file);
    const auto righe = c.LeggiTabella(QLatin1String(i.tabella));
    const auto r = righe.find(i.id);
    return r == righe.end() ? QString() : archivio::CampoRiga(r->second, QLatin1String(i.colonna));
}

QString integrita(FileArchivio file)
{
    archivio::Connessione c(file);
    QSqlQuery q(c.Database());
    return q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next() ? q.value(0).toString() : QStringLiteral("?");
}

enum Danno {
    Vuoto, Troncato, Spazzatura, IntestazioneErrata, RigheInPiu, PaginaAzzerata,
    Al25, Al75, UnByteInMeno, FogliaDopoUnaRiga
};

// The rows of an archive file the start of underlying 2 neither reads into the session nor rewrites.
bool NonToccata(const QString &tabella, int id)
{
    return tabella != QLatin1String("TABAVV") && id != 2 && !tabella.endsWith(QLatin1String("_S2"));
}

// For each archive file, a table whose page a failing disk zeroes (none of the settings
// above), and how the start's notice names what it held.
constexpr std::pair<const char *, const char *> Colpite[] = {
    {"Dati_Linee_S4", "Tornano ai valori iniziali: le linee del Bund."},
    {"TAB9", "Tornano ai valori iniziali: gli indicatori di ogni mercato, grado Kalvo -1."},
    {"TAB11", "Tornano ai valori iniziali: i cicli di ogni mercato, grado Kalvo -3."},
};

QByteArray danneggia(QByteArray dati, Danno danno, bool archivio)
{
    switch (danno) {
    case Vuoto: return {};
    case Troncato: return dati.left(dati.size() / 2);
    case Al25: return dati.left(dati.size() / 4);
    case Al75: return dati.left(dati.size() * 3 / 4);
    case UnByteInMeno: return dati.left(dati.size() - 1);
    case Spazzatura: {
        QRandomGenerator caso(5);
        for (char &c : dati)
            c = char(caso.bounded(256));
        return dati;
    }
    case IntestazioneErrata:
        // An archive's first 16 bytes name the format; a history file starts with its newest bar.
        return archivio ? dati.replace(0, 16, "Wavelore archivi")
                        : dati.replace(0, dati.indexOf("\r\n"), "WAVELORE STORICO");
    case RigheInPiu:
        return dati + (archivio ? QByteArray("riga in piu\r\naltra riga\r\n") : dati.left(dati.indexOf("\r\n") + 2));
    case PaginaAzzerata:
    case FogliaDopoUnaRiga:
        break;  // done on the file itself
    }
    return dati;
}

}  // namespace

// Whatever is wrong with one archive file or one history file of the chosen underlying,
// the start says what it found, goes on as the README says and keeps every byte; of an
// archive file it gets back every row that can still be read, as it was.
class FileDanneggiatiAvvioTest : public QObject {
    Q_OBJECT

private slots:
    void avvio_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("danno");
        const char *danni[] = {"0 byte",          "troncato",        "spazzatura",      "intestazione errata",
                               "righe in piu",    "pagina azzerata", "tagliato al 25%", "tagliato al 75%",
                               "un byte in meno", "pagina azzerata dopo una riga"};
        for (int n = 1; n <= 3; ++n)
            for (int d = Vuoto; d <= FogliaDopoUnaRiga; ++d)
                if (d != FogliaDopoUnaRiga || n == 1)  // only Sistema1's tables span several pages
                    QTest::addRow("Sistema%d.dat %s", n, danni[d]) << QStringLiteral("Sistema%1.dat").arg(n) << d;
        for (const QString &tf : storico::Timeframes())
            for (int d = Vuoto; d <= RigheInPiu; ++d)
                QTest::addRow("S%s_2.dat %s", qPrintable(tf), danni[d]) << storico::NomeFileStorico(2, tf) << d;
    }

    void avvio()
    {
        QFETCH(QString, nome);
        QFETCH(int, danno);
        FinestraProva prova({2, 5});
        const CartellaTemporanea &cartella = *prova.cartella;
        const bool archivio = nome.startsWith(QLatin1String("Sistema"));
        const auto file = FileArchivio(archivio ? nome.mid(7, 1).toInt() : 1);
        if (archivio)
            QVERIFY(RiempiArchivio(file, NonToccata));
        for (const Impostazione &i : Impostazioni) {
            archivio::Connessione c(i.file);
            QVERIFY(c.Aggiorna(QLatin1String(i.tabella), QLatin1String(i.colonna), i.id, QLatin1String(i.valore)));
        }
        const QString percorso = cartella.sistema() + QLatin1Char('/') + nome;
        RigheArchivio originali;
        QStringList attese;
        if (archivio) {
            originali = RigheDi(file, NonToccata);
            const QString colpita = QLatin1String(Colpite[int(file) - 1].first);
            const qint64 azzerata = danno == PaginaAzzerata      ? PaginaTabella(file, colpita, -1)
                                    : danno == FogliaDopoUnaRiga ? PaginaTabella(file, colpita, 1)
                                                                 : 0;
            const qint64 resta = danneggia(leggi(percorso), Danno(danno), true).size();
            const qint64 pagina = PagineArchivio(file).first;
            const bool illeggibile = danno == Spazzatura || danno == IntestazioneErrata;
            attese = RigheRaggiungibili(
                file, [&](qint64 p) { return illeggibile || p > resta / pagina || p == azzerata; }, NonToccata,
                illeggibile ? -1 : resta);
            if (azzerata)
                QVERIFY(AzzeraNumeroPagina(file, azzerata));
        }
        const QByteArray danneggiato = danneggia(leggi(percorso), Danno(danno), archivio);
        QVERIFY(scrivi(percorso, danneggiato));
        const QStringList prima = QDir(cartella.sistema()).entryList(QDir::Files);

        UscitaCatturata uscita;
        const bool avviato = prova.AvviaOffline();
        const QString avvisi = uscita.avvisi();
        QVERIFY2(avviato, qPrintable(prova.fallimenti.join(QLatin1Char('\n'))));

        // Nothing was deleted: every file is still there, under its name or set aside.
        const QStringList dopo = QDir(cartella.sistema()).entryList(QDir::Files);
        for (const QString &f : prima)
            QVERIFY2(dopo.contains(f), qPrintable(f));
        if (archivio) {
            const Impostazione &i = Impostazioni[int(file) - 1];
            const QStringList accantonati =
                QDir(cartella.sistema()).entryList({nome + QStringLiteral(".danneggiato-*")}, QDir::Files);
            // Even a file SQLite reads without a complaint (cut by a byte, or grown) is reported.
            QVERIFY2(avvisi.contains(nome + QStringLiteral(" era danneggiato")), qPrintable(avvisi));
            QCOMPARE(accantonati.size(), 1);
            QVERIFY2(avvisi.contains(accantonati[0]), qPrintable(avvisi));
            QCOMPARE(leggi(cartella.sistema() + QLatin1Char('/') + accantonati[0]), danneggiato);
            QCOMPARE(avvisi.contains(QStringLiteral(". Recuperati tutti i dati.\n"))
                         || avvisi.contains(QStringLiteral(". Tutto il resto è stato recuperato.\n")),
                     !attese.isEmpty());
            // What went back to its defaults is said in the trader's words, never as a table.
            QVERIFY2(!avvisi.contains(QLatin1String("TAB")) && !avvisi.contains(QLatin1String("Dati_")),
                     qPrintable(avvisi));
            if (danno == PaginaAzzerata) {
                // The rest of the file comes back: only the zeroed table starts afresh.
                QVERIFY2(avvisi.contains(QString::fromUtf8(Colpite[int(file) - 1].second)), qPrintable(avvisi));
                QCOMPARE(valore(i), QLatin1String(i.valore));
            }
            // Every row that could still be read is back as it was; the others start afresh.
            QCOMPARE(RigheRecuperate(file, originali, NonToccata), attese);
            QCOMPARE(integrita(i.file), QStringLiteral("ok"));
            QVERIFY(prova.avvisi.isEmpty());
            QCOMPARE(prova.form->S().archivio.Sottostante_Corrente, 2);
        } else {
            // The history file is named with its reason, left as it is, and the next
            // underlying with whole files opens instead.
            QVERIFY2(avvisi.isEmpty(), qPrintable(avvisi));
            QCOMPARE(prova.avvisi.size(), 1);
            QVERIFY2(prova.avvisi[0].contains(QDir::toNativeSeparators(percorso)), qPrintable(prova.avvisi[0]));
            QCOMPARE(leggi(percorso), danneggiato);
            QCOMPARE(prova.form->S().archivio.Sottostante_Corrente, 5);
            for (const Impostazione &i : Impostazioni)
                QCOMPARE(valore(i), QLatin1String(i.valore));
        }
    }

    // Two files repaired at one start: one notice, each file's paragraph set apart; once
    // shown, no later start tells it again.
    void dueFileRiparati()
    {
        FinestraProva prova({2, 5});
        for (int n : {1, 3})
            QVERIFY(scrivi(archivio::PercorsoArchivio(FileArchivio(n)), {}));
        UscitaCatturata uscita;
        const bool avviato = prova.AvviaOffline();
        const QString avvisi = uscita.avvisi();
        QVERIFY2(avviato, qPrintable(prova.fallimenti.join(QLatin1Char('\n'))));
        static const QRegularExpression due(QStringLiteral("^AVVISO Wavelore \u00AE\nSistema1\\.dat era danneggiato: [^\n]+"
                                                           "\n\nSistema3\\.dat era danneggiato: [^\n]+\n"));
        QVERIFY2(due.match(avvisi).hasMatch(), qPrintable(avvisi));
        QCOMPARE(QDir(prova.cartella->sistema()).entryList({QStringLiteral("*.avviso")}, QDir::Files), QStringList());
        UscitaCatturata dopo;
        QVERIFY(prova.Riavvia());
        const QString ancora = dopo.avvisi();
        QVERIFY2(!ancora.contains(QLatin1String("era danneggiato")), qPrintable(ancora));
    }

    // An archive file another program holds is in use, not damaged: the start waits, then
    // asks; "Riprova" once the other program lets go starts with every row as it was,
    // "Esci" ends the start with the file untouched.
    void archivioInUso_data()
    {
        QTest::addColumn<int>("numero");
        QTest::addColumn<bool>("riprova");
        QTest::addColumn<int>("tenuto");  // "Riprova" pressed while the file is still held
        QTest::newRow("Sistema1.dat, Riprova") << 1 << true << 0;
        QTest::newRow("Sistema3.dat, Riprova") << 3 << true << 0;
        QTest::newRow("Sistema2.dat, Riprova while held, then let go") << 2 << true << 1;
        QTest::newRow("Sistema2.dat, Esci") << 2 << false << 0;
        QTest::newRow("Sistema3.dat, Esci") << 3 << false << 0;
    }
    void archivioInUso()
    {
        QFETCH(int, numero);
        QFETCH(bool, riprova);
        QFETCH(int, tenuto);
        FinestraProva prova({2, 5});
        const auto file = FileArchivio(numero);
        QVERIFY(RiempiArchivio(file, NonToccata));
        const RigheArchivio prima = RigheDi(file, NonToccata);
        const QString percorso = archivio::PercorsoArchivio(file);
        const QByteArray byte = leggi(percorso);
        const QStringList cartella = QDir(prova.cartella->sistema()).entryList(QDir::Files);
        std::optional<ConnessioneProva> altro(std::in_place, file);
        QVERIFY(altro->Esegui(QStringLiteral("BEGIN EXCLUSIVE")));
        const QString domanda =
            archivio::NomeArchivio(file)
            + QStringLiteral(" è in uso da un altro programma: Wavelore non può avviarsi finché non è libero.\n\n"
                             "Chiudere l'altro programma e scegliere Riprova, oppure Esci.");

        if (riprova) {
            // The trader reads the question, closes the other program (at once, or after
            // one more try) and presses Riprova; meanwhile the start shows that it waits.
            QStringList domande, attese;
            QList<QPointer<QWidget>> finestre;  // the waiting windows seen
            QTimer sonda;
            connect(&sonda, &QTimer::timeout, this, [&] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    domande << box->text() + QLatin1Char('|') + box->informativeText() + QLatin1Char('|')
                                   + box->button(QMessageBox::Retry)->text() + QLatin1Char('|')
                                   + box->button(QMessageBox::Close)->text();
                    if (domande.size() > tenuto)
                        altro.reset();
                    QTest::mouseClick(box->button(QMessageBox::Retry), Qt::LeftButton);
                    return;
                }
                for (QWidget *w : QApplication::topLevelWidgets()) {
                    auto *testo = w->findChild<QLabel *>(QStringLiteral("LblAttesaArchivi"));
                    if (!testo || !w->isVisible() || finestre.contains(w))
                        continue;
                    finestre << w;
                    // Drawn with its text: dark pixels on the box's ground.
                    const QImage riga = testo->grab().toImage();
                    bool scritto = false;
                    for (int y = 0; y < riga.height() && !scritto; ++y)
                        for (int x = 0; x < riga.width() && !scritto; ++x)
                            scritto = qGray(riga.pixel(x, y)) < 96;
                    attese << testo->text() + (scritto ? QString() : QStringLiteral(" (not drawn)"));
                }
            });
            sonda.start(10);
            qunsetenv("WAVELORE_AVVISI_AUTOMATICI");
            const bool caricata = prova.Carica();
            qputenv("WAVELORE_AVVISI_AUTOMATICI", "1");
            QVERIFY(caricata);
            const QString attesa = QStringLiteral("%1|Cartella: %2|Riprova|Esci")
                                       .arg(domanda, QDir::toNativeSeparators(prova.cartella->sistema()));
            QCOMPARE(domande, QStringList(tenuto + 1, attesa));
            // Before each question, and after each Riprova while the file is still held.
            QCOMPARE(attese, QStringList(tenuto + 1, QStringLiteral("In attesa di %1, in uso da un altro programma...")
                                                .arg(archivio::NomeArchivio(file))));
            for (QWidget *w : QApplication::topLevelWidgets())
                QVERIFY2(!w->isVisible() || w->objectName() != QLatin1String("FrmAttesaArchivi"), "still waiting");
            QTest::mouseClick(prova.form->Frm_Avvio->Cmd_OffLine, Qt::LeftButton);
            QVERIFY2(prova.fallimenti.isEmpty(), qPrintable(prova.fallimenti.join(QLatin1Char('\n'))));
            QCOMPARE(RigheDi(file, NonToccata), prima);
            QCOMPARE(QDir(prova.cartella->sistema()).entryList({QStringLiteral("*.danneggiato-*")}, QDir::Files),
                     QStringList());
        } else {
            UscitaCatturata uscita;
            const bool caricata = prova.Carica();
            const QString avvisi = uscita.avvisi();
            QVERIFY(!caricata);
            QVERIFY2(avvisi.startsWith(QStringLiteral("AVVISO Wavelore \u00AE\n") + domanda + QStringLiteral("\nCartella: ")
                                       + QDir::toNativeSeparators(prova.cartella->sistema())
                                       + QStringLiteral("\nRISPOSTA Esci\n")),
                     qPrintable(avvisi));
            QCOMPARE(leggi(percorso), byte);
            QCOMPARE(QDir(prova.cartella->sistema()).entryList(QDir::Files), cartella);
        }
    }
};

QTEST_MAIN(FileDanneggiatiAvvioTest)
#include "FileDanneggiatiAvvioTest.moc"
