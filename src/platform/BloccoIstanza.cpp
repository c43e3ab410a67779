#include "platform/BloccoIstanza.h"

#include "platform/ErroriFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Tests widen the span between opening the folder or the file and locking it, where two
// starts race.
void Ritardo_Di_Prova()
{
    const int ms = qEnvironmentVariableIntValue("WAVELORE_PROVA_RITARDO_BLOCCO");
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

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
    const QByteArray nome = QFile::encodeName(percorso);
    const QByteArray cartella = QFile::encodeName(QFileInfo(percorso).absolutePath());
    // Not inherited by the programs this one starts: they would hold the locks after it ends.
    if (const int fd = ::open(cartella.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
        Ritardo_Di_Prova();
        if (const int errore = Blocca(fd); errore == 0) {
            m_cartella = fd;
        } else {
            ::close(fd);
            if (errore == EWOULDBLOCK)
                return Esito::In_Uso;
        }
    }
    // Every copy locks the same file, whoever made it: it is never created exclusively
    // nor removed, so no copy can take away a file another one is about to lock.
    bool cambiato = false;
    for (int tentativo = 0; tentativo < 10; ++tentativo) {
        m_errore.clear();
        cambiato = false;
        int fd = ::open(nome.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        const bool scrivibile = fd >= 0;
        if (!scrivibile) {
            const int errore = errno;
            // A lock needs no write access: a file that can only be read is locked all the same.
            fd = ::open(nome.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
            if (fd < 0 && Collegamento(nome)) {
                Lascia();
                return Esito::Collegamento;
            }
            m_errore = Causa(errore, nome);
        }
        if (fd < 0)
            break;  // the folder's lock guards alone
        Ritardo_Di_Prova();
        if (const int errore = Blocca(fd); errore != 0) {
            ::close(fd);
            if (errore == EWOULDBLOCK) {
                Lascia();
                return Esito::In_Uso;
            }
            break;
        }
        // Someone removed or replaced the file meanwhile: a lock on it guards nothing.
        if (Stesso_File(fd, nome)) {
            m_fd = fd;
            if (scrivibile)
                Scrivi_Proprietario();
            break;
        }
        ::close(fd);
        cambiato = true;
    }
    if (m_fd < 0 && m_cartella < 0) {
        if (m_errore.isEmpty())
            m_errore = cambiato ? QStringLiteral("il file cambia di continuo")
                                : QStringLiteral("il disco non permette di bloccare i file");
        return Esito::Impossibile;
    }
    return Esito::Preso;
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
