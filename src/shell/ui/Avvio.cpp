#include "shell/ui/Avvio.h"

#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/SessioneFinestra.h"

#include <QApplication>
#include <QSessionManager>

namespace wavelore {

int Avvia(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("wavelore"));
    QApplication::setApplicationDisplayName(QStringLiteral("Wavelore"));
    // The main window never closes by itself; the program ends through Chiudi_Programma.
    QApplication::setQuitOnLastWindowClosed(false);

    FormS1 finestra;
    FinestraOperativa *operativa = Prepara_Finestra_Operativa(finestra);
    Prepara_Sessione_Online(finestra, *operativa);
    if (!finestra.Form_Load())
        return 0;  // another copy runs: nothing else is done
    // At the end of the desktop session nobody is there to confirm: exit in order.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &finestra, [&finestra] { finestra.Chiudi_Programma(); });
    finestra.show();
    return app.exec();
}

}  // namespace wavelore
