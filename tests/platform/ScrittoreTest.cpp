// The writer every save goes through, over a disk in memory that can hold a write at
// its gate or refuse a file: the newest value of a key wins, a failed item is kept and
// tried again (after any write that succeeds, on a doubling wait, in Attendi, at the
// end), a failing period is told once until every item is written, the exit keeps the
// failures to itself, and a reader holds the next write of its file off.

#include "platform/Scrittore.h"

#include <QRegularExpression>
#include <QSemaphore>
#include <QSignalSpy>
#include <QtTest>
#include <atomic>
#include <map>
#include <memory>

namespace {

// What the writer under test writes into; one for each test.
struct DiscoMemoria {
    std::mutex mutex;
    std::map<QString, std::map<QString, QString>> file;  // written
    std::map<QString, QString> rifiuti;                  // file -> cause
    QStringList lotti;                                   // each write: "A:k=1,A:j=2"
    std::atomic<bool> cancello = false;                  // each write waits for `via`
    QSemaphore via;
    std::atomic<int> tentativi = 0;
    std::atomic<int> alCancello = 0;

    void Rifiuta(const QString &nome, const QString &causa = QStringLiteral("il disco \u00E8 pieno"))
    {
        std::lock_guard b(mutex);
        rifiuti[nome] = causa;
    }
    void Accetta()
    {
        std::lock_guard b(mutex);
        rifiuti.clear();
    }
    QString Contenuto(const QString &nome)
    {
        std::lock_guard b(mutex);
        QStringList v;
        for (const auto &[k, x] : file[nome])
            v << k + QLatin1Char('=') + x;
        return v.join(QLatin1Char(','));
    }
    QStringList Lotti()
    {
        std::lock_guard b(mutex);
        return lotti;
    }
};
DiscoMemoria *disco = nullptr;

struct PoliticaProva {
    struct Voce {
        QString file;
        QString chiave;
        QString valore;
    };
    static bool Stessa_Chiave(const Voce &a, const Voce &b) { return a.file == b.file && a.chiave == b.chiave; }
    static QString Nome(const Voce &v) { return v.file; }
    static bool Insieme(const Voce &a, const Voce &b) { return a.file == b.file; }
    std::vector<EsitoVoce> Scrivi(const std::vector<Voce> &lotto)
    {
        ++disco->tentativi;
        if (disco->cancello) {
            ++disco->alCancello;
            disco->via.acquire();
            --disco->alCancello;
        }
        std::lock_guard b(disco->mutex);
        std::vector<EsitoVoce> esiti;
        QStringList scritte;
        for (const Voce &v : lotto) {
            scritte << v.file + QLatin1Char(':') + v.chiave + QLatin1Char('=') + v.valore;
            if (const auto r = disco->rifiuti.find(v.file); r != disco->rifiuti.end()) {
                esiti.push_back({false, r->second});
                continue;
            }
            disco->file[v.file][v.chiave] = v.valore;
            esiti.push_back({true, {}});
        }
        disco->lotti << scritte.join(QLatin1Char(','));
        return esiti;
    }
};

struct ScrittoreProva : Scrittore<PoliticaProva> {
    using Scrittore::Scrittore;
    // "A:k=1,A:j=2": one call, as one save of several values.
    void Metti(const QString &voci, int richiedente = 1)
    {
        std::vector<PoliticaProva::Voce> v;
        for (const QString &voce : voci.split(QLatin1Char(','))) {
            const QStringList parti = voce.split(QRegularExpression(QStringLiteral("[:=]")));
            v.push_back({parti[0], parti[1], parti[2]});
        }
        Accoda(std::move(v), richiedente);
    }
    QString Testo_Avviso(int, const QString &nome, const QString &causa) const override { return nome + causa; }
};

using namespace std::chrono_literals;

}  // namespace

class ScrittoreTest : public QObject {
    Q_OBJECT

    std::unique_ptr<DiscoMemoria> m_disco;

