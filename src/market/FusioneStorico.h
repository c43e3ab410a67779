#pragma once

// Merging server bars into the four history series: the server's last two bars
// at an online start, and each real-time bar update. Both work on values (date
// and minutes), so intraday bars are told apart by date and time together.

#include "market/SerieStorico.h"
#include "market/StatoMercato.h"
#include "platform/DataOra.h"

#include <QDateTime>
#include <QTime>
#include <array>

namespace fusione {

// Timeframe k = 1..4 is 5M, 15M, 1H, 1D.
SerieStorico &Serie(StatoMercato &m, int k);
// Timeframe of degree d: 0-3 daily (4), 4-5 hourly (3), 6-9 15-minute (2), 10-12 5-minute (1).
int TimeframeGrado(int d);

enum class Azione { Nessuna, Aggiorna, Sposta1, Sposta2, Inserisci1 };

// What the start merge did to each timeframe (index 1..4).
struct EsitoUltimeBarre {
    std::array<Azione, 5> Azioni{};
    bool Eseguita = false;
};

// Aggiorna_Ultime_Barre_Storico: runs once per setting of Aggiorna_Storico and
// clears it. A timeframe whose server bars do not read as dates/times, or could
// not be written to the history file (storico::Barra_Registrabile), is left alone.
EsitoUltimeBarre Aggiorna_Ultime_Barre_Storico(StatoMercato &m, int annoOggi = dataora::AnnoCorrente());

// The server's numbers use "." for thousands and "," for decimals. nullopt if not a number.
std::optional<double> NumeroServer(const QString &testo);

// What one real-time bar update did (index 1..4).
struct EsitoFusioneRT {
    std::array<bool, 5> Nuova{};       // a bar was added at the front
    std::array<bool, 5> Aggiornata{};  // row 1 rewritten or added
    bool Eseguita = false;             // false: no valid quote time, nothing done
};

// The series part of Aggiorna_Storico_Da_RT: for each timeframe due at the quote's
// 5-minute slot, rewrites the newest bar when it is the same bar (date and time)
// or pushes the series down and puts the new bar in front. An update older than
// the newest stored bar, or one the history file could not hold, changes nothing.
// A bar is never dated after its quote: one later in the day than its quote is the
// day before's (the 23:45 bar merged at 00:02); the daily bar takes the quote's date.
EsitoFusioneRT Fondi_Barre_RT(StatoMercato &m, const QDateTime &quotazione, const QTime &fineSessione,
                              int annoOggi = dataora::AnnoCorrente());

}  // namespace fusione
