#include "indicators/ContestoIndicatori.h"
#include "indicators/FamiglieComuni.h"
#include "indicators/Indicatori.h"
#include "indicators/SommeFinestra.h"
#include "indicators/StatoIndicatori.h"

#include <algorithm>

namespace indicatori {

void Velocita(const std::vector<double> &media, int n, int q, double *grezza, double *lisciata)
{
    for (int i = 1; i < n; ++i)
        grezza[i] = media[size_t(i)] - media[size_t(i + 1)];
    const int grezze = std::max(n - 1, 0);
    const int m = q >= 1 ? std::max(n - q, 0) : 0;
    if (m > 0)
        MedieFinestra(grezza + 1, m, q, lisciata + 1);
    Coda(grezza, grezze + 1, Vuoto_Oscillatore);
    Coda(lisciata, m + 1, Vuoto_Oscillatore);
}

namespace {

void velocitaCiclica(ContestoIndicatori &c, int divisore, ArrayIndicatore &grezza, ArrayIndicatore &lisciata)
{
    const int p = c.periodo(divisore);
    static const std::vector<double> nessuna;
    const bool valido = p >= 1 && p < c.barre();
    const std::vector<double> &media = valido ? c.MediaMobile(p) : nessuna;
    const int n = valido ? int(media.size()) - 1 : 0;
    Velocita(media, n, c.periodo(8), grezza.riga(c.grado()), lisciata.riga(c.grado()));
}

}  // namespace

void Calcola_Velocita_C2(ContestoIndicatori &c, StatoIndicatori &out)
{
    velocitaCiclica(c, 2, out.Ind_Velocita_C2, out.Ind_Velocita_C2_Media);
}

void Calcola_Velocita_C4(ContestoIndicatori &c, StatoIndicatori &out)
{
    velocitaCiclica(c, 4, out.Ind_Velocita_C4, out.Ind_Velocita_C4_Media);
}

void Calcola_Velocita_C8(ContestoIndicatori &c, StatoIndicatori &out)
{
    velocitaCiclica(c, 8, out.Ind_Velocita_C8, out.Ind_Velocita_C8_Media);
}

}  // namespace indicatori
