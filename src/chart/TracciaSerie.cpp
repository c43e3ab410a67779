#include "chart/TracciaSerie.h"

#include "chart/GeometriaSerie.h"
#include "chart/ScritturaDiretta.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace render_grafico {

Percorso ScegliPercorso(const CasoSerie &c)
{
    if (c.punti == 1)
        return Percorso::Punto;
    if (!c.sicura)
        return Percorso::SegmentiRitagliati;
    if (c.diretta && c.punti == 2 && c.verticale)
        return Percorso::VerticaleDiretta;
    if (c.diretta && c.densa && c.monotona && c.stile == 1)
        return Percorso::ColonneDirette;
    if (c.spessore > 1 && c.punti > 64)
        return Percorso::FiliAffiancati;
    return Percorso::Polilinea;
}

namespace {

// The raster engine's thin lines are many times faster than stroking a wide
// pen: one-pixel lines side by side, across and along.
void filiAffiancati(QPainter &p, const std::vector<QPointF> &v, QPen penna, int spessore)
{
    const double scala = std::max(1.0, std::fabs(p.deviceTransform().m11()));
    const int larghezza = LarghezzaDispositivo(spessore, scala);
    const int prima = FasciaDi(larghezza).prima;
    const double pixel = 1.0 / scala;
    penna.setWidth(0);
    p.setPen(penna);
    for (int k = 0; k < larghezza; ++k) {
        const double scarto = (k - prima) * pixel;
        p.translate(scarto, 0);
        p.drawPolyline(v.data(), int(v.size()));
        p.translate(-scarto, 0);
        if (k == prima)
            continue;
        p.translate(0, scarto);
        p.drawPolyline(v.data(), int(v.size()));
        p.translate(0, -scarto);
    }
}

void segmentiRitagliati(QPainter &p, const std::vector<QPointF> &v, const QRectF &piano)
{
    const QRectF r = piano.adjusted(-10, -10, 10, 10);
    for (std::size_t i = 1; i < v.size(); ++i) {
        QPointF a = v[i - 1], b = v[i];
        if (Ritaglia(a, b, r))
            p.drawLine(a, b);
    }
}

}  // namespace

void Traccia(QPainter &p, Percorso percorso, const std::vector<QPointF> &v, QPen penna, int spessore,
             const QRectF &piano)
{
    if (v.empty())
        return;
    QImage *img = nullptr;
    if (percorso == Percorso::VerticaleDiretta || percorso == Percorso::ColonneDirette) {
        img = ImmagineDiretta(p);
        if (!img)
            percorso = Percorso::Polilinea;
    }
    p.setPen(penna);
    p.setBrush(Qt::NoBrush);
    switch (percorso) {
    case Percorso::Punto:
        if (piano.adjusted(-1, -1, 1, 1).contains(v[0]))
            p.drawPoint(v[0]);
        return;
    case Percorso::VerticaleDiretta:
        VerticaleDiretta(*img, p.deviceTransform(), v[0], v[1], penna.color().rgb(), spessore,
                         penna.style() == Qt::DashLine, piano);
        return;
    case Percorso::ColonneDirette:
        ColonneDirette(*img, p.deviceTransform(), v, penna.color().rgb(), spessore, piano);
        return;
    case Percorso::FiliAffiancati:
        filiAffiancati(p, v, penna, spessore);
        return;
    case Percorso::Polilinea:
        p.drawPolyline(v.data(), int(v.size()));
        return;
    case Percorso::SegmentiRitagliati:
        segmentiRitagliati(p, v, piano);
        return;
    }
}

}  // namespace render_grafico
