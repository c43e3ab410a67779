#include "indicators/ContestoIndicatori.h"
#include "indicators/FamiglieComuni.h"
#include "indicators/Indicatori.h"
#include "indicators/StatoIndicatori.h"
#include "platform/VbRuntime.h"

#include <algorithm>

namespace indicatori {

namespace {

void oscillatore(ContestoIndicatori &c, int divisoreLunga, int divisoreBreve, bool doppia, ArrayIndicatore &array)
{
    double *riga = array.riga(c.grado());
    const std::vector<double> &m1 = MediaCentrataValida(c, c.periodo(divisoreLunga));
    const std::vector<double> &m2 = MediaCentrataValida(c, c.periodo(divisoreBreve));
    int valori = 0;
    if (!m1.empty() && !m2.empty()) {
        // Bars computed less the longer period, whatever the series length, but
        // never past the cells both means hold.
        valori = vb::CInt(c.barreCalcolo() - double(c.periodo(divisoreLunga)));
        valori = std::clamp(valori, 0, int(std::min(m1.size(), m2.size())) - 1);
        for (int i = 1; i <= valori; ++i) {
            const auto k = size_t(i);
            riga[i] = doppia ? (m2[k] + m2[k]) - m1[k] : m2[k] - m1[k];
        }
    }
    Coda(riga, valori + 1, Vuoto_Oscillatore);
}

}  // namespace

void Calcola_Oscillatore_C4_C2(ContestoIndicatori &c, StatoIndicatori &out) { oscillatore(c, 2, 4, false, out.Ind_Osc_C4_C2); }
void Calcola_Oscillatore_C8_C4(ContestoIndicatori &c, StatoIndicatori &out) { oscillatore(c, 4, 8, false, out.Ind_Osc_C8_C4); }
void Calcola_Oscillatore_C16_C8(ContestoIndicatori &c, StatoIndicatori &out)
{
    oscillatore(c, 8, 16, false, out.Ind_Osc_C16_C8);
}
void Calcola_Oscillatore_C8_C2(ContestoIndicatori &c, StatoIndicatori &out) { oscillatore(c, 2, 8, true, out.Ind_Osc_C8_C2); }

}  // namespace indicatori
