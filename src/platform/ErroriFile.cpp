#include "platform/ErroriFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/statvfs.h>
#include <unistd.h>

namespace errori_file {

namespace {

QString nomeCartella(const QString &percorso)
{
    return QDir::toNativeSeparators(QFileInfo(percorso).absolutePath());
}

// Whether the calling user may write in the folder, the error code when not.
int scrivibile(const QString &percorso)
{
    return ::access(QFile::encodeName(QFileInfo(percorso).absolutePath()).constData(), W_OK) == 0 ? 0 : errno;
}

QString disco_pieno() { return QStringLiteral("il disco \u00E8 pieno"); }
QString disco_sola_lettura() { return QStringLiteral("il disco \u00E8 di sola lettura"); }

QString accesso(const QString &percorso)
{
    if (percorso.isEmpty())
        return QStringLiteral("accesso negato");
    const int cartella = scrivibile(percorso);
    if (cartella == EROFS)
        return disco_sola_lettura();
    if (cartella == EACCES || cartella == EPERM)
        return QStringLiteral("la cartella %1 \u00E8 di sola lettura").arg(nomeCartella(percorso));
    const QFileInfo file(percorso);
    if (file.exists() && !file.isWritable())
        return QStringLiteral("il file %1 \u00E8 di sola lettura").arg(file.fileName());
    return QStringLiteral("accesso negato");
}

// A code that says nothing plain: what the disk and the folder show now.
QString diagnosi(const QString &percorso, const QString &testoSistema)
{
    if (percorso.isEmpty())
        return testoSistema.isEmpty() ? QStringLiteral("errore del sistema") : testoSistema;
    const QString cartella = QFileInfo(percorso).absolutePath();
    if (!QFileInfo(cartella).isDir())
        return QStringLiteral("la cartella %1 non esiste").arg(nomeCartella(percorso));
    struct statvfs disco {};
    if (::statvfs(QFile::encodeName(cartella).constData(), &disco) == 0) {
        if (disco.f_flag & ST_RDONLY)
            return disco_sola_lettura();
        if (disco.f_bavail == 0)
            return disco_pieno();
    }
    if (scrivibile(percorso) != 0)
        return accesso(percorso);
    return testoSistema.isEmpty() ? QStringLiteral("errore del sistema") : testoSistema;
}

}  // namespace

QString Causa_In_Uso() { return QStringLiteral("il file \u00E8 in uso da un altro programma"); }

QString Causa_Danneggiato() { return QStringLiteral("il file \u00E8 danneggiato"); }

QString Causa_Mancante(const QString &percorso)
{
    if (!QFileInfo(QFileInfo(percorso).absolutePath()).isDir())
        return QStringLiteral("il file non esiste: manca la cartella %1").arg(nomeCartella(percorso));
    return QStringLiteral("il file non esiste");
}

QString Causa_Sconosciuta() { return QStringLiteral("l'operazione sul file non \u00E8 riuscita"); }

QString Causa_Scrittura(int codice, const QString &percorso, const QString &testoSistema)
{
    switch (codice) {
    case ENOSPC:
    case EDQUOT:
        return disco_pieno();
    case EROFS:
        return disco_sola_lettura();
    case EACCES:
    case EPERM:
        return accesso(percorso);
    case EIO:
        return QStringLiteral("errore di scrittura sul disco");
    case EBUSY:
    case ETXTBSY:
        return Causa_In_Uso();
    case EMFILE:
    case ENFILE:
        return QStringLiteral("troppi file aperti");
    case EFBIG:
        return QStringLiteral("il file supera la dimensione consentita");
    case ENAMETOOLONG:
        return QStringLiteral("il nome del file \u00E8 troppo lungo");
    default:
        return diagnosi(percorso, testoSistema);
    }
}

}  // namespace errori_file
