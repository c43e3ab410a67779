#pragma once

// What the message window shows and does, apart from the window itself.

#include "platform/CodaMessaggi.h"

#include <QString>
#include <cstdint>

namespace messaggi {

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
