#include "chart/RenderGrafico.h"

#include "chart/GeometriaSerie.h"
#include "chart/ModelloGrafico.h"
#include "chart/RiduzioneColonne.h"
#include "chart/ScritturaDiretta.h"
#include "chart/TracciaSerie.h"
#include "platform/Schermo.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace render_grafico {

namespace {

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
    void testo(const TestoGrafico &t, const Etichetta &e);

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

    std::vector<QPointF> &v = m_buffer;
    v.clear();
    v.reserve(std::min<size_t>(s.punti.size(), size_t(d.piano.width() * 4 + 8)));
    CasoSerie caso;
    caso.densa = Densa(s.punti.size(), d.piano.width(), scala);
    caso.monotona = caso.densa && Monotona(s.punti);
    MappaPunti(s.punti, t, scala, caso.monotona, v);
    caso.punti = v.size();
    caso.sicura = Sicura(v);
    caso.verticale = v.size() == 2 && v[0].x() == v[1].x();
    caso.stile = s.stile;
    caso.spessore = s.spessore;
    caso.diretta = ImmagineDiretta(p) != nullptr;
    Traccia(p, ScegliPercorso(caso), v, penna, s.spessore, d.piano);

    // Dots only where they stay apart; a dense price line is the line alone.
    if (s.tipoPunto == 3 && s.tipoMarcatore != 0 && v.size() >= 2 && !caso.densa) {
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

void Pittore::testo(const TestoGrafico &t, const Etichetta &e)
{
    const QFont &f = font(t.font);
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
    const std::vector<Etichetta> posti = DisponiTesti(m, d);
    size_t t = size_t(std::max(0, primoTesto));
    for (size_t s = size_t(std::max(0, primaSerie)); s < serie.size(); ++s) {
        for (; t < testi.size() && testi[t].sopraSerie <= int(s); ++t)
            pittore.testo(testi[t], posti[t]);
        pittore.serie(serie[s]);
    }
    for (; t < testi.size(); ++t)
        pittore.testo(testi[t], posti[t]);
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

}  // namespace render_grafico
