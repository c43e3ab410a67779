#include "platform/RenderGrafico.h"

#include "platform/ModelloGrafico.h"
#include "platform/Schermo.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

namespace RenderGrafico {

namespace {

// floor() as an int for pixel coordinates, clamped so the conversion is defined.
inline int colonnaDi(double x)
{
    x = std::clamp(x, -1.0e9, 1.0e9);
    const int i = int(x);
    return i - (x < i);
}

// Beyond this many pixels from the plot a coordinate is clipped by hand:
// the raster engine misbehaves with huge values.
constexpr double Limite_Sicuro = 1.0e5;

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

bool finito(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

Intervallo daDati(const ModelloGrafico &m, bool suX, int numero, bool includiX1Liberi)
{
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    for (const SerieGrafico &s : m.serie()) {
        const int asse = suX ? s.asseX : s.asseY;
        bool conta = asse == numero;
        if (!conta && suX && includiX1Liberi && asse != 1) {
            const AsseGrafico &a = m.asseX(asse);
            conta = !(a.fissa && finito(a.minimo, a.massimo) && a.massimo > a.minimo);
        }
        if (!conta)
            continue;
        for (const QPointF &p : s.punti) {
            const double v = suX ? p.x() : p.y();
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    if (suX && m.etichette().asseX != 0 && std::isfinite(m.etichette().fine) && m.etichette().fine >= 1) {
        lo = std::min(lo, 1.0);
        hi = std::max(hi, m.etichette().fine);
    }
    Intervallo r;
    if (!finito(lo, hi))
        return r;
    if (hi == lo) {
        lo -= 1;
        hi += 1;
    } else if (!suX) {
        const double margine = (hi - lo) * 0.05;
        lo -= margine;
        hi += margine;
    }
    r = {lo, hi, true};
    return r;
}

Intervallo intervalloX(const ModelloGrafico &m, int numero)
{
    const AsseGrafico &a = m.asseX(numero);
    if (a.esiste && a.fissa && finito(a.minimo, a.massimo)) {
        if (a.massimo > a.minimo)
            return {a.minimo, a.massimo, true};
        if (a.massimo == a.minimo)
            return {a.minimo - 1, a.massimo + 1, true};
    }
    if (numero != 1)
        return intervalloX(m, 1);
    Intervallo r = daDati(m, true, 1, true);
    if (!r.valido)
        r = {0.0, 1.0, true};
    return r;
}

Intervallo intervalloY(const ModelloGrafico &m, int numero)
{
    const AsseGrafico &a = m.asseY(numero);
    if (!a.esiste)
        return {};
    if (a.fissa) {
        if (!finito(a.minimo, a.massimo) || a.massimo < a.minimo)
            return {};
        if (a.massimo > a.minimo)
            return {a.minimo, a.massimo, true};
        // A flat price still shows its line in the middle; a flat pane shows nothing.
        if (numero <= 2)
            return {a.minimo - 1, a.massimo + 1, true};
        return {};
    }
    return daDati(m, false, numero, false);
}

int decimali(const QString &formato)
{
    const int punto = formato.indexOf(QLatin1Char('.'));
    return punto < 0 ? 0 : int(formato.size()) - punto - 1;
}

QStringList righe(const QString &testo)
{
    QString t = testo;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.split(QLatin1Char('\n'));
}

// Labels of the price axis: a round step giving a label every 40 pixels or so.
std::vector<double> tacche(const Intervallo &i, double altezza)
{
    std::vector<double> r;
    if (!i.valido || altezza < 20)
        return r;
    const double grezzo = (i.massimo - i.minimo) / std::max(2.0, altezza / 40.0);
    if (!(grezzo > 0) || !std::isfinite(grezzo))
        return r;
    const double potenza = std::pow(10.0, std::floor(std::log10(grezzo)));
    double passo = potenza;
    for (double f : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        passo = f * potenza;
        if (passo >= grezzo)
            break;
    }
    const double primo = std::ceil(i.minimo / passo) * passo;
    for (double v = primo; v <= i.massimo + passo * 1e-9 && r.size() < 200; v += passo)
        r.push_back(std::fabs(v) < passo * 1e-9 ? 0.0 : v);
    return r;
}

struct Trasformazione {
    double sx = 1, ox = 0, sy = 1, oy = 0;
    bool valida = false;
    QPointF operator()(double x, double y) const { return {ox + x * sx, oy + y * sy}; }
};

Trasformazione trasformazione(const Disposizione &d, int asseX, int asseY)
{
    Trasformazione t;
    if (asseX < 1 || asseX > 3 || asseY < 1 || asseY > 7)
        return t;
    const Intervallo &ix = d.x[size_t(asseX - 1)];
    const Intervallo &iy = d.y[size_t(asseY - 1)];
    if (!ix.valido || !iy.valido || !(ix.massimo > ix.minimo) || !(iy.massimo > iy.minimo))
        return t;
    t.sx = d.piano.width() / (ix.massimo - ix.minimo);
    t.ox = d.piano.left() - ix.minimo * t.sx;
    t.sy = -d.piano.height() / (iy.massimo - iy.minimo);
    t.oy = d.piano.bottom() - iy.minimo * t.sy;
    t.valida = std::isfinite(t.sx) && std::isfinite(t.sy) && std::isfinite(t.ox) && std::isfinite(t.oy);
    return t;
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
    const Trasformazione t = trasformazione(d, s.asseX, s.asseY);
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
    if (t.testo.isEmpty())
        return;
    QPointF ancora;
    if (t.modo == 1) {
        ancora = QPointF(d.piano.left() + t.x / 100.0 * d.piano.width(),
                         d.piano.bottom() - t.y / 100.0 * d.piano.height());
    } else {
        const Trasformazione tr = trasformazione(d, t.asseX, t.asseY);
        if (!tr.valida)
            return;
        ancora = tr(t.x, t.y);
    }
    if (!finito(ancora.x(), ancora.y()) || std::fabs(ancora.x()) > Limite_Sicuro
        || std::fabs(ancora.y()) > Limite_Sicuro)
        return;

    const QFont &f = font(t.font);
    p.setFont(f);
    p.setPen(colore(t.colore, m_predefinito));
    const QFontMetricsF fm(f, p.device());
    double y = ancora.y();
    for (const QString &riga : righe(t.testo)) {
        const double larghezza = fm.horizontalAdvance(riga);
        double x = ancora.x();
        if (t.allineamento == 1)
            x -= larghezza / 2;
        else if (t.allineamento == 2)
            x -= larghezza;
        p.drawText(QPointF(x, y + fm.ascent()), riga);
        y += fm.lineSpacing();
    }
}

}  // namespace

QFont FontDaTesto(const QString &testo)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(8);
    QString t = testo.trimmed();
    if (t.startsWith(QLatin1String("font="), Qt::CaseInsensitive))
        t = t.mid(5);
    const QStringList parti = t.split(QLatin1Char('|'));
    if (parti.size() == 1) {
        // A bare weight keeps the default face and size.
        f.setBold(parti[0].compare(QLatin1String("bold"), Qt::CaseInsensitive) == 0);
        return f;
    }
    if (!parti[0].trimmed().isEmpty())
        f.setFamily(parti[0].trimmed());
    bool ok = false;
    const double dimensione = parti.value(1).trimmed().toDouble(&ok);
    if (ok && dimensione >= 1 && dimensione <= 200)
        f.setPointSizeF(dimensione);
    f.setBold(parti.value(2).trimmed().compare(QLatin1String("bold"), Qt::CaseInsensitive) == 0);
    return f;
}

Disposizione Calcola(const ModelloGrafico &m, const QRectF &area)
{
    Disposizione d;
    d.area = area;
    for (int n = 1; n <= 3; ++n)
        d.x[size_t(n - 1)] = intervalloX(m, n);
    for (int n = 1; n <= 7; ++n)
        d.y[size_t(n - 1)] = intervalloY(m, n);

    double alto = 4, basso = 6, destra = 6;
    const double sinistra = 6;
    if (!m.titolo().testo.isEmpty()) {
        const QFontMetricsF fm(FontDaTesto(m.titolo().font));
        alto = 4 + fm.lineSpacing() * righe(m.titolo().testo).size() + 2;
    }
    if (m.etichette().asseX != 0) {
        const QFontMetricsF fm(FontDaTesto(m.asseX(m.etichette().asseX).font));
        int massimo = 1;
        for (const EtichettaAsse &e : m.etichette().voci)
            massimo = std::max(massimo, int(righe(e.testo).size()));
        basso = 4 + fm.lineSpacing() * massimo + 2;
    }
    if (d.y[1].valido) {
        const AsseGrafico &a = m.asseY(2);
        const QFontMetricsF fm(FontDaTesto(a.font));
        const int dec = decimali(a.formato);
        const double w = std::max(fm.horizontalAdvance(QString::number(d.y[1].minimo, 'f', dec)),
                                  fm.horizontalAdvance(QString::number(d.y[1].massimo, 'f', dec)));
        destra = 8 + std::min(w, area.width() / 4);
    }
    d.piano = area.adjusted(sinistra, alto, -destra, -basso);
    if (d.piano.width() < 10 || d.piano.height() < 10)
        d.piano = area.adjusted(1, 1, -1, -1);
    return d;
}

QPointF InUnita(const Disposizione &d, QPointF pixel)
{
    const Intervallo &ix = d.x[0];
    const Intervallo &iy = d.y[0];
    if (!ix.valido || !iy.valido || d.piano.width() <= 0 || d.piano.height() <= 0)
        return {};
    return {ix.minimo + (pixel.x() - d.piano.left()) / d.piano.width() * (ix.massimo - ix.minimo),
            iy.minimo + (d.piano.bottom() - pixel.y()) / d.piano.height() * (iy.massimo - iy.minimo)};
}

QPointF InPixel(const Disposizione &d, int asseX, int asseY, QPointF valore)
{
    const Trasformazione t = trasformazione(d, asseX, asseY);
    return t.valida ? t(valore.x(), valore.y()) : QPointF(qQNaN(), qQNaN());
}

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
    const QColor sfondo = colore(m.coloreSfondo(), QColor(Qt::white));
    const QColor grigio(128, 128, 128);
    p.fillRect(area, sfondo);

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

    // Price labels on the right.
    if (d.y[1].valido) {
        const AsseGrafico &a = m.asseY(2);
        const QFont f = FontDaTesto(a.font);
        const QFontMetricsF fm(f, p.device());
        p.setFont(f);
        p.setPen(colore(a.coloreEtichette, grigio));
        const int dec = decimali(a.formato);
        const Trasformazione t = trasformazione(d, 1, 2);
        if (t.valida)
            for (double v : tacche(d.y[1], d.piano.height())) {
                const double y = t(0, v).y();
                p.drawText(QPointF(d.piano.right() + 4, y + fm.ascent() / 2 - 1), QString::number(v, 'f', dec));
            }
    }

    // Text labels under the plot, dropped where they would run into the previous one.
    if (m.etichette().asseX != 0) {
        const AsseGrafico &a = m.asseX(m.etichette().asseX);
        const QFont f = FontDaTesto(a.font);
        const QFontMetricsF fm(f, p.device());
        p.setFont(f);
        p.setPen(colore(a.coloreEtichette, grigio));
        const Trasformazione t = trasformazione(d, m.etichette().asseX, 1);
        double fineUltima = -std::numeric_limits<double>::infinity();
        for (const EtichettaAsse &e : m.etichette().voci) {
            if (!t.valida)
                break;
            const double x = t(e.x, 0).x();
            if (x < d.piano.left() - 1 || x > d.piano.right() + 1)
                continue;
            const QStringList r = righe(e.testo);
            double larghezza = 0;
            for (const QString &riga : r)
                larghezza = std::max(larghezza, fm.horizontalAdvance(riga));
            double sinistra = std::clamp(x - larghezza / 2, area.left(), area.right() - larghezza);
            if (sinistra < fineUltima + 4)
                continue;
            fineUltima = sinistra + larghezza;
            double y = d.piano.bottom() + 3;
            for (const QString &riga : r) {
                const double w = fm.horizontalAdvance(riga);
                p.drawText(QPointF(sinistra + (larghezza - w) / 2, y + fm.ascent()), riga);
                y += fm.lineSpacing();
            }
        }
    }

    if (!m.titolo().testo.isEmpty()) {
        const QFont f = FontDaTesto(m.titolo().font);
        const QFontMetricsF fm(f, p.device());
        p.setFont(f);
        p.setPen(colore(m.titolo().colore, grigio));
        double y = area.top() + 3;
        for (const QString &riga : righe(m.titolo().testo)) {
            const double w = fm.horizontalAdvance(riga);
            p.drawText(QPointF(d.piano.center().x() - w / 2, y + fm.ascent()), riga);
            y += fm.lineSpacing();
        }
    }
}

}  // namespace RenderGrafico
