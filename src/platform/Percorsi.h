#pragma once

#include <QString>

// Where the program keeps its files: $WAVELORE_HOME when set, otherwise the
// per-user data folder. The sub-folders are created when missing.
namespace percorsi {

QString CartellaProgramma();
QString Cartella(const QString &sottocartella);  // e.g. "Sistema", created when missing
QString Percorso(const QString &sottocartella);  // the same, left as it is
QString IndirizzoServer();                        // host part of $WAVELORE_SERVER, default 127.0.0.1
quint16 PortaServer();                            // port part of $WAVELORE_SERVER, default 2010

}  // namespace percorsi
