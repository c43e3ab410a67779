#pragma once

#include "platform/StatoProgramma.h"

#include <QString>
#include <array>

// The shell's state: the program-wide values, loading progress, the message
// window last shown and the four-chart geometry.
struct StatoShell : StatoProgramma {
    int Passo_Avvio = 0;
    QString Tipo_Messaggio;          // "1".."6": type of the message window last shown

    // Four-chart layout, in twips: one panel's size and the corner of each grid position.
    int Altezza_Riquadro = 0;
    int Larghezza_Riquadro = 0;
    std::array<int, 4> Top_Riquadri{};
    std::array<int, 4> Left_Riquadri{};
};
