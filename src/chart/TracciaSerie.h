#pragma once

// How a series' line reaches the device, chosen first and then painted: the
// pixels written straight into the image where that is much faster, the
// painter otherwise.

#include <QPen>
#include <QPointF>
#include <QRectF>
#include <cstddef>
#include <vector>

class QPainter;

namespace render_grafico {

enum class Percorso {
    Punto,               // one point
    VerticaleDiretta,    // two points one above the other, written into the image
    ColonneDirette,      // a dense solid line, written into the image column by column
    FiliAffiancati,      // a long thick line as thin lines side by side
    Polilinea,           // the painter's polyline
    SegmentiRitagliati,  // points too far out for the raster engine: segments clipped by hand
};

// What the choice depends on, for a line of `punti` mapped points (at least one).
struct CasoSerie {
    std::size_t punti = 0;
    bool sicura = false;     // every point within Limite_Sicuro
    bool verticale = false;  // two points with the same X
    bool densa = false;
    bool monotona = false;   // dense and X never decreasing
    int stile = 1;           // 1 solid, 2 dashed
    int spessore = 1;
    bool diretta = false;    // the device takes direct writes (ImmagineDiretta)
};

Percorso ScegliPercorso(const CasoSerie &caso);

// Paints the mapped points `v` along `percorso` with the series' pen, inside
// `piano`; `spessore` is the series' width in window pixels. A direct path on a
// device that takes no direct writes is painted as a polyline.
void Traccia(QPainter &p, Percorso percorso, const std::vector<QPointF> &v, QPen penna, int spessore,
             const QRectF &piano);

}  // namespace render_grafico
