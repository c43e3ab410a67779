#include "platform/BloccoIstanza.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>
#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Tests widen the span between opening the file and locking it, where two starts race.
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
    return ::fstat(fd, &tenuto) == 0 && ::stat(nome.constData(), &attuale) == 0 && tenuto.st_dev == attuale.st_dev &&
           tenuto.st_ino == attuale.st_ino;
}

}  // namespace

BloccoIstanza::~BloccoIstanza()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

BloccoIstanza::Esito BloccoIstanza::Prendi(const QString &percorso)
{
    if (m_fd >= 0)
        return Esito::Preso;
    const QByteArray nome = QFile::encodeName(percorso);
    // Every copy locks the same file, whoever made it: it is never created exclusively
    // nor removed, so no copy can take away a file another one is about to lock.
    for (int tentativo = 0; tentativo < 10; ++tentativo) {
        // Not inherited by the programs this one starts: they would hold the lock after it ends.
        const int fd = ::open(nome.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            m_errore = qt_error_string(errno);
            return Esito::Impossibile;
        }
        Ritardo_Di_Prova();
        if (const int errore = Blocca(fd); errore != 0) {
            ::close(fd);
            if (errore == EWOULDBLOCK)
                return Esito::In_Uso;
            m_errore = qt_error_string(errore);
            return Esito::Impossibile;
        }
        // Someone removed or replaced the file meanwhile: a lock on it guards nothing.
        if (Stesso_File(fd, nome)) {
            m_fd = fd;
            Scrivi_Proprietario();
            return Esito::Preso;
        }
        ::close(fd);
    }
    m_errore = QStringLiteral("il file cambia di continuo");
    return Esito::Impossibile;
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
