#pragma once

// The queue of server texts waiting for the message window: the quote session
// fills it, the message window drains it.

#include <QString>
#include <QStringList>
#include <optional>

namespace messaggi {

inline constexpr int Max_Coda = 30;

// The queue is 30 numbered slots: entry i is slot i + 1, an empty entry a free slot.
// A server text for later takes the first free slot; false (dropped) when all 30 are taken.
inline bool Accoda(QStringList &coda, const QString &testo)
{
    for (QString &posto : coda)
        if (posto.isEmpty()) {
            posto = testo;
            return true;
        }
    if (coda.size() >= Max_Coda)
        return false;
    if (!testo.isEmpty())
        coda.append(testo);
    return true;
}

// The text in the lowest taken slot, which becomes free.
inline std::optional<QString> Estrai(QStringList &coda)
{
    std::optional<QString> testo;
    for (QString &posto : coda)
        if (!posto.isEmpty()) {
            testo = posto;
            posto.clear();
            break;
        }
    while (!coda.isEmpty() && coda.last().isEmpty())
        coda.removeLast();
    return testo;
}

}  // namespace messaggi
