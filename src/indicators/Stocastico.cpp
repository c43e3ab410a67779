#include "indicators/ContestoIndicatori.h"
#include "indicators/Indicatori.h"
#include "indicators/SommeFinestra.h"
#include "indicators/StatoIndicatori.h"

#include <vector>

namespace indicatori {

void Calcola_Stocastico(ContestoIndicatori &c, StatoIndicatori &out)
{
    const int d = c.grado();
    double *distMin = out.Ind_Stoc_Dist_Min.riga(d);
    double *distMax = out.Ind_Stoc_Dist_Max.riga(d);
    double *mediaMin = out.Ind_Stoc_Dist_Min_Media.riga(d);
    double *mediaMax = out.Ind_Stoc_Dist_Max_Media.riga(d);

    const int p = c.periodo(2);
    // A window of 0 or 1 bars is bar i alone; a negative one is no period at all.
    const int n = p >= 0 ? c.barreCalcolate(p) : 0;
    if (n > 0) {
        std::vector<double> minimi(static_cast<size_t>(n)), massimi(static_cast<size_t>(n));
        EstremiFinestra(c.chiusure() + 1, n, p, minimi.data(), massimi.data());
        for (int i = 1; i <= n; ++i) {
            distMin[i] = c.chiusura(i) - minimi[size_t(i - 1)];
            distMax[i] = c.chiusura(i) - massimi[size_t(i - 1)];
        }
    }

    const int q = c.periodo(8);
    const int m = q >= 1 ? std::max(n - q, 0) : 0;
    if (m > 0) {
        MedieFinestra(distMin + 1, m, q, mediaMin + 1);
        MedieFinestra(distMax + 1, m, q, mediaMax + 1);
    }
    Coda(distMin, n + 1, Vuoto_Oscillatore);
    Coda(distMax, n + 1, Vuoto_Oscillatore);
    Coda(mediaMin, m + 1, Vuoto_Oscillatore);
    Coda(mediaMax, m + 1, Vuoto_Oscillatore);
}

}  // namespace indicatori
