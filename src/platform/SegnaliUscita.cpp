#include "platform/SegnaliUscita.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int Segnali[] = {SIGTERM, SIGHUP};

// The end the handler writes to; -1 while no object takes the signals. A lock-free
// atomic is all a handler may read.
std::atomic<int> estremoGestore{-1};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void Gestore(int segnale)
{
    const int salvato = errno;
    const int fd = estremoGestore.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const unsigned char numero = static_cast<unsigned char>(segnale);
        // A full pipe already holds a request: dropping this one loses nothing.
        [[maybe_unused]] const ssize_t n = ::write(fd, &numero, 1);
    }
    errno = salvato;
}

}  // namespace

SegnaliUscita::SegnaliUscita(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m_coppia) != 0) {
        m_coppia[0] = m_coppia[1] = -1;
        return;
    }
    int libero = -1;
    if (!estremoGestore.compare_exchange_strong(libero, m_coppia[1])) {
        ::close(m_coppia[0]);
        ::close(m_coppia[1]);
        m_coppia[0] = m_coppia[1] = -1;
        return;
    }
    m_notifica = new QSocketNotifier(qintptr(m_coppia[0]), QSocketNotifier::Read, this);
    connect(m_notifica, &QSocketNotifier::activated, this, &SegnaliUscita::Leggi);
    struct sigaction azione {};
    azione.sa_handler = Gestore;
    sigemptyset(&azione.sa_mask);
    azione.sa_flags = SA_RESTART;
    for (const int s : Segnali)
        ::sigaction(s, &azione, nullptr);
}

SegnaliUscita::~SegnaliUscita()
{
    if (!m_notifica)
        return;
    for (const int s : Segnali)
        ::signal(s, SIG_DFL);
    estremoGestore.store(-1);
    delete m_notifica;
    ::close(m_coppia[0]);
    ::close(m_coppia[1]);
}

void SegnaliUscita::Leggi()
{
    unsigned char numeri[16];
    ssize_t n;
    while ((n = ::read(m_coppia[0], numeri, sizeof numeri)) > 0)
        for (ssize_t i = 0; i < n; ++i)
            emit Richiesta_Uscita(int(numeri[i]));
}
