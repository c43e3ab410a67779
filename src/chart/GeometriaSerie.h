#pragma once

// The arithmetic of laying a series' line onto device pixels, apart from any
// painting: pixel columns, clipping, how wide a line is on the device and
// whether a series is dense enough to be reduced column by column.

#include <QPointF>
#include <QRectF>
#include <cstddef>
#include <vector>

namespace render_grafico {

// floor() as an int for pixel coordinates, clamped so the conversion is defined.
int ColonnaDi(double x);

// Liang-Barsky: the part of segment a-b inside r, false when none.
bool Ritaglia(QPointF &a, QPointF &b, const QRectF &r);

// Device pixels across a line `spessore` window pixels wide at device scale `scala`.
int LarghezzaDispositivo(int spessore, double scala);

// A thick line spreads evenly round the thin one: `prima` pixels before it, `dopo` after.
struct Fascia {
    int prima = 0;
    int dopo = 0;
};
Fascia FasciaDi(int larghezza);

// Every point close enough to the device's origin for the raster engine (Limite_Sicuro).
bool Sicura(const std::vector<QPointF> &punti);

// Clearly more points than the plot has device columns.
bool Densa(std::size_t punti, double larghezzaPiano, double scala);

// X never decreases from one point to the next.
bool Monotona(const std::vector<QPointF> &punti);

}  // namespace render_grafico
