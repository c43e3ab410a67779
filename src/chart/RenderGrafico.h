#pragma once

// Paints a ModelloGrafico onto any paint device, where DisposizioneGrafico laid
// it out. All axes share one plot rectangle; an X axis without a usable fixed
// range takes X axis 1's, a Y axis whose range is reversed or not finite carries
// nothing, and a flat range of the first two Y axes is opened by one unit each
// side, so no mapping ever divides by zero or hands a non-finite coordinate to
// the painter.

#include "chart/DisposizioneGrafico.h"

class ModelloGrafico;
class QPainter;

namespace render_grafico {

void Disegna(const ModelloGrafico &modello, QPainter &p, const QRectF &area, Disposizione *disposizione = nullptr);
// Paints the whole chart where `d`, computed for this content, lays it out.
void Disegna(const ModelloGrafico &modello, QPainter &p, const Disposizione &d);
// Paints the series from `primaSerie` and the texts from `primoTesto` on, over
// what is already there, with a layout computed earlier.
void DisegnaAggiunte(const ModelloGrafico &modello, QPainter &p, const Disposizione &d, int primaSerie,
                     int primoTesto);

}  // namespace render_grafico
