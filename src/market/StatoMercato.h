#pragma once

#include "market/SerieStorico.h"

#include <QString>
#include <array>

struct StatoMercato {
    QString Indirizzo_Server = QStringLiteral("127.0.0.1");
    quint16 Porta_Server = 2010;
    QString UserId;
    QString Password;

    bool Scarica_Storico = false;
    bool Aggiorna_Storico = false;

    // Bar 1 is the newest in every series.
    SerieStorico Storico_5M{1500};
    SerieStorico Storico_15M{5000};
    SerieStorico Storico_1H{5000};
    SerieStorico Storico_1D{3000};

    // Key of the local history files; entries 1..56 used.
    std::array<int, 57> Tabella_Chiave{};

    // Underlyings with a complete, valid set of local history files (index 1..7).
    std::array<bool, 8> Storico_Offline_Disponibile{};
};