    // The writer held inside a first write of file Z, so what comes next waits.
    void trattieni(ScrittoreProva &s)
    {
        m_disco->cancello = true;
        s.Metti(QStringLiteral("Z:x=0"));
        QTRY_COMPARE(m_disco->alCancello.load(), 1);
    }
    void lascia()
    {
        m_disco->cancello = false;
        m_disco->via.release(1000);
    }

private slots:
    void init()
    {
        m_disco = std::make_unique<DiscoMemoria>();
        disco = m_disco.get();
    }

    // Values queued while a write is under way: one value a key is written, the newest,
    // and a key queued again goes last; the values of one file go in one write.
    void piu_recente_vince_data()
    {
        QTest::addColumn<QStringList>("salvataggi");
        QTest::addColumn<QStringList>("scritture");  // after the held one
        QTest::addColumn<QString>("a");             // what file A holds at the end
        QTest::addColumn<int>("sostituiti");
        QTest::newRow("the same key three times")
            << QStringList{"A:k=1", "A:k=2", "A:k=3"} << QStringList{"A:k=3"} << "k=3" << 2;
        QTest::newRow("a row twice in a batch, then the newer of one column")
            << QStringList{"A:d=1,A:p=vecchio", "A:p=nuovo"} << QStringList{"A:d=1,A:p=nuovo"} << "d=1,p=nuovo" << 1;
        QTest::newRow("keys of one file in one write")
            << QStringList{"A:k=1", "A:j=2"} << QStringList{"A:k=1,A:j=2"} << "j=2,k=1" << 0;
        QTest::newRow("each file its own write, in order")
            << QStringList{"A:k=1", "B:k=1"} << QStringList{"A:k=1", "B:k=1"} << "k=1" << 0;
        QTest::newRow("a key queued again goes last")
            << QStringList{"A:k=1", "B:k=1", "A:k=2"} << QStringList{"B:k=1", "A:k=2"} << "k=2" << 1;
    }
    void piu_recente_vince()
    {
        QFETCH(QStringList, salvataggi);
        QFETCH(QStringList, scritture);
        QFETCH(QString, a);
        QFETCH(int, sostituiti);
        ScrittoreProva s;
        const auto sblocca = qScopeGuard([this] { lascia(); });
        trattieni(s);
        for (const QString &v : salvataggi)
            s.Metti(v);
        QCOMPARE(s.In_Sospeso(), 1 + int(QString(salvataggi.join(QLatin1Char(','))).count(QLatin1Char(':'))) - sostituiti);
        lascia();
        s.Attendi();
        QCOMPARE(m_disco->Lotti(), QStringList{QStringLiteral("Z:x=0")} + scritture);
        QCOMPARE(m_disco->Contenuto(QStringLiteral("A")), a);
        QCOMPARE(s.Sostituiti(), quint64(sostituiti));
        QCOMPARE(s.In_Sospeso(), 0);
    }

