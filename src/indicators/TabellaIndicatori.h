#pragma once

// The indicator items 0..19: the numbering shared by the switches, the archive,
// the panel and the drawing.

#include <QString>
#include <array>

struct StatoIndicatori;

namespace indicatori {

class ContestoIndicatori;

inline constexpr int Item_Profilo_Volumi = 19;
inline constexpr int Num_Item = 20;

using RoutineIndicatore = void (*)(ContestoIndicatori &, StatoIndicatori &);

struct VoceIndicatore {
    int item;
    const char *didascalia;        // caption of its check box
    RoutineIndicatore routine;     // nullptr for the profile, which has its own inputs
    double vuoto;                  // no-value mark of its rows
    int colore;                    // colour-table entry its lines (the profile: its levels) are drawn in
};

// The colour-table entry item `item` is drawn in; its swatch shows the same.
int Colore_Item(int item);

// Indexed by item number.
const std::array<VoceIndicatore, Num_Item> &TabellaIndicatori();

// The order a dispatch runs the switched-on items in: the cyclic velocities 17
// and 18 right after item 7, the profile last.
inline constexpr std::array<int, Num_Item> Ordine_Dispatch{0, 1, 2, 3, 4, 5, 6, 7, 17, 18,
                                                           8, 9, 10, 11, 12, 13, 14, 15, 16, 19};

QString Didascalia(int item);

}  // namespace indicatori
