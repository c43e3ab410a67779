#pragma once

// The coordinate readout: the bar under the mouse (date, time on intraday degrees
// and on the future axis) and the price at the mouse height, through the one
// bar-position mapping, with the colours of the fixed and the moving box.

#include "chart/GraficoControllo.h"

#include <QString>
#include <optional>

struct StatoProgramma;
struct StatoMercato;
struct StatoCicli;

namespace disegno {

struct Lettura {
    // The new text; nullopt where the bar has no defined text (the old one stays).
    std::optional<QString> testo;
    ColoreWin colore = 0;         // text of the fixed box Text_Coord_Graf
    ColoreWin colore_mobile = 0;  // text of the moving box Txt_Cord_Mob
};

// Prices in the underlying's pattern with the regional decimal separator.
QString TestoPrezzo(const StatoProgramma &programma, const StatoMercato &mercato, double prezzo);

// The readout of degree `grado` for the mouse at chart X `x` and price `prezzo`
// (nullopt on a chart whose first Y axis has no height). Left of the cycle start
// it names the cycle-start bar; right of the chart span the span's last bar.
Lettura Leggi_Coordinate(const StatoProgramma &programma, const StatoMercato &mercato, const StatoCicli &cicli,
                         int grado, double x, std::optional<double> prezzo);

// Width of the fixed box and of the moving box in twips, by regional convention.
double Larghezza_Text_Coord_Graf(const StatoProgramma &programma);
double Larghezza_Txt_Cord_Mob(const StatoProgramma &programma);

}  // namespace disegno
