#pragma once

#include "market/StoricoLocale.h"

#include <QSemaphore>
#include <atomic>
#include <cerrno>

// A disk for the history writer (ScrittoreStorico::Imposta_Disco) whose syncs wait for
// the test's word (`via`), at most `attesaMs` each, so a test can catch the writer
// inside one or make it slow. It fails as a full disk does (errno `codice`, ENOSPC
// unless set): every sync while `guasto`, else the next `guasti` ones.
struct DiscoProva : storico::DiscoReale {
    explicit DiscoProva(int attesaMs_ = 10000) : attesaMs(attesaMs_) {}

    const int attesaMs;
    QSemaphore via;
    std::atomic<int> sincronie = 0;
    std::atomic<bool> guasto = false;
    std::atomic<int> guasti = 0;
    std::atomic<int> codice = ENOSPC;
    std::atomic<int> fallite = 0;
    // Set by the test when its call on the window thread ran; read when the first sync ends.
    std::atomic<bool> chiamataFinestra = false;
    std::atomic<bool> chiamataPrimaDellaFine = false;

    bool Sincronizza(QFileDevice &file, QString &errore) override
    {
        int restanti = guasti.load();
        while (restanti > 0 && !guasti.compare_exchange_weak(restanti, restanti - 1)) {
        }
        if (guasto || restanti > 0) {
            ++fallite;
            errno = codice;
            return false;
        }
        const bool prima = sincronie.fetch_add(1) == 0;
        via.tryAcquire(1, attesaMs);
        if (prima)
            chiamataPrimaDellaFine = chiamataFinestra.load();
        return storico::DiscoReale::Sincronizza(file, errore);
    }
};
