#pragma once

// A series' points mapped onto the device, reduced to what each device column
// shows when there are far more points than columns.

#include "chart/DisposizioneGrafico.h"

#include <QPointF>
#include <vector>

namespace render_grafico {

// Maps `punti` with `t` into `v` (emptied first). With `perColonna` (points in
// order of X) only the lowest and highest point of each device column at scale
// `scala` stay, in their order: the same picture to the eye with a fraction of
// the segments.
void MappaPunti(const std::vector<QPointF> &punti, const Trasformazione &t, double scala, bool perColonna,
                std::vector<QPointF> &v);

}  // namespace render_grafico
