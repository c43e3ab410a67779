#include "platform/BloccoIstanza.h"

#include "platform/ErroriFile.h"
#include "platform/PuntiProva.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int Blocca(int fd)
{
    int esito;
    do
        esito = ::flock(fd, LOCK_EX | LOCK_NB);
    while (esito != 0 && errno == EINTR);
    return esito == 0 ? 0 : errno;
}

bool Stesso_File(int fd, const QByteArray &nome)
{
    struct stat tenuto {};
    struct stat attuale {};
    return ::fstat(fd, &tenuto) == 0 && ::lstat(nome.constData(), &attuale) == 0 && tenuto.st_dev == attuale.st_dev &&
           tenuto.st_ino == attuale.st_ino;
}

bool Collegamento(const QByteArray &nome)
{
    struct stat st {};
    return ::lstat(nome.constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Why the lock file cannot be opened for writing, as the trader would say it: what
// only a lock file meets here, the rest as for any file not written.
QString Causa(int errore, const QByteArray &nome)
{
    struct stat st {};
    const bool esiste = ::lstat(nome.constData(), &st) == 0;
    if (errore == EISDIR)
        return QStringLiteral("è una cartella");
    if ((errore == EACCES || errore == EPERM) && esiste) {
        if (st.st_uid != ::geteuid())
            return QStringLiteral("appartiene a un altro utente");
        if ((st.st_mode & S_IWUSR) == 0)
            return QStringLiteral("è di sola lettura");
    }
    return errori_file::Causa_Scrittura(errore, QFile::decodeName(nome));
}

}  // namespace

BloccoIstanza::~BloccoIstanza()
{
    Lascia();
}

void BloccoIstanza::Lascia()
{
    for (int *fd : {&m_fd, &m_cartella}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

BloccoIstanza::Esito BloccoIstanza::Prendi(const QString &percorso)
{
    if (m_fd >= 0 || m_cartella >= 0)
        return Esito::Preso;
    m_errore.clear();
    if (!Blocca_Cartella(QFile::encodeName(QFileInfo(percorso).absolutePath())))
        return Esito::In_Uso;
    // Every copy locks the same file, whoever made it: it is never created exclusively
    // nor removed, so no copy can take away a file another one is about to lock.
    const QByteArray nome = QFile::encodeName(percorso);
    Tentativo esito = Tentativo::Cambiato;
    for (int tentativo = 0; tentativo < 10 && esito == Tentativo::Cambiato; ++tentativo)
        esito = Blocca_File(nome);
    if (esito == Tentativo::In_Uso || esito == Tentativo::Collegamento) {
        Lascia();
        return esito == Tentativo::In_Uso ? Esito::In_Uso : Esito::Collegamento;
    }
    if (m_fd < 0 && m_cartella < 0) {
        if (m_errore.isEmpty())
            m_errore = esito == Tentativo::Cambiato ? QStringLiteral("il file cambia di continuo")
                                                    : QStringLiteral("il disco non permette di bloccare i file");
        return Esito::Impossibile;
    }
    return Esito::Preso;
}

bool BloccoIstanza::Blocca_Cartella(const QByteArray &cartella)
{
    // Not inherited by the programs this one starts: they would hold the locks after it ends.
    const int fd = ::open(cartella.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    punti_prova::Prima_Del_Blocco();
    const int errore = Blocca(fd);
    if (errore == 0) {
        m_cartella = fd;
        return true;
    }
    ::close(fd);
    return errore != EWOULDBLOCK;
}

BloccoIstanza::Tentativo BloccoIstanza::Blocca_File(const QByteArray &nome)
{
    m_errore.clear();
    int fd = ::open(nome.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    const bool scrivibile = fd >= 0;
    if (!scrivibile) {
        const int errore = errno;
        // A lock needs no write access: a file that can only be read is locked all the same.
        fd = ::open(nome.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0 && Collegamento(nome))
            return Tentativo::Collegamento;
        m_errore = Causa(errore, nome);
    }
    if (fd < 0)
        return Tentativo::Fallito;  // the folder's lock guards alone
    punti_prova::Prima_Del_Blocco();
    if (const int errore = Blocca(fd); errore != 0) {
        ::close(fd);
        return errore == EWOULDBLOCK ? Tentativo::In_Uso : Tentativo::Fallito;
    }
    // Someone removed or replaced the file meanwhile: a lock on it guards nothing.
    if (!Stesso_File(fd, nome)) {
        ::close(fd);
        return Tentativo::Cambiato;
    }
    m_fd = fd;
    if (scrivibile)
        Scrivi_Proprietario();
    return Tentativo::Preso;
}

void BloccoIstanza::Scrivi_Proprietario()
{
    // For whoever looks at the file; the lock alone decides.
    const QByteArray proprietario = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                                    QCoreApplication::applicationName().toUtf8() + '\n' +
                                    QSysInfo::machineHostName().toUtf8() + '\n';
    if (::ftruncate(m_fd, 0) != 0)
        return;
    [[maybe_unused]] const ssize_t scritti =
        ::pwrite(m_fd, proprietario.constData(), size_t(proprietario.size()), 0);
}
