#include "shell/ui/Avvio.h"

#include <QApplication>

namespace wavelore {

int Avvia(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("wavelore"));
    return 0;
}

}  // namespace wavelore
