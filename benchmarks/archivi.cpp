// Start-up cost of the archive: creating the three files from nothing, and
// checking a complete archive as every start does.
#include "Bench.h"
#include "archive/CreaArchivi.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("WAVELORE_HOME", dir.path().toUtf8());
    const QString sistema = dir.path() + QStringLiteral("/Sistema");

    MisuraMediana(QStringLiteral("archivi_creazione"), [&] {
        QDir(sistema).removeRecursively();
        archivio::Crea_Archivi();
    }, 5, 1);
    MisuraMediana(QStringLiteral("archivi_verifica_avvio"), [] { archivio::Crea_Archivi(); });
    return 0;
}
