#pragma once

#include "platform/Costanti.h"

#include <QString>
#include <QTime>
#include <array>

// One underlying market's built-in properties (a row of Tab_Sottostanti).
struct RigaSottostante {
    QString Nome;              // position 1
    int Barre_15M_Giorno = 0;  // position 2
    int Fattore_Durata = 0;    // position 3
    QTime Inizio_Sessione;     // position 5
    QTime Fine_Sessione;       // position 6
    QString Durata_Sessione;   // position 13
    QString Formato_Prezzo;    // position 14
    int Barre_1H_Giorno = 0;   // position 15
};

struct StatoArchivio {
    int Sottostante_Corrente = 1;  // 1..7
    int Aspetto = 0;               // 0 dark, 1 light
    int Grafico_RT = 0;            // 1 when intraday charts follow real-time prices
    int Ricordami = 0;             // remember-me switch as stored
    QString UserId_Ricordato;      // "@" stored means nothing remembered

    // Rows 1..7; index 0 unused so that underlying numbers index directly.
    std::array<RigaSottostante, costanti::Num_Sottostanti + 1> Tab_Sottostanti{};

    // Copies of the stored rows made at every loading, values as read and checked.
    // Tab_Cicli[underlying 1..7][position 1..23][degree position 1..13]
    std::array<std::array<std::array<QString, 14>, 24>, costanti::Num_Sottostanti + 1> Tab_Cicli{};
    // Tab_Indicatori[underlying 1..7][column 0..22][degree position 1..13]
    std::array<std::array<std::array<QString, 14>, 23>, costanti::Num_Sottostanti + 1> Tab_Indicatori{};
};
