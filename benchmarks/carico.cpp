// The client under load: the real main window, started ONLINE against tools/quote-server
// with a clock fast enough for a 5-minute bar update every few seconds (each merged and
// saved) and real-time charts on. The server sends 100, then 1,000, then 3,000 ticks a
// second, each rate for $WAVELORE_CARICO_SECONDI seconds (default 60) after a short
// warm-up. For each rate it prints the ticks handled per second, the CPU share of the
// client, the wait of a quote from its decoding to the quote boxes showing it (or a newer
// one), the wait of a queued call (how soon the window answers), both as the 99th
// percentile (the maxima on the CARICO line), and the growth of resident memory; then the
// resident memory at the start and the end. Last, 100 ticks a second again on a slow disk,
// every sync of the program (history files and archive alike) taking a second, as while a
// backup syncs beside it: the window's answer then, and the syncs the window thread made
// per bar update (none is due there), with the files written and replaced while they waited;
// meanwhile the trader clicks once a second, in turn a scroll step, the colour switch and a
// new line: how long each click holds the window (to the next queued call it lets through,
// the 99th percentile) and the syncs the window thread made for them (none is due).

#include "Bench.h"
#include "DialoghiBench.h"
#include "InterfacceVuote.h"

#include "archive/Archivio.h"
#include "archive/CreaArchivi.h"
#include "archive/ScrittoreArchivio.h"
#include "archive/StatoArchivio.h"
#include "archive/TabSottostanti.h"
#include "chart/ui/GraficoWidget.h"
#include "drawing/StrumentiGrafici.h"
#include "drawing/ui/StrumentiFinestra.h"
#include "market/ScrittoreStorico.h"
#include "market/SessioneQuotazioni.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/RiquadroGrafico.h"
#include "shell/ui/SessioneFinestra.h"
#include "simulatore/GeneratoreStorico.h"
#include "SincronieLente.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <algorithm>
#include <deque>
#include <vector>
#include <sys/resource.h>

namespace {

constexpr int Ritmi[] = {100, 1000, 3000};  // ticks a second
constexpr int Ritmo_Disco_Lento = 100;
constexpr int Sincronia_Lenta_ms = 1000;
constexpr int Velocita = 60;               // a 5-minute bar every 5 s
constexpr int Riscaldamento_ms = 2000;     // after each change of rate

double MemoriaResidenteMB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &riga : f.readAll().split('\n'))
        if (riga.startsWith("VmRSS:"))
            return riga.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

double TempoCpuS()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) + double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop until `condizione` holds or `ms` have passed, looking every 20 ms.
bool Attendi(const std::function<bool()> &condizione, int ms)
{
    if (condizione())
        return true;
    QDeadlineTimer scadenza(ms);
    QEventLoop ciclo;
    QTimer controllo;
    QObject::connect(&controllo, &QTimer::timeout, &ciclo, [&] {
        if (condizione() || scadenza.hasExpired())
            ciclo.quit();
    });
    controllo.start(20);
    ciclo.exec();
    return condizione();
}

// The share `quota` of the samples (ns) lies at or under the value returned, in ms.
double Percentile(std::vector<qint64> campioni, double quota)
{
    if (campioni.empty())
        return 0;
    std::sort(campioni.begin(), campioni.end());
    const auto i = std::min(campioni.size() - 1, size_t(quota * double(campioni.size() - 1) + 0.5));
    return double(campioni[i]) / 1e6;
}

