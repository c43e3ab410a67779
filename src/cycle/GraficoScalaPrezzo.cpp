#include "cycle/ScalaPrezzo.h"
#include "cycle/SezioniGrafico.h"
#include "cycle/StatoCicli.h"
#include "market/SerieStorico.h"
#include "platform/VbRuntime.h"

#include <cmath>

namespace ciclo {

IntervalloPrezzo Calcola_Scala_Prezzo(const SerieStorico &serie, double estensione, double zoom, int zoomMax,
                                      int valoreBarra, int barraMax)
{
    IntervalloPrezzo r;
    const auto n = vb::CIntChecked(estensione);
    if (!n)
        return r;
    // A series shorter than the extent is scanned as far as it holds bars.
    const int fine = std::min(*n, serie.capacita());
    double lo = 0.0;
    double hi = 0.0;
    for (int b = 1; b <= fine; ++b) {
        const BarraStorico &barra = serie.barra(b);
        if (!barra.data.isValid() || !std::isfinite(barra.chiusura))
            continue;
        if (!r.valido) {
            lo = hi = barra.chiusura;
            r.valido = true;
        }
        lo = std::min(lo, barra.chiusura);
        hi = std::max(hi, barra.chiusura);
    }
    if (!r.valido)
        return r;

    const double s1 = zoomMax != 0 ? (hi - lo) / zoomMax : 0.0;
    lo -= (7 - zoom) * s1;
    if (lo < 0)
        lo = 0;
    hi += (7 - zoom) * s1;

    const double s2 = barraMax != 0 ? (hi - lo) / barraMax : 0.0;
    const double spostamento = (valoreBarra - 50) * s2;
    lo -= spostamento;
    hi -= spostamento;
    r.minimo = lo;
    r.massimo = hi - spostamento;
    return r;
}

void Imposta_Scala_Prezzo(ContestoGrafico &c)
{
    const IntervalloPrezzo r =
        Calcola_Scala_Prezzo(c.Serie(), c.Estensione_Grafico, c.cicli.Zoom[size_t(c.grado)], c.Sld_Zoom_Max,
                             c.Hsc_Graf_Y_Valore, c.Hsc_Graf_Y_Max);
    // Already current after the axis set-up; chosen again so that a set-up cut
    // short cannot send the range to another axis.
    c.ctl.Seleziona_Asse_Y(2);
    c.ctl.Scala_Fissa_Asse(1);
    c.ctl.Minimo_Asse(r.minimo);
    c.ctl.Massimo_Asse(r.massimo);
    c.P_Basso = c.ctl.Minimo_Asse();
    c.P_Alto = c.ctl.Massimo_Asse();
}

}  // namespace ciclo
