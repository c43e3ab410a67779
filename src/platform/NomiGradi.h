#pragma once

// The 13 cycle degrees by name, one table for every text that names one: the
// archive's descriptions ("Kalvo +4", "Kalvo 0"), the chart captions ("  Kalvo +4
// Future 1h", "  Kalvo  Future 15m"), the degree check boxes ("Kalvo+4: ",
// "Kalvo+3   : ", "Kalvo: ") and the separator lines between those boxes.

#include "platform/Costanti.h"

#include <QString>
#include <array>

namespace nomi_gradi {

struct Grado {
    int kalvo;            // the degree's number on the Kalvo scale, 8 - its index
    const char *serie;    // what the chart caption tells of its history: "Index 1d", "Future 5m"...
    const char *spazio;   // blanks the check box's label has before its colon
    bool linea_dopo;      // the degree panel draws a separator line under its box
};

inline constexpr std::array<Grado, costanti::Num_Gradi> Tabella = {{
    {8, "Index 1d", "", false},
    {7, "Index 1d", "", false},
    {6, "Index 1d", "", false},
    {5, "Index 1d", "", true},
    {4, "Future 1h", "", false},
    {3, "Future 1h", "   ", false},
    {2, "Future 15m", "", false},
    {1, "Future 15m", "", true},
    {0, "Future 15m", "", true},
    {-1, "Future 15m", "", false},
    {-2, "Future 5m", "", false},
    {-3, "Future 5m", "", false},
    {-4, "Future 5m", "", false},
}};

// How many separator lines the degree panel draws.
inline constexpr int Numero_Linee = [] {
    int n = 0;
    for (const Grado &g : Tabella)
        n += g.linea_dopo ? 1 : 0;
    return n;
}();

// "Kalvo +8" .. "Kalvo +1", "Kalvo 0", "Kalvo -1" .. "Kalvo -4"; each of the three
// below is "" outside 0..12.
QString Nome(int grado);
// The chart caption after the underlying's name: "  Kalvo +2  Future 15m"; Kalvo 0 has no number.
QString Titolo(int grado);
// The check box's label before its duration: "Kalvo+8: ", "Kalvo+3   : ", "Kalvo: ".
QString Etichetta(int grado);
// Whether a separator line follows the degree's check box.
bool Linea_Dopo(int grado);

}  // namespace nomi_gradi
