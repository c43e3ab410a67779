#include "indicators/ContestoIndicatori.h"
#include "indicators/Indicatori.h"
#include "indicators/StatoIndicatori.h"
#include "platform/VbRuntime.h"

#include <algorithm>
#include <cmath>

namespace indicatori {

namespace {

void mediaMobile(ContestoIndicatori &c, int p, ArrayIndicatore &array)
{
    double *riga = array.riga(c.grado());
    int n = 0;
    if (p >= 1 && p < c.barre()) {
        const std::vector<double> &media = c.MediaMobile(p);
        n = int(media.size()) - 1;
        std::copy(media.begin() + 1, media.end(), riga + 1);
    }
    Coda(riga, n + 1, Vuoto_Media);
}

}  // namespace

int PeriodoUtente(const QVariant &testo)
{
    const QString t = testo.toString();
    if (!vb::IsNumeric(t))
        return 0;
    const std::optional<double> valore = vb::LeggiNumero(t);
    if (!valore || !std::isfinite(*valore))
        return 0;
    const double intero = std::floor(*valore);
    // No series holds more bars than the output rows have cells.
    if (intero < 1.0 || intero > double(Ultima_Cella))
        return 0;
    return int(intero);
}

void Calcola_Media_C2(ContestoIndicatori &c, StatoIndicatori &out) { mediaMobile(c, c.periodo(2), out.Ind_Media_C2); }
void Calcola_Media_C4(ContestoIndicatori &c, StatoIndicatori &out) { mediaMobile(c, c.periodo(4), out.Ind_Media_C4); }
void Calcola_Media_C8(ContestoIndicatori &c, StatoIndicatori &out) { mediaMobile(c, c.periodo(8), out.Ind_Media_C8); }
void Calcola_Media_C16(ContestoIndicatori &c, StatoIndicatori &out)
{
    mediaMobile(c, c.periodo(16), out.Ind_Media_C16);
}

// An unusable period (empty, 0, not a number, longer than the series) leaves the
// row empty rather than showing a mean of some earlier period.
void Calcola_Media_Utente_1(ContestoIndicatori &c, StatoIndicatori &out)
{
    mediaMobile(c, PeriodoUtente(out.Periodo_Utente_1[size_t(c.grado())]), out.Ind_Media_Utente_1);
}

void Calcola_Media_Utente_2(ContestoIndicatori &c, StatoIndicatori &out)
{
    mediaMobile(c, PeriodoUtente(out.Periodo_Utente_2[size_t(c.grado())]), out.Ind_Media_Utente_2);
}

}  // namespace indicatori
