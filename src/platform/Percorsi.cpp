#include "platform/Percorsi.h"

#include "platform/Costanti.h"

#include <QDir>
#include <QStandardPaths>

namespace percorsi {

QString CartellaProgramma()
{
    QString base = qEnvironmentVariable("WAVELORE_HOME");
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.wavelore");
    QDir().mkpath(base);
    return QDir(base).absolutePath();
}

QString Percorso(const QString &sottocartella)
{
    // A root folder already ends in its separator: exactly one stands before the sub-folder.
    return QDir(CartellaProgramma()).filePath(sottocartella);
}

QString Cartella(const QString &sottocartella)
{
    const QString percorso = Percorso(sottocartella);
    QDir().mkpath(percorso);
    return percorso;
}

namespace {
QString server() { return qEnvironmentVariable("WAVELORE_SERVER").trimmed(); }
}

QString IndirizzoServer()
{
    const QString s = server();
    if (s.isEmpty())
        return QStringLiteral("127.0.0.1");
    const int duePunti = s.lastIndexOf(QLatin1Char(':'));
    if (duePunti > 0 && s.count(QLatin1Char(':')) == 1)
        return s.left(duePunti);
    return s;
}

quint16 PortaServer()
{
    const QString s = server();
    const int duePunti = s.lastIndexOf(QLatin1Char(':'));
    if (duePunti > 0 && s.count(QLatin1Char(':')) == 1) {
        bool ok = false;
        const uint p = s.mid(duePunti + 1).toUInt(&ok);
        if (ok && p > 0 && p < 65536)
            return quint16(p);
    }
    return quint16(costanti::Porta_Server);
}

}  // namespace percorsi
