#include "chart/GeometriaSerie.h"

#include "chart/DisposizioneGrafico.h"

#include <algorithm>
#include <cmath>

namespace render_grafico {

int ColonnaDi(double x)
{
    x = std::clamp(x, -1.0e9, 1.0e9);
    const int i = int(x);
    return i - (x < i);
}

bool Ritaglia(QPointF &a, QPointF &b, const QRectF &r)
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

int LarghezzaDispositivo(int spessore, double scala)
{
    return std::max(1, int(std::lround(spessore * std::max(1.0, scala))));
}

Fascia FasciaDi(int larghezza) { return {(larghezza - 1) / 2, larghezza / 2}; }

bool Sicura(const std::vector<QPointF> &punti)
{
    return std::none_of(punti.begin(), punti.end(), [](const QPointF &q) {
        return std::fabs(q.x()) > Limite_Sicuro || std::fabs(q.y()) > Limite_Sicuro;
    });
}

bool Densa(std::size_t punti, double larghezzaPiano, double scala)
{
    return double(punti) > 1.5 * larghezzaPiano * scala;
}

bool Monotona(const std::vector<QPointF> &punti)
{
    for (std::size_t i = 1; i < punti.size(); ++i)
        if (!(punti[i].x() >= punti[i - 1].x()))
            return false;
    return true;
}

}  // namespace render_grafico
