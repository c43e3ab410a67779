// The client under load: the real main window, started ONLINE against tools/quote-server
// sending 100 ticks a second, with a clock fast enough for a 5-minute bar update every
// few seconds (each merged and saved) and real-time charts on. Runs for
// $WAVELORE_CARICO_SECONDI seconds (default 120) after the start and prints the ticks
// handled per second, the CPU share of the client and its resident memory at the
// start and the end of the run.

#include "Bench.h"

#include "archive/Archivio.h"
#include "archive/CreaArchivi.h"
#include "archive/StatoArchivio.h"
#include "archive/TabSottostanti.h"
#include "market/SessioneQuotazioni.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/SessioneFinestra.h"
#include "simulatore/GeneratoreStorico.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int Intervallo_Tick_ms = 10;  // 100 ticks a second
constexpr int Velocita = 60;            // a 5-minute bar every 5 s

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
                            : 120;

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
                  QStringLiteral("--intervallo"), QString::number(Intervallo_Tick_ms), QStringLiteral("--velocita"),
                  QString::number(Velocita)});
    if (!server.waitForReadyRead(30000))
        return Fallisce("quote-server did not start");
    const QByteArray pronto = server.readLine().trimmed();
    if (!pronto.startsWith("PRONTO "))
        return Fallisce("quote-server did not say PRONTO");
    qputenv("WAVELORE_SERVER", "127.0.0.1:" + pronto.mid(7));

    FormS1 form;
    FinestraOperativa *op = Prepara_Finestra_Operativa(form);
    Prepara_Sessione_Online(form, *op);
    struct Fallimenti : DialoghiFinestra {
        QStringList &elenco;
        explicit Fallimenti(QStringList &e) : elenco(e) {}
        void Fallimento(const QString &m) override { elenco << m; }
    };
    QStringList fallimenti;
    op->Imposta_Dialoghi(std::make_unique<Fallimenti>(fallimenti));
    form.Imposta_Uscita(std::make_unique<Uscita>());
    if (!form.Form_Load())
        return Fallisce("start refused");
    form.show();
    form.Frm_Avvio->Text_ID->setText(QStringLiteral("demo"));
    form.Frm_Avvio->Text_Password->setText(QStringLiteral("demo"));
    form.Frm_Avvio->Cmd_OnLine->click();
    if (!Attendi([&] { return !form.S().shell.Blocco_Grafici || !fallimenti.isEmpty(); }, 120000) || !fallimenti.isEmpty())
        return Fallisce("the ONLINE start did not finish");
    SessioneQuotazioni *sessione = op->Sessione();
    if (!Attendi([&] { return sessione->Tick_Ricevuti() > 0; }, 30000))
        return Fallisce("no tick arrived");

    const double memoriaInizio = MemoriaResidenteMB();
    const double cpuInizio = TempoCpuS();
    const quint64 tickInizio = sessione->Tick_Ricevuti();
    const int fusioniInizio = sessione->Fusioni_Eseguite();
    QElapsedTimer orologio;
    orologio.start();
    Attendi([] { return false; }, secondi * 1000);
    const double trascorsi = double(orologio.nsecsElapsed()) / 1e9;
    const double cpu = TempoCpuS() - cpuInizio;
    const double memoriaFine = MemoriaResidenteMB();
    const quint64 tick = sessione->Tick_Ricevuti() - tickInizio;
    const int fusioni = sessione->Fusioni_Eseguite() - fusioniInizio;

    std::printf("CARICO %d s: %llu tick, %d barre fuse, CPU %.1f s\n", secondi, static_cast<unsigned long long>(tick),
                fusioni, cpu);
    StampaBench(QStringLiteral("carico_tick_al_secondo"), double(tick) / trascorsi, QStringLiteral("tick/s"));
    StampaBench(QStringLiteral("carico_cpu"), 100.0 * cpu / trascorsi, QStringLiteral("%"));
    StampaBench(QStringLiteral("carico_memoria_inizio"), memoriaInizio, QStringLiteral("MB"));
    StampaBench(QStringLiteral("carico_memoria_fine"), memoriaFine, QStringLiteral("MB"));
    server.kill();
    server.waitForFinished(5000);
    if (!fallimenti.isEmpty() || fusioni == 0)
        return Fallisce("a phase failed or no bar update was merged");
    return 0;
}
