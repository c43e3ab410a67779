#include "indicators/ContestoIndicatori.h"
#include "indicators/FamiglieComuni.h"
#include "indicators/Indicatori.h"
#include "indicators/StatoIndicatori.h"

#include <algorithm>

namespace indicatori {

const std::vector<double> &MediaCentrataValida(ContestoIndicatori &c, int p)
{
    static const std::vector<double> nessuna;
    return p >= 2 && p < c.barre() ? c.MediaCentrata(p) : nessuna;
}

namespace {

void mediaCentrata(ContestoIndicatori &c, int divisore, ArrayIndicatore &array)
{
    double *riga = array.riga(c.grado());
    const std::vector<double> &media = MediaCentrataValida(c, c.periodo(divisore));
    const int n = std::max(int(media.size()) - 1, 0);
    if (n > 0)
        std::copy(media.begin() + 1, media.end(), riga + 1);
    Coda(riga, n + 1, Vuoto_Media);
}

}  // namespace

void Calcola_Media_Centrata_C2(ContestoIndicatori &c, StatoIndicatori &out) { mediaCentrata(c, 2, out.Ind_Centrata_C2); }
void Calcola_Media_Centrata_C4(ContestoIndicatori &c, StatoIndicatori &out) { mediaCentrata(c, 4, out.Ind_Centrata_C4); }
void Calcola_Media_Centrata_C8(ContestoIndicatori &c, StatoIndicatori &out) { mediaCentrata(c, 8, out.Ind_Centrata_C8); }
void Calcola_Media_Centrata_C16(ContestoIndicatori &c, StatoIndicatori &out)
{
    mediaCentrata(c, 16, out.Ind_Centrata_C16);
}

}  // namespace indicatori
