#include "indicators/ContestoIndicatori.h"
#include "indicators/FamiglieComuni.h"
#include "indicators/Indicatori.h"
#include "indicators/StatoIndicatori.h"

#include <algorithm>

namespace indicatori {

void Calcola_Velocita_Centrata_C2(ContestoIndicatori &c, StatoIndicatori &out)
{
    const std::vector<double> &media = MediaCentrataValida(c, c.periodo(2));
    const int n = std::max(int(media.size()) - 1, 0);
    Velocita(media, n, c.periodo(8), out.Ind_Velocita_Centrata.riga(c.grado()),
             out.Ind_Velocita_Centrata_Media.riga(c.grado()));
}

}  // namespace indicatori
