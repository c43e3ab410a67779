#pragma once

// Lines written straight into the pixels of a 32-bit image, for what the
// general rasteriser makes slow: dense price lines and hundreds of vertical
// lines per chart. Coordinates are the painter's; `t` maps them onto the image.

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <vector>

class QPainter;

namespace render_grafico {

// The painter's image when its pixels may be written directly: a 32-bit image
// of its own under a transform that only scales and moves; null otherwise.
QImage *ImmagineDiretta(QPainter &p);

// A solid line through `v` (X never decreasing), one vertical run of pixels per
// device column: the pixels a one-pixel polyline through the points would set,
// widened to `spessore`, inside `piano`.
void ColonneDirette(QImage &img, const QTransform &t, const std::vector<QPointF> &v, QRgb colore, int spessore,
                    const QRectF &piano);

// A vertical line from a to b inside `piano`, dashed 4 on 2 off like the painter's dash.
void VerticaleDiretta(QImage &img, const QTransform &t, QPointF a, QPointF b, QRgb colore, int spessore,
                      bool tratteggio, const QRectF &piano);

}  // namespace render_grafico
