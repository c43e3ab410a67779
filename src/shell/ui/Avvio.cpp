#include "shell/ui/Avvio.h"

#include "platform/Caratteri.h"
#include "platform/Schermo.h"
#include "platform/SegnaliUscita.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/SessioneFinestra.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QSessionManager>
#include <QTranslator>

#include <atomic>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace wavelore {

namespace {
std::atomic<int> mascheraUtente{-1};
bool carattereMancante = false;

const char *const Testo_Carattere_Mancante =
    "Il carattere di Wavelore non è stato caricato: prezzi, date e altri testi della finestra "
    "potrebbero apparire tagliati.";
}  // namespace

void Rendi_File_Privati()
{
#ifdef Q_OS_UNIX
    // Settings, history, pictures and the lock are the user's own: every folder and file
    // the program makes (SQLite's journals and the save files' temporaries too) is
    // readable by the user alone.
    const int prima = int(::umask(0077));
    int nessuna = -1;
    mascheraUtente.compare_exchange_strong(nessuna, prima);
#endif
}

int Maschera_Utente() { return mascheraUtente.load(); }

bool Prepara_Applicazione(QApplication &app)
{
    Rendi_File_Privati();
    QApplication::setApplicationName(QStringLiteral("wavelore"));
    // The main window never closes by itself; the program ends through Chiudi_Programma.
    QApplication::setQuitOnLastWindowClosed(false);
    // Before any window: the face every width was made for, whatever the machine has.
    // Without it texts may be cut with no other sign: the start says so.
    carattereMancante = !schermo::Registra_Caratteri();
    if (carattereMancante)
        std::fprintf(stderr, "wavelore: %s\n", Testo_Carattere_Mancante);
    QApplication::setFont(schermo::FontControlli());
    auto *traduzioni = new QTranslator(&app);
    if (!traduzioni->load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traduzioni;
        return false;
    }
    QApplication::installTranslator(traduzioni);
    return true;
}

void Collega_Segnali_Uscita(FormS1 &finestra)
{
    auto *segnali = new SegnaliUscita(&finestra);
    QObject::connect(
        segnali, &SegnaliUscita::Richiesta_Uscita, &finestra, [&finestra] { finestra.Chiudi_Programma_Da_Segnale(); },
        Qt::QueuedConnection);
}

int Avvia(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Without the Italian texts the standard buttons stay in English; nothing else changes.
    Prepara_Applicazione(app);

    FormS1 finestra;
    FinestraOperativa *operativa = finestra::Prepara_Finestra_Operativa(finestra);
    finestra::Prepara_Sessione_Online(finestra, *operativa);
    Collega_Segnali_Uscita(finestra);
    if (!finestra.Form_Load())
        return 0;  // another copy runs, or the trader left while an archive file was in use
    if (carattereMancante)
        finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore ®"),
                                QString::fromUtf8(Testo_Carattere_Mancante));
    // At the end of the desktop session nobody is there to confirm: exit in order.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &finestra, [&finestra] { finestra.Chiudi_Programma(); });
    finestra.show();
    return app.exec();
}

}  // namespace wavelore
