#include "chart/ScritturaDiretta.h"

#include "chart/GeometriaSerie.h"

#include <QPainter>
#include <algorithm>
#include <cstddef>

namespace render_grafico {

QImage *ImmagineDiretta(QPainter &p)
{
    QPaintDevice *dispositivo = p.device();
    if (!dispositivo || dispositivo->devType() != QInternal::Image)
        return nullptr;
    QImage *img = static_cast<QImage *>(dispositivo);
    const QImage::Format f = img->format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
        return nullptr;
    if (p.deviceTransform().type() > QTransform::TxScale || !img->isDetached())
        return nullptr;
    return img;
}

void ColonneDirette(QImage &img, const QTransform &t, const std::vector<QPointF> &v, QRgb colore, int spessore,
                    const QRectF &piano)
{
    if (v.size() < 2)
        return;
    const QRect limite = t.mapRect(piano).toAlignedRect() & img.rect();
    if (limite.isEmpty())
        return;
    const Fascia fascia = FasciaDi(LarghezzaDispositivo(spessore, t.m11()));
    const int stride = int(img.bytesPerLine() / 4);
    QRgb *bits = reinterpret_cast<QRgb *>(img.bits());

    auto dipingi = [&](int colonna, double lo, double hi) {
        const int y0 = std::max(ColonnaDi(lo) - fascia.prima, limite.top());
        const int y1 = std::min(ColonnaDi(hi) + fascia.dopo, limite.bottom());
        const int x0 = std::max(colonna - fascia.prima, limite.left());
        const int x1 = std::min(colonna + fascia.dopo, limite.right());
        for (int y = y0; y <= y1; ++y) {
            QRgb *riga = bits + std::size_t(y) * std::size_t(stride);
            for (int x = x0; x <= x1; ++x)
                riga[x] = colore;
        }
    };

    const double sx = t.m11(), sy = t.m22(), dx = t.dx(), dy = t.dy();
    auto mappa = [&](const QPointF &q) { return QPointF(q.x() * sx + dx, q.y() * sy + dy); };
    QPointF a = mappa(v[0]);
    int colonna = ColonnaDi(a.x());
    double lo = a.y(), hi = a.y();
    for (std::size_t i = 1; i < v.size(); ++i) {
        const QPointF b = mappa(v[i]);
        const int fine = ColonnaDi(b.x());
        if (fine == colonna) {
            lo = std::min(lo, b.y());
            hi = std::max(hi, b.y());
        } else {
            // The segment crosses columns: each gets the part of it above it.
            const double pendenza = (b.y() - a.y()) / (b.x() - a.x());
            for (int k = colonna; k < fine; ++k) {
                const double y = a.y() + (std::min(double(k + 1), b.x()) - a.x()) * pendenza;
                lo = std::min(lo, y);
                hi = std::max(hi, y);
                if (k + 1 > limite.right() + 1)
                    break;
                dipingi(k, lo, hi);
                lo = hi = y;
            }
            colonna = fine;
            lo = std::min(lo, b.y());
            hi = std::max(hi, b.y());
        }
        a = b;
    }
    dipingi(colonna, lo, hi);
}

void VerticaleDiretta(QImage &img, const QTransform &t, QPointF a, QPointF b, QRgb colore, int spessore,
                      bool tratteggio, const QRectF &piano)
{
    const QRect limite = t.mapRect(piano).toAlignedRect() & img.rect();
    a = t.map(a);
    b = t.map(b);
    const int larghezza = LarghezzaDispositivo(spessore, t.m11());
    const Fascia fascia = FasciaDi(larghezza);
    const int x0 = std::max(ColonnaDi(a.x()) - fascia.prima, limite.left());
    const int x1 = std::min(ColonnaDi(a.x()) + fascia.dopo, limite.right());
    const int y0 = std::max(ColonnaDi(std::min(a.y(), b.y())), limite.top());
    const int y1 = std::min(ColonnaDi(std::max(a.y(), b.y())), limite.bottom());
    const int trattino = 4 * larghezza, ciclo = 6 * larghezza;
    const int stride = int(img.bytesPerLine() / 4);
    QRgb *bits = reinterpret_cast<QRgb *>(img.bits());
    for (int y = y0; y <= y1; ++y) {
        if (tratteggio && (y - y0) % ciclo >= trattino)
            continue;
        QRgb *riga = bits + std::size_t(y) * std::size_t(stride);
        for (int x = x0; x <= x1; ++x)
            riga[x] = colore;
    }
}

}  // namespace render_grafico