    // A failed item stays and is tried again until written, by each of the ways it can be.
    void fallito_riprovato_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::newRow("after any write that succeeds") << "successo";
        QTest::newRow("when Attendi is called") << "attendi";
        QTest::newRow("at once when asked (the exit)") << "adesso";
        QTest::newRow("at the writer's end") << "fine";
        QTest::newRow("a newer value takes its place") << "piu_recente";
    }
    void fallito_riprovato()
    {
        QFETCH(QString, caso);
        auto s = std::make_unique<ScrittoreProva>();
        QSignalSpy riprese(s.get(), &ScrittoreBase::Scrittura_Ripresa);
        // The wait never ends within the test: only the way under test writes it again.
        s->Imposta_Riprova(1h, 1h);
        m_disco->Rifiuta(QStringLiteral("A"));
        s->Metti(QStringLiteral("A:k=1"));
        QTRY_COMPARE(m_disco->tentativi.load(), 1);
        s->Attendi_File(QStringLiteral("A"));
        QCOMPARE(s->In_Sospeso(), 0);
        QCOMPARE(s->Da_Scrivere(), QStringList{QStringLiteral("A")});
        if (caso == QLatin1String("piu_recente")) {
            s->Metti(QStringLiteral("A:k=2"));  // tried at once, and refused again
            QTRY_COMPARE(m_disco->tentativi.load(), 2);
        }
        m_disco->Accetta();
        if (caso == QLatin1String("successo")) {
            s->Metti(QStringLiteral("B:k=1"));
        } else if (caso == QLatin1String("attendi")) {
            s->Attendi();
        } else if (caso == QLatin1String("fine")) {
            s.reset();
        } else {
            s->Riprova_Adesso();
        }
        const QString atteso = caso == QLatin1String("piu_recente") ? QStringLiteral("k=2") : QStringLiteral("k=1");
        QTRY_COMPARE(m_disco->Contenuto(QStringLiteral("A")), atteso);
        if (!s)
            return;
        s->Attendi();
        QVERIFY(s->Da_Scrivere().isEmpty());
        QTRY_COMPARE(riprese.count(), 1);
    }

    // The wait before a failed item is tried again doubles at each try up to its bound,
    // and starts again from the first once a write succeeds.
    void attesa_che_raddoppia()
    {
        ScrittoreProva s;
        s.Imposta_Riprova(10ms, 40ms);
        m_disco->Rifiuta(QStringLiteral("A"));
        m_disco->cancello = true;
        s.Metti(QStringLiteral("A:k=1"));
        // At the gate the try has begun: its wait was set before, and none other starts meanwhile.
        const auto sblocca = qScopeGuard([this] { lascia(); });
        int tentativo = 0;
        for (const auto attesa : {10ms, 20ms, 40ms, 40ms}) {
            ++tentativo;
            QTRY_VERIFY(m_disco->tentativi == tentativo && m_disco->alCancello == 1);
            QCOMPARE(s.Attesa_Riprova(), attesa);
            if (tentativo == 4)
                m_disco->Accetta();
            m_disco->via.release();
        }
        QTRY_COMPARE(m_disco->Contenuto(QStringLiteral("A")), QStringLiteral("k=1"));
        QCOMPARE(s.Attesa_Riprova(), 10ms);
    }

    // However many items fail, a failing period is told once, with the first of them, and
    // its end once every item is written; a later failure is a new period, told again.
    void detto_una_volta_data()
    {
        QTest::addColumn<QStringList>("rifiutati");
        QTest::newRow("one file") << QStringList{"A"};
        QTest::newRow("two files") << QStringList{"A", "B"};
    }
    void detto_una_volta()
    {
        QFETCH(QStringList, rifiutati);
        ScrittoreProva s;
        const auto sblocca = qScopeGuard([this] { lascia(); });
        s.Imposta_Riprova(1h, 1h);
        QSignalSpy fallite(&s, &ScrittoreBase::Scrittura_Fallita);
        QSignalSpy riprese(&s, &ScrittoreBase::Scrittura_Ripresa);
        for (const QString &f : rifiutati)
            m_disco->Rifiuta(f, QStringLiteral("%1 rifiutato").arg(f));
        trattieni(s);
        s.Metti(QStringLiteral("A:k=1"), 2);
        s.Metti(QStringLiteral("B:k=1"), 1);
        lascia();
        s.Attendi();
        QTRY_COMPARE(fallite.count(), 1);
        QCOMPARE(fallite.first(), (QVariantList{2, QStringLiteral("A"), QStringLiteral("A rifiutato")}));
        // More failures while told: nothing more is said.
        s.Metti(QStringLiteral("A:k=3"));
        s.Attendi();
        QCoreApplication::processEvents();
        QCOMPARE(fallite.count(), 1);
        // One file written while another still fails: the period goes on.
        if (rifiutati.size() > 1) {
            m_disco->Rifiuta(QStringLiteral("A"));
            {
                std::lock_guard b(m_disco->mutex);
                m_disco->rifiuti.erase(QStringLiteral("B"));
            }
            s.Attendi();
            QCoreApplication::processEvents();
            QCOMPARE(m_disco->Contenuto(QStringLiteral("B")), QStringLiteral("k=1"));
            QCOMPARE(riprese.count(), 0);
        }
        m_disco->Accetta();
        s.Attendi();
        QTRY_COMPARE(riprese.count(), 1);
        QCOMPARE(fallite.count(), 1);
        m_disco->Rifiuta(QStringLiteral("A"));
        s.Metti(QStringLiteral("A:k=4"));
        QTRY_COMPARE(fallite.count(), 2);
    }

    // During the exit failures are told to nobody: the exit takes them, one line a file
    // with its cause, and sees every file still to be written, each once.
    void uscita_tiene_i_fallimenti()
    {
        ScrittoreProva s;
        const auto sblocca = qScopeGuard([this] { lascia(); });
        s.Imposta_Riprova(1h, 1h);
        QSignalSpy fallite(&s, &ScrittoreBase::Scrittura_Fallita);
        s.Trattieni_Fallimenti();
        QVERIFY(s.Fallimenti_Trattenuti());
        m_disco->Rifiuta(QStringLiteral("A"));
        m_disco->Rifiuta(QStringLiteral("C"), QStringLiteral("accesso negato"));
        s.Metti(QStringLiteral("A:k=1,A:j=1"));
        s.Metti(QStringLiteral("B:k=1"));
        s.Metti(QStringLiteral("C:k=1"));
        s.Attendi();
        QCoreApplication::processEvents();
        QCOMPARE(fallite.count(), 0);
        trattieni(s);
        s.Metti(QStringLiteral("D:k=1"));
        s.Metti(QStringLiteral("Z:y=1"));
        QStringList daScrivere = s.Da_Scrivere(), fallimenti = s.Preleva_Fallimenti();
        daScrivere.sort();
        fallimenti.sort();
        QCOMPARE(daScrivere, (QStringList{"A", "C", "D", "Z"}));
        QCOMPARE(fallimenti, (QStringList{"A: il disco \u00E8 pieno", "C: accesso negato"}));
        lascia();
        s.Attendi();
        QCoreApplication::processEvents();
        QCOMPARE(fallite.count(), 0);
    }

    // A reader of a file holds its next write off and sees what waits, oldest first; the
    // write under way when it came is what it waits for.
    void lettura_trattiene_il_file()
    {
        ScrittoreProva s;
        const auto sblocca = qScopeGuard([this] { lascia(); });
        m_disco->cancello = true;
        s.Metti(QStringLiteral("A:k=1"));
        QTRY_COMPARE(m_disco->alCancello.load(), 1);
        s.Inizia_Lettura(QStringLiteral("A"));
        QVERIFY(s.Scrive(QStringLiteral("A")));
        QVERIFY(!s.Scrive(QStringLiteral("B")));
        s.Metti(QStringLiteral("A:k=2"));
        s.Metti(QStringLiteral("B:k=1"));
        QStringList visti;
        const auto guarda = [&] {
            visti.clear();
            s.Per_Ogni_In_Sospeso([&](const PoliticaProva::Voce &v) { visti << v.file + v.chiave + v.valore; });
        };
        guarda();
        QCOMPARE(visti, (QStringList{"Ak1", "Ak2", "Bk1"}));
        m_disco->cancello = false;
        m_disco->via.release(10);
        s.Attendi_File(QStringLiteral("B"));
        QCOMPARE(m_disco->Contenuto(QStringLiteral("B")), QStringLiteral("k=1"));
        QCOMPARE(m_disco->Contenuto(QStringLiteral("A")), QStringLiteral("k=1"));
        QVERIFY(!s.Scrive(QStringLiteral("A")));
        guarda();
        QCOMPARE(visti, QStringList{QStringLiteral("Ak2")});
        s.Fine_Lettura(QStringLiteral("A"));
        s.Attendi();
        QCOMPARE(m_disco->Contenuto(QStringLiteral("A")), QStringLiteral("k=2"));
    }
};

QTEST_GUILESS_MAIN(ScrittoreTest)
#include "ScrittoreTest.moc"