// A press and release at `p` of a chart, the mouse there first, as the trader's hand gives them.
void Clic(QWidget *w, QPoint p)
{
    const QPointF globale = w->mapToGlobal(QPointF(p));
    QMouseEvent muovi(QEvent::MouseMove, QPointF(p), globale, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &muovi);
    for (const QEvent::Type tipo : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(tipo, QPointF(p), globale, Qt::LeftButton,
                      tipo == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
}

// The trader's clicks in turn: a scroll step of the first chart, the colour switch, a
// new line on the first chart (its degree's lines let go in memory first, so the slots
// never run out and the line's row is written over).
void Clic_Operatore(FinestraOperativa &op, FormS1 &form, int n)
{
    AreaGrafici *area = op.Area();
    RiquadroGrafico *riquadro = area->Frm_Graf[0];
    switch (n % 3) {
    case 0: {
        QScrollBar *b = riquadro->Hsc_Graf;
        b->setValue(b->value() < b->maximum() ? b->value() + 1 : b->value() - 1);
        break;
    }
    case 1: op.Quotazioni()->Cmd_Aspetto[0]->click(); break;
    default: {
        GraficoWidget *g = riquadro->Graf_Battleplan;
        auto *strumenti = op.findChild<StrumentiFinestra *>(QStringLiteral("StrumentiFinestra"));
        if (!strumenti || !g->isVisible())
            return;
        Stato &s = form.S();
        const int grado = s.cicli.Conf_Grafici[0].grado;
        if (grado >= 0 && grado <= costanti::Max_Grado)
            for (auto &l : s.disegno.Linee[size_t(grado)])
                l = {};
        QMouseEvent sopra(QEvent::MouseMove, QPointF(g->width() / 2, g->height() / 2),
                          g->mapToGlobal(QPointF(g->width() / 2, g->height() / 2)), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(g, &sopra);
        strumenti->Strumenti().Cmd_Line_Click(0);
        Clic(g, QPoint(g->width() * 3 / 10, g->height() / 2));
        Clic(g, QPoint(g->width() * 6 / 10, g->height() * 2 / 5));
        break;
    }
    }
}

int Fallisce(const char *perche)
{
    std::fprintf(stderr, "bench_carico: %s\n", perche);
    return 1;
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("WAVELORE_AVVISI_AUTOMATICI", "1");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int secondi = qEnvironmentVariableIntValue("WAVELORE_CARICO_SECONDI") > 0
                            ? qEnvironmentVariableIntValue("WAVELORE_CARICO_SECONDI")
                            : 60;

    QTemporaryDir cartella;
    qputenv("WAVELORE_HOME", QFile::encodeName(cartella.path()));
    const QString db = cartella.path() + QStringLiteral("/Server/{db}.db");
    QDir().mkpath(cartella.path() + QStringLiteral("/Server"));
    StatoArchivio tab;
    archivio::Inizializza_Tab_Sottostanti(tab);
    generatore::Parametri p;
    p.sottostante = tab.Tab_Sottostanti[2];
    if (!generatore::ScriviDatabase(generatore::Genera(p),
                                    QString(db).replace(QStringLiteral("{db}"), generatore::NomeDatabase(2)))
             .ok)
        return Fallisce("history database not written");
    qputenv("WAVELORE_HISTORY_ODBC", QStringLiteral("DRIVER={SQLite3};Database=%1;").arg(db).toUtf8());
    if (!archivio::Crea_Archivi().ok)
        return Fallisce("archive not created");
    {
        archivio::Connessione c(archivio::FileArchivio::Sistema3);
        if (!c.Aggiorna(QStringLiteral("TABAVV"), QStringLiteral("C9"), 1, QStringLiteral("1")))  // real-time charts
            return Fallisce("archive not written");
    }

    QString strumenti = qEnvironmentVariable("WAVELORE_TOOLS_DIR");
    if (strumenti.isEmpty())
        strumenti = QCoreApplication::applicationDirPath() + QStringLiteral("/../tools");
    QProcess server;
    server.start(strumenti + QStringLiteral("/quote-server"),
                 {QStringLiteral("--porta"), QStringLiteral("0"), QStringLiteral("--database"), db,
                  QStringLiteral("--al-secondo"), QString::number(Ritmi[0]), QStringLiteral("--velocita"),
                  QString::number(Velocita)});
    if (!server.waitForReadyRead(30000))
        return Fallisce("quote-server did not start");
    const QByteArray pronto = server.readLine().trimmed();
    if (!pronto.startsWith("PRONTO "))
        return Fallisce("quote-server did not say PRONTO");
    qputenv("WAVELORE_SERVER", "127.0.0.1:" + pronto.mid(7));

    FormS1 form;
    FinestraOperativa *op = finestra::Prepara_Finestra_Operativa(form);
    finestra::Prepara_Sessione_Online(form, *op);
    struct Fallimenti : FallimentiStampati {
        QStringList &elenco;
        explicit Fallimenti(QStringList &e) : elenco(e) {}
        void Fallimento(const QString &m) override { elenco << m; }
    };
    QStringList fallimenti;
    op->Imposta_Dialoghi(std::make_unique<Fallimenti>(fallimenti));
    form.Imposta_Uscita(std::make_unique<UscitaVuota>());
    const std::uint64_t sincronieAvvio = sincronie::Sul_Thread_Principale();
    if (!form.Form_Load())
        return Fallisce("start refused");
    form.show();
    form.Frm_Avvio->Text_ID->setText(QStringLiteral("demo"));
    form.Frm_Avvio->Text_Password->setText(QStringLiteral("demo"));
    form.Frm_Avvio->Cmd_OnLine->click();
    if (!Attendi([&] { return !form.S().shell.Blocco_Grafici || !fallimenti.isEmpty(); }, 120000) || !fallimenti.isEmpty())
        return Fallisce("the ONLINE start did not finish");
    std::printf("CARICO avvio e accesso: %llu sincronie sul thread della finestra\n",
                static_cast<unsigned long long>(sincronie::Sul_Thread_Principale() - sincronieAvvio));
    SessioneQuotazioni *sessione = op->Sessione();
    if (!Attendi([&] { return sessione->Tick_Ricevuti() > 0; }, 30000))
        return Fallisce("no tick arrived");

    // Decoding time of every quote not yet shown, in order; a shown count covers them.
    QElapsedTimer orologio;
    orologio.start();
    std::deque<qint64> arrivi;
    quint64 mostrati = sessione->Tick_Mostrati();
    std::vector<qint64> latenze;  // each showing: the longest any quote it covers waited
    QObject::connect(sessione, &SessioneQuotazioni::Messaggio_Ricevuto, sessione, [&](const QString &codice) {
        if (codice == QLatin1String("COMM31"))
            arrivi.push_back(orologio.nsecsElapsed());
    });
    const quint64 gestitiPrima = sessione->Tick_Ricevuti();
    arrivi.clear();
    auto contaMostrati = [&] {
        // The quotes handled when the boxes were shown are now on screen or overtaken.
        const quint64 ora = sessione->Tick_Mostrati();
        if (ora <= mostrati)
            return;
        const qint64 adesso = orologio.nsecsElapsed();
        qint64 attesa = -1;
        for (quint64 n = mostrati; n < ora && !arrivi.empty(); ++n) {
            if (n >= gestitiPrima)
                attesa = std::max(attesa, adesso - arrivi.front());
            arrivi.pop_front();
        }
        if (attesa >= 0)
            latenze.push_back(attesa);
        mostrati = ora;
    };
    mostrati = gestitiPrima;
    QObject::connect(sessione, &SessioneQuotazioni::Quotazione_Mostrata, sessione, contaMostrati);
    // A queued call every 20 ms: how late the timer fires and how long the call then
    // waits is how long the window takes to answer.
    constexpr qint64 Passo_Sonda_ns = 20'000'000;
    std::vector<qint64> risposte;
    qint64 ultimaSonda = orologio.nsecsElapsed();
    QTimer sonda;
    sonda.setTimerType(Qt::PreciseTimer);
    QObject::connect(&sonda, &QTimer::timeout, &sonda, [&] {
        const qint64 inviata = orologio.nsecsElapsed();
        const qint64 ritardo = std::max<qint64>(0, inviata - ultimaSonda - Passo_Sonda_ns);
        ultimaSonda = inviata;
        QMetaObject::invokeMethod(
            &sonda, [&, inviata, ritardo] { risposte.push_back(ritardo + orologio.nsecsElapsed() - inviata); },
            Qt::QueuedConnection);
    });
    sonda.start(20);

    const double memoriaInizio = MemoriaResidenteMB();
    int fusioniTotali = 0;
    struct Fase {
        int ritmo;
        bool discoLento;
    };
    std::vector<Fase> fasi;
    for (const int ritmo : Ritmi)
        fasi.push_back({ritmo, false});
    fasi.push_back({Ritmo_Disco_Lento, true});
    ScrittoreStorico &scrittore = form.Scrittore();
    ScrittoreArchivio &archivio = form.Scrittore_Archivio();
    for (const Fase &fase : fasi) {
        const int ritmo = fase.ritmo;
        if (fase.discoLento)
            sincronie::Imposta_Ritardo(Sincronia_Lenta_ms);
        server.write(QByteArray("ritmo ") + QByteArray::number(ritmo) + '\n');
        Attendi([] { return false; }, Riscaldamento_ms);
        contaMostrati();
        latenze.clear();
        risposte.clear();
        ultimaSonda = orologio.nsecsElapsed();
        const double memoriaPrima = MemoriaResidenteMB();
        const double cpuPrima = TempoCpuS();
        const quint64 tickPrima = sessione->Tick_Ricevuti();
        const int fusioniPrima = sessione->Fusioni_Eseguite();
        const quint64 scrittiPrima = scrittore.Scritti();
        const quint64 sostituitiPrima = scrittore.Sostituiti();
        const quint64 lottiPrima = archivio.Scritti();
        const std::uint64_t sincroniePrima = sincronie::Totali();
        const std::uint64_t sincronieFinestraPrima = sincronie::Sul_Thread_Principale();
        // On the slow disk the trader clicks once a second: each click's hold on the window,
        // and the syncs the window thread made from the click to the call after it.
        std::vector<qint64> clic;
        std::uint64_t sincronieClic = 0;
        int clicFatti = 0;
        QTimer operatore;
        QObject::connect(&operatore, &QTimer::timeout, &operatore, [&] {
            if (form.S().shell.Blocco_Grafici)
                return;
            const qint64 t0 = orologio.nsecsElapsed();
            const std::uint64_t s0 = sincronie::Sul_Thread_Principale();
            Clic_Operatore(*op, form, clicFatti++);
            QMetaObject::invokeMethod(
                &operatore,
                [&, t0, s0] {
                    clic.push_back(orologio.nsecsElapsed() - t0);
                    sincronieClic += sincronie::Sul_Thread_Principale() - s0;
                },
                Qt::QueuedConnection);
        });
        if (fase.discoLento)
            operatore.start(1000);
        const qint64 inizio = orologio.nsecsElapsed();
        Attendi([] { return false; }, secondi * 1000);
        operatore.stop();
        Attendi([&] { return int(clic.size()) == clicFatti; }, 5000);
        const double trascorsi = double(orologio.nsecsElapsed() - inizio) / 1e9;
        contaMostrati();
        // A quote still waiting to be shown has waited at least this long.
        if (!arrivi.empty())
            latenze.push_back(orologio.nsecsElapsed() - arrivi.front());
        const double cpu = TempoCpuS() - cpuPrima;
        const quint64 tick = sessione->Tick_Ricevuti() - tickPrima;
        const int fusioni = sessione->Fusioni_Eseguite() - fusioniPrima;
        fusioniTotali += fusioni;
        const std::uint64_t sincronieFinestra = sincronie::Sul_Thread_Principale() - sincronieFinestraPrima;
        std::printf("CARICO %d tick/s%s, %d s: %llu tick, %d barre fuse, CPU %.1f s; quotazione mostrata dopo "
                    "%.1f ms (99%%) / %.1f ms (massimo), risposta %.1f ms (99%%) / %.1f ms (massimo); "
                    "file storico scritti %llu, sostituiti in attesa %llu, in attesa alla fine %d; "
                    "salvataggi dell'archivio scritti %llu; sincronie %llu, sul thread della finestra %llu\n",
                    ritmo, fase.discoLento ? " su disco lento" : "", secondi, static_cast<unsigned long long>(tick),
                    fusioni, cpu, Percentile(latenze, 0.99), Percentile(latenze, 1.0), Percentile(risposte, 0.99),
                    Percentile(risposte, 1.0), static_cast<unsigned long long>(scrittore.Scritti() - scrittiPrima),
                    static_cast<unsigned long long>(scrittore.Sostituiti() - sostituitiPrima),
                    scrittore.In_Sospeso(), static_cast<unsigned long long>(archivio.Scritti() - lottiPrima),
                    static_cast<unsigned long long>(sincronie::Totali() - sincroniePrima),
                    static_cast<unsigned long long>(sincronieFinestra));
        if (fase.discoLento) {
            StampaBench(QStringLiteral("carico_lento_risposta_finestra"), Percentile(risposte, 0.99),
                        QStringLiteral("ms"));
            StampaBench(QStringLiteral("carico_lento_sincronie_finestra_per_barra"),
                        fusioni > 0 ? double(sincronieFinestra - sincronieClic) / fusioni
                                    : double(sincronieFinestra - sincronieClic),
                        QStringLiteral("sync"));
            std::printf("CARICO clic su disco lento: %d, risposta %.1f ms (99%%) / %.1f ms (massimo), "
                        "sincronie sul thread della finestra %llu\n",
                        clicFatti, Percentile(clic, 0.99), Percentile(clic, 1.0),
                        static_cast<unsigned long long>(sincronieClic));
            StampaBench(QStringLiteral("carico_lento_clic_risposta_finestra"), Percentile(clic, 0.99),
                        QStringLiteral("ms"));
            StampaBench(QStringLiteral("carico_lento_sincronie_finestra_per_clic"),
                        clicFatti > 0 ? double(sincronieClic) / clicFatti : 0.0, QStringLiteral("sync"));
            sincronie::Imposta_Ritardo(0);
            continue;
        }
        const QString nome = QStringLiteral("carico_%1_").arg(ritmo);
        StampaBench(nome + QStringLiteral("tick_al_secondo"), double(tick) / trascorsi, QStringLiteral("tick/s"));
        StampaBench(nome + QStringLiteral("cpu"), 100.0 * cpu / trascorsi, QStringLiteral("%"));
        // The 99th percentile: one stall of a shared machine must not stand for the run.
        StampaBench(nome + QStringLiteral("latenza_quotazione"), Percentile(latenze, 0.99), QStringLiteral("ms"));
        StampaBench(nome + QStringLiteral("risposta_finestra"), Percentile(risposte, 0.99), QStringLiteral("ms"));
        StampaBench(nome + QStringLiteral("crescita_memoria"), (MemoriaResidenteMB() - memoriaPrima) * 60.0 / trascorsi,
                    QStringLiteral("MB/min"));
    }
    StampaBench(QStringLiteral("carico_memoria_inizio"), memoriaInizio, QStringLiteral("MB"));
    StampaBench(QStringLiteral("carico_memoria_fine"), MemoriaResidenteMB(), QStringLiteral("MB"));
    server.kill();
    server.waitForFinished(5000);
    if (!fallimenti.isEmpty() || fusioniTotali == 0)
        return Fallisce("a phase failed or no bar update was merged");
    // What the clicks saved reached the disk, the slow one included.
    form.Scrittore_Archivio().Attendi();
    if (!form.Scrittore_Archivio().Da_Scrivere().isEmpty())
        return Fallisce("a trader's save was not written");
    return 0;
}
