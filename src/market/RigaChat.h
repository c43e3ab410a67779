#pragma once

#include <QString>

namespace protocollo {

// The longest chat line shown. The decoder lets a message reach 1 MiB; a few hundred
// such lines would hold gigabytes in the chat box and stall its layout.
inline constexpr qsizetype Caratteri_Riga_Chat = 4096;

// A chat text as shown: each of its lines keeps at most Caratteri_Riga_Chat characters,
// a longer one its start and a closing "…".
inline QString Riga_Chat(const QString &testo)
{
    QString r;
    bool tagliato = false;
    qsizetype inizio = 0;
    while (inizio <= testo.size()) {
        qsizetype fine = testo.indexOf(QLatin1Char('\n'), inizio);
        if (fine < 0)
            fine = testo.size();
        if (fine - inizio > Caratteri_Riga_Chat) {
            if (!tagliato)
                r = testo.left(inizio);
            tagliato = true;
            r += QStringView(testo).mid(inizio, Caratteri_Riga_Chat - 1);
            r += QChar(0x2026);
        } else if (tagliato) {
            r += QStringView(testo).mid(inizio, fine - inizio);
        }
        if (fine < testo.size() && tagliato)
            r += QLatin1Char('\n');
        inizio = fine + 1;
    }
    return tagliato ? r : testo;
}

}  // namespace protocollo
