#include "indicators/Indicatori.h"

#include "archive/StatoArchivio.h"
#include "cycle/PosizioneBarra.h"
#include "cycle/StatoCicli.h"
#include "indicators/StatoIndicatori.h"
#include "platform/VbRuntime.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace indicatori {

namespace {

// Width of a price level by underlying (rows 1..7) and degree group
// (daily, hourly, 15-minute, 5-minute); 0 where the profile is not offered.
constexpr std::array<std::array<double, 4>, 8> Larghezze{{
    {0, 0, 0, 0},
    {50, 25, 10, 5},
    {10, 5, 2, 1},
    {10, 5, 2, 1},
    {0.05, 0.05, 0.02, 0.01},
    {0, 2, 1, 0.5},
    {5, 2, 1, 0.5},
    {0.001, 0.0005, 0.0002, 0.0001},
}};

int gruppo(int grado) { return grado <= 3 ? 0 : grado <= 5 ? 1 : grado <= 9 ? 2 : 3; }

constexpr int Max_Livelli = 32767;

}  // namespace

double LarghezzaLivello(int sottostante, int grado)
{
    if (sottostante < 1 || sottostante > 7 || grado < 0 || grado > costanti::Max_Grado)
        return 0.0;
    return Larghezze[size_t(sottostante)][size_t(gruppo(grado))];
}

bool ProfiloEscluso(int sottostante, int grado) { return LarghezzaLivello(sottostante, grado) <= 0.0; }

void Calcola_Profilo_Volumi(const StatoArchivio &archivio, const StatoMercato &mercato, const StatoCicli &cicli,
                            StatoIndicatori &indicatori, int grado)
{
    if (grado < 0 || grado > costanti::Max_Grado)
        return;
    ProfiloVolumi &profilo = indicatori.Profilo_Volumi[size_t(grado)];
    const int sottostante = archivio.Sottostante_Corrente;
    const double w = LarghezzaLivello(sottostante, grado);
    const SerieStorico &serie = posizione::SerieDelGrado(mercato, grado);
    const int bc = std::min(cicli.Barre_Ciclo[size_t(grado)], serie.capacita());
    // Nothing to show: no width for this market and degree (a profile left by
    // another market must not stay on screen), or no bar in the cycle.
    if (w <= 0.0 || bc < 1) {
        profilo.svuota();
        return;
    }
    auto chiusura = [&](int i) { return serie.barra(i).chiusura; };

    double basso = chiusura(1);
    double alto = chiusura(1);
    for (int i = 2; i <= bc; ++i) {
        if (chiusura(i) > alto)
            alto = chiusura(i);
        if (chiusura(i) < basso)
            basso = chiusura(i);
    }
    const std::optional<int> livelli = vb::CIntChecked((alto - basso) / w + 1.0);
    if (!livelli || *livelli < 1 || *livelli > Max_Livelli) {
        profilo.svuota();
        return;
    }
    const int l = *livelli;
    std::vector<LivelloVolume> nuovi(static_cast<size_t>(l));
    for (int k = 1; k <= l; ++k)
        nuovi[size_t(k - 1)].prezzo = double(k - 1) * w + basso;

    // Each move from bar i + 1 to bar i shares the volume of bar i equally among
    // the levels it crossed, from the level of its own close toward the older one.
    // A cycle of one bar has no move and leaves every level at 0.
    for (int i = 1; i < bc; ++i) {
        int mossa = vb::CInt((chiusura(i) - chiusura(i + 1)) / w);
        if (mossa == 0)
            mossa = 1;
        const double quota = serie.barra(i).volume / double(std::abs(mossa));
        const int b = vb::CInt((chiusura(i) - basso) / w + 1.0);
        int da = 0;
        int a = 0;
        if (mossa > 0) {
            da = b - mossa + 1;
            if (da < 1)
                da = b;
            a = b;
        } else {
            da = b;
            a = b - mossa - 1;
        }
        // Rounding the two divisions apart may reach one level past either end.
        da = std::max(da, 1);
        a = std::min(a, l);
        for (int k = da; k <= a; ++k)
            nuovi[size_t(k - 1)].volume += quota;
    }
    profilo.livelli = std::move(nuovi);
    profilo.sottostante = sottostante;
}

}  // namespace indicatori
