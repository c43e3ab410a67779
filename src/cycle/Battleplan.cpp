#include "cycle/Battleplan.h"

#include "cycle/StatoCicli.h"
#include "platform/VbRuntime.h"

#include <algorithm>
#include <cmath>

namespace ciclo {

namespace {

struct Chiave {
    const char *testo;
    double k;
};
constexpr Chiave Coefficienti[] = {
    {"1.1", -0.704}, {"1.2", -0.576}, {"1.3", -0.426}, {"1.4", -0.228}, {"1.5", 0.016},
    {"1.6", 0.314},  {"1.7", 0.674},  {"1.8", 1.102},  {"1.9", 1.61},   {"2.0", 2.202},
};

int R(double x) { return vb::CInt(x); }

}  // namespace

double CoefficienteTendenza(double proporzione)
{
    const QString chiave = vb::CStr(proporzione).replace(QLatin1Char(','), QLatin1Char('.')).left(3);
    for (const Chiave &c : Coefficienti)
        if (chiave == QLatin1String(c.testo))
            return c.k;
    return 0.0;
}

void Calcola_Battleplan(StatoCicli &cicli, int grado)
{
    if (grado < 0 || grado > costanti::Max_Grado)
        return;
    const auto g = size_t(grado);
    std::vector<double> &v = cicli.Battleplan[g];
    v.assign(1, 0.0);

    const double D = cicli.Durata[g];
    const double S = cicli.Scostamento_Ciclo[g];
    const double f = cicli.Fattore_Durata;
    const int tempi = cicli.Tempi[g];
    const int sottocicli = cicli.Sottocicli[g];
    const double t = cicli.Tendenza[g];
    const double p = cicli.Prop_Battleplan[g];
    const double phi = cicli.Fase_Battleplan;
    const double L = S + D;
    // Settings the loaders and handlers keep in range; anything else gives no curve
    // rather than a division by zero or a runaway array.
    if (!(D > 0) || tempi < 1 || sottocicli < 1 || !(L >= 1) || !std::isfinite(L) || L > 32767 || !(f > 0))
        return;

    const double T = (D / 60) * f;
    const double P1 = T + T;
    const double P2 = T;
    const double P3 = T / tempi;
    const double P4 = P3 / sottocicli;
    const double P5 = P4 / 2;

    double A1, A2, A3, A4;
    if (p == 1.0) {
        A4 = 5;
        A3 = 4;
        A2 = 3;
        A1 = 2;
    } else {
        A1 = p;
        A2 = A1 * p;
        A3 = A2 * p;
        A4 = A3 * p;
    }
    const double A0 = 1;
    const double E = t * CoefficienteTendenza(p);

    const int N = R(L);
    v.assign(size_t(N) + 1, 0.0);
    v[1] = ((((t * A4) * 0.1 + A3) + A2) + A1 + 1.0) * std::sin(phi) + 19;

    const double Dp = L - S;
    const int fineCiclo = std::min(R(Dp), N);
    for (int i = 2; i <= fineCiclo; ++i) {
        const double s1 = std::sin((i * phi) / P1 + phi);
        const double s2 = std::sin((i * phi) / P2 + phi);
        const double s3 = std::sin((i * phi) / P3 + phi);
        const double s4 = std::sin((i * phi) / P4 + phi);
        const double s5 = std::sin((i * phi) / P5 + phi);
        v[size_t(i)] = ((s1 * A4) * t) * 0.1 + s2 * A3 + s3 * A2 + s4 * A1 + s5 * A0 + 19;
    }

    if (S <= 0)
        return;
    // Each further cycle repeats the one before raised by t + E. Starting right after
    // the first cycle's last position and never reading before position 1 keeps a
    // duration with a half-bar fraction from leaving a hole or reading position 0.
    for (int j = R(Dp) + 1; j <= N; ++j) {
        const int m = std::max(1, R(j - Dp));
        v[size_t(j)] = (t + v[size_t(m)]) + E;
    }
}

void Calcola_Battleplan_Tutti(StatoCicli &cicli)
{
    for (int d = 0; d <= costanti::Max_Grado; ++d)
        Calcola_Battleplan(cicli, d);
}

}  // namespace ciclo
