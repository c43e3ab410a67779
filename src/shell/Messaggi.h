#pragma once

// What the message window shows and does, apart from the window itself.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace messaggi {

inline constexpr int Max_Coda = 30;

// The queue is 30 numbered slots: entry i is slot i + 1, an empty entry a free slot.
// A server text for later takes the first free slot; false (dropped) when all 30 are taken.
// Header-only: the quote session queues through it too.
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

enum class Bottone { Ok, Si, No };

struct Preparazione {
    int tipo = 5;                 // the type actually shown (1..6)
    QString Tipo_Messaggio;       // "1".."6"
    std::uint32_t colore = 0;     // Windows colour value of window, text and picture
    bool domanda = false;         // Pic2 (question) instead of Pic1 (exclamation)
    bool ok = false, si = false, no = false;
    int leftOk = 4500, leftSi = 3100, leftNo = 4500;  // twips inside the strip
    QString testo;
};

// Types 1..6 as the callers pass them; any other type is shown as a server text,
// so the window never appears without a button.
Preparazione Prepara_Messaggio(int tipo, const QString &testo);

enum class Azione { Nessuna, Chiudi, Chiudi_Programma };
Azione Azione_Bottone(int tipo, Bottone bottone);

}  // namespace messaggi
