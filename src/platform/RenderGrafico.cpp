#include "platform/RenderGrafico.h"

#include "platform/ModelloGrafico.h"
#include "platform/Schermo.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace RenderGrafico {

namespace {

// floor() as an int for pixel coordinates, clamped so the conversion is defined.
inline int colonnaDi(double x)
{
    x = std::clamp(x, -1.0e9, 1.0e9);
    const int i = int(x);
    return i - (x < i);
}

QColor colore(std::optional<ColoreWin> c, const QColor &predefinito)
{
    if (!c || *c == GraficoControllo::Colore_Predefinito || (*c & 0xFF000000u))
        return predefinito;
    return schermo::ColoreWin(*c);
}

QColor colore(ColoreWin c, const QColor &predefinito)
{
    return colore(std::optional<ColoreWin>(c), predefinito);
}

// Liang-Barsky: the part of segment a-b inside r, false when none.
bool ritaglia(QPointF &a, QPointF &b, const QRectF &r)
{
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF a0 = a;
    a = QPointF(a0.x() + t0 * dx, a0.y() + t0 * dy);
    b = QPointF(a0.x() + t1 * dx, a0.y() + t1 * dy);
    return true;
}

// The painter's image when its pixels may be written directly: a 32-bit image
// of its own under a transform that only scales and moves; null otherwise.
QImage *immagineDiretta(QPainter &p)
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

// A dense solid line straight into a 32-bit image, one vertical run of pixels
// per device column: the pixels a one-pixel polyline through the points would
// set, without the per-segment cost of the general rasteriser. False when the
// device or the transform do not allow it; the caller then uses the painter.
bool colonneDirette(QPainter &p, const std::vector<QPointF> &v, QRgb colore, int spessore, const QRectF &piano)
{
    if (v.size() < 2)
        return false;
    QImage *immagine = immagineDiretta(p);
    if (!immagine)
        return false;
    QImage &img = *immagine;
    const QTransform t = p.deviceTransform();
    const QRect limite = t.mapRect(piano).toAlignedRect() & img.rect();
    if (limite.isEmpty())
        return true;
    const int larghezza = std::max(1, int(std::lround(spessore * std::max(1.0, t.m11()))));
    const int stride = int(img.bytesPerLine() / 4);
    QRgb *bits = reinterpret_cast<QRgb *>(img.bits());

    auto dipingi = [&](int colonna, double lo, double hi) {
        // A thick line spreads evenly round the thin one.
        const int prima = (larghezza - 1) / 2, dopo = larghezza / 2;
        const int y0 = std::max(colonnaDi(lo) - prima, limite.top());
        const int y1 = std::min(colonnaDi(hi) + dopo, limite.bottom());
        const int x0 = std::max(colonna - prima, limite.left());
        const int x1 = std::min(colonna + dopo, limite.right());
        for (int y = y0; y <= y1; ++y) {
            QRgb *riga = bits + size_t(y) * size_t(stride);
            for (int x = x0; x <= x1; ++x)
                riga[x] = colore;
        }
    };

    const double sx = t.m11(), sy = t.m22(), dx = t.dx(), dy = t.dy();
    auto mappa = [&](const QPointF &q) { return QPointF(q.x() * sx + dx, q.y() * sy + dy); };
    QPointF a = mappa(v[0]);
    int colonna = colonnaDi(a.x());
    double lo = a.y(), hi = a.y();
    for (size_t i = 1; i < v.size(); ++i) {
        const QPointF b = mappa(v[i]);
        const int fine = colonnaDi(b.x());
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
    return true;
}

// A vertical line (subdivisions, day separators) straight into a 32-bit image,
// dashed 4 on 2 off like the painter's dash: hundreds of them per chart cost
// next to nothing this way.
bool verticaleDiretta(QPainter &p, QPointF a, QPointF b, QRgb colore, int spessore, bool tratteggio,
                      const QRectF &piano)
{
    QImage *immagine = immagineDiretta(p);
    if (!immagine)
        return false;
    QImage &img = *immagine;
    const QTransform t = p.deviceTransform();
    const QRect limite = t.mapRect(piano).toAlignedRect() & img.rect();
    a = t.map(a);
    b = t.map(b);
    const int larghezza = std::max(1, int(std::lround(spessore * std::max(1.0, t.m11()))));
    const int x0 = std::max(colonnaDi(a.x()) - (larghezza - 1) / 2, limite.left());
    const int x1 = std::min(colonnaDi(a.x()) + larghezza / 2, limite.right());
    const int y0 = std::max(colonnaDi(std::min(a.y(), b.y())), limite.top());
    const int y1 = std::min(colonnaDi(std::max(a.y(), b.y())), limite.bottom());
    const int trattino = 4 * larghezza, ciclo = 6 * larghezza;
    const int stride = int(img.bytesPerLine() / 4);
    QRgb *bits = reinterpret_cast<QRgb *>(img.bits());
    for (int y = y0; y <= y1; ++y) {
        if (tratteggio && (y - y0) % ciclo >= trattino)
            continue;
        QRgb *riga = bits + size_t(y) * size_t(stride);
        for (int x = x0; x <= x1; ++x)
            riga[x] = colore;
    }
    return true;
}

void scrivi(QPainter &p, const Etichetta &e, double ascesa)
{
    for (const RigaEtichetta &r : e.righe)
        p.drawText(r.origine + QPointF(0, ascesa), r.testo);
}

class Pittore {
public:
    Pittore(const ModelloGrafico &m, QPainter &p, const Disposizione &d) : m(m), p(p), d(d)
    {
        m_predefinito = colore(m.titolo().colore, QColor(128, 128, 128));
    }

    void serie(const SerieGrafico &s);
    void testo(const TestoGrafico &t);

private:
    const QFont &font(const QString &testo)
    {
        auto it = m_font.find(testo);
        if (it == m_font.end())
            it = m_font.insert(testo, FontDaTesto(testo));
        return it.value();
    }

    const ModelloGrafico &m;
    QPainter &p;
    const Disposizione &d;
    QColor m_predefinito;
    QHash<QString, QFont> m_font;
    std::vector<QPointF> m_buffer;
};

void Pittore::serie(const SerieGrafico &s)
{
    if (s.punti.empty())
        return;
    const Trasformazione t = Mappa(d, s.asseX, s.asseY);
    if (!t.valida)
        return;

    // Columns of the device, so a high-density screen keeps its detail.
    const double scala = std::max(1.0, std::fabs(p.deviceTransform().m11()));
    QPen penna(colore(s.colore, m_predefinito));
    // Width 1 as the raster engine's one-pixel line, the fast path; on a
    // high-density screen one pixel of the window, as wide as everything else.
    penna.setWidthF(s.spessore > 1 || scala > 1 ? s.spessore : 0);
    penna.setStyle(s.stile == 2 ? Qt::DashLine : Qt::SolidLine);
    penna.setCapStyle(Qt::FlatCap);
    penna.setJoinStyle(Qt::BevelJoin);
    p.setPen(penna);
    p.setBrush(Qt::NoBrush);

    // Map, and when there are clearly more points than pixel columns keep the
    // lowest and highest point of each column in their order: the same picture
    // to the eye with a fraction of the segments.
    std::vector<QPointF> &v = m_buffer;
    v.clear();
    v.reserve(std::min<size_t>(s.punti.size(), size_t(d.piano.width() * 4 + 8)));
    const bool denso = double(s.punti.size()) > 1.5 * d.piano.width() * scala;
    bool monotona = denso;
    for (size_t i = 1; monotona && i < s.punti.size(); ++i)
        monotona = s.punti[i].x() >= s.punti[i - 1].x();
    if (monotona) {
        size_t i = 0;
        while (i < s.punti.size()) {
            const QPointF primo = t(s.punti[i].x(), s.punti[i].y());
            const int colonna = colonnaDi(primo.x() * scala);
            QPointF basso = primo, alto = primo;
            size_t iBasso = i, iAlto = i;
            size_t j = i + 1;
            for (; j < s.punti.size(); ++j) {
                const QPointF q = t(s.punti[j].x(), s.punti[j].y());
                if (colonnaDi(q.x() * scala) != colonna)
                    break;
                if (q.y() < alto.y()) {
                    alto = q;
                    iAlto = j;
                }
                if (q.y() > basso.y()) {
                    basso = q;
                    iBasso = j;
                }
            }
            if (iBasso == iAlto) {
                v.push_back(basso);
            } else if (iBasso < iAlto) {
                v.push_back(basso);
                v.push_back(alto);
            } else {
                v.push_back(alto);
                v.push_back(basso);
            }
            i = j;
        }
    } else {
        for (const QPointF &q : s.punti)
            v.push_back(t(q.x(), q.y()));
    }
    bool sicuro = true;
    for (const QPointF &q : v)
        if (std::fabs(q.x()) > Limite_Sicuro || std::fabs(q.y()) > Limite_Sicuro) {
            sicuro = false;
            break;
        }

    if (v.size() == 1) {
        if (d.piano.adjusted(-1, -1, 1, 1).contains(v[0]))
            p.drawPoint(v[0]);
    } else if (sicuro && v.size() == 2 && v[0].x() == v[1].x()
               && verticaleDiretta(p, v[0], v[1], penna.color().rgb(), s.spessore, s.stile == 2, d.piano)) {
    } else if (sicuro && denso && monotona && s.stile == 1
               && colonneDirette(p, v, penna.color().rgb(), s.spessore, d.piano)) {
    } else if (sicuro && s.spessore > 1 && v.size() > 64) {
        // A long thick line as one-pixel lines side by side, across and along:
        // the raster engine's thin lines are many times faster than stroking a wide pen.
        const int larghezza = std::max(1, int(std::lround(s.spessore * scala)));
        const int prima = (larghezza - 1) / 2;
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
    } else if (sicuro) {
        p.drawPolyline(v.data(), int(v.size()));
    } else {
        const QRectF r = d.piano.adjusted(-10, -10, 10, 10);
        for (size_t i = 1; i < v.size(); ++i) {
            QPointF a = v[i - 1], b = v[i];
            if (ritaglia(a, b, r))
                p.drawLine(a, b);
        }
    }

    // Dots only where they stay apart; a dense price line is the line alone.
    if (s.tipoPunto == 3 && s.tipoMarcatore != 0 && v.size() >= 2 && !denso) {
        const double passo = std::fabs(v.back().x() - v.front().x()) / double(v.size() - 1);
        if (passo >= 3.0) {
            const double raggio = std::clamp(s.dimensioneMarcatore * 2.0, 1.0, 4.0);
            p.setPen(Qt::NoPen);
            p.setBrush(colore(s.coloreMarcatore, penna.color()));
            for (const QPointF &q : v)
                if (d.piano.adjusted(-raggio, -raggio, raggio, raggio).contains(q))
                    p.drawEllipse(q, raggio, raggio);
            p.setBrush(Qt::NoBrush);
        }
    }
}

void Pittore::testo(const TestoGrafico &t)
{
    const QFont &f = font(t.font);
    const Etichetta e = DisponiTesto(d, t, f);
    if (e.righe.empty())
        return;
    p.setFont(f);
    p.setPen(colore(t.colore, m_predefinito));
    scrivi(p, e, QFontMetricsF(f).ascent());
}

}  // namespace

void DisegnaAggiunte(const ModelloGrafico &m, QPainter &p, const Disposizione &d, int primaSerie, int primoTesto)
{
    Pittore pittore(m, p, d);
    p.save();
    p.setClipRect(d.piano);
    const auto &serie = m.serie();
    const auto &testi = m.testi();
    size_t t = size_t(std::max(0, primoTesto));
    for (size_t s = size_t(std::max(0, primaSerie)); s < serie.size(); ++s) {
        while (t < testi.size() && testi[t].sopraSerie <= int(s))
            pittore.testo(testi[t++]);
        pittore.serie(serie[s]);
    }
    while (t < testi.size())
        pittore.testo(testi[t++]);
    p.restore();
}

void Disegna(const ModelloGrafico &m, QPainter &p, const QRectF &area, Disposizione *disposizione)
{
    const Disposizione d = Calcola(m, area);
    if (disposizione)
        *disposizione = d;
    Disegna(m, p, d);
}

void Disegna(const ModelloGrafico &m, QPainter &p, const Disposizione &d)
{
    const QColor sfondo = colore(m.coloreSfondo(), QColor(Qt::white));
    const QColor grigio(128, 128, 128);
    p.fillRect(d.area, sfondo);

    // A faint grid of the 0..28 scale only: the bar axis' divisions would not
    // fall on the cycle subdivisions, which are drawn as lines of their own.
    const AsseGrafico &x1 = m.asseX(1);
    const AsseGrafico &y1 = m.asseY(1);
    p.save();
    p.setClipRect(d.piano);
    if (y1.griglia) {
        QColor c = colore(y1.coloreGriglia, colore(y1.coloreEtichette, grigio));
        c.setAlpha(70);
        p.setPen(QPen(c, 0));
        for (int i = 1; i < 4; ++i) {
            const double y = d.piano.top() + d.piano.height() * i / 4;
            p.drawLine(QPointF(d.piano.left(), y), QPointF(d.piano.right(), y));
        }
    }
    p.restore();

    DisegnaAggiunte(m, p, d, 0, 0);

    // Frame of the plot in the bar axis' line colour.
    p.setPen(QPen(colore(x1.colore, grigio), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(d.piano);

    // Price labels, X labels and the title where the layout put them.
    struct Stile {
        QFont font;
        QColor colore;
        double ascesa = 0;
    };
    const auto stile = [&](const QString &font, std::optional<ColoreWin> c) {
        Stile s{FontDaTesto(font), colore(c, grigio)};
        s.ascesa = QFontMetricsF(s.font).ascent();
        return s;
    };
    const AsseGrafico &asseEtichette = m.asseX(m.etichette().asseX);
    const Stile stili[] = {stile(m.titolo().font, m.titolo().colore),
                           stile(m.asseY(2).font, m.asseY(2).coloreEtichette),
                           stile(asseEtichette.font, asseEtichette.coloreEtichette)};
    for (const Etichetta &e : d.etichette) {
        if (e.tipo == Etichetta::Tipo::Testo)
            continue;
        const Stile &s = stili[e.tipo == Etichetta::Tipo::Titolo ? 0 : e.tipo == Etichetta::Tipo::Prezzo ? 1 : 2];
        p.setFont(s.font);
        p.setPen(s.colore);
        scrivi(p, e, s.ascesa);
    }
}

}  // namespace RenderGrafico
