#include "SincronieLente.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <dlfcn.h>
#include <mutex>
#include <unistd.h>

namespace {

std::atomic<int> ritardoMs{0};
std::atomic<std::uint64_t> totali{0};
std::atomic<std::uint64_t> principale{0};
std::mutex guardia;
std::vector<std::string> percorsi;

void Annota(int fd)
{
    char collegamento[64];
    char percorso[4096];
    std::snprintf(collegamento, sizeof collegamento, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(collegamento, percorso, sizeof percorso - 1);
    const std::lock_guard<std::mutex> chiusa(guardia);
    percorsi.emplace_back(percorso, n > 0 ? size_t(n) : 0);
}

using Sincronia = int (*)(int);

int Passa(const char *nome, int fd)
{
    ++totali;
    if (::gettid() == ::getpid())
        ++principale;
    Annota(fd);
    if (const int ms = ritardoMs.load(); ms > 0) {
        timespec attesa{ms / 1000, long(ms % 1000) * 1'000'000L};
        while (::nanosleep(&attesa, &attesa) != 0 && errno == EINTR) {
        }
    }
    // The next definition in the lookup order: the C library's, or a sanitizer's in front of it.
    const auto reale = reinterpret_cast<Sincronia>(::dlsym(RTLD_NEXT, nome));
    if (!reale) {
        errno = ENOSYS;
        return -1;
    }
    return reale(fd);
}

}  // namespace

extern "C" int fsync(int fd) { return Passa("fsync", fd); }
extern "C" int fdatasync(int fd) { return Passa("fdatasync", fd); }

namespace sincronie {

void Imposta_Ritardo(int millisecondi) { ritardoMs.store(millisecondi < 0 ? 0 : millisecondi); }
std::uint64_t Totali() { return totali.load(); }
std::uint64_t Sul_Thread_Principale() { return principale.load(); }

std::vector<std::string> Percorsi()
{
    const std::lock_guard<std::mutex> chiusa(guardia);
    return percorsi;
}

}  // namespace sincronie
