#include "cycle/SezioniGrafico.h"
#include "cycle/StatoCicli.h"
#include "platform/VbRuntime.h"

namespace ciclo {

void Disegna_Curva_Battleplan(ContestoGrafico &c)
{
    c.ctl.Nuova_Serie(QString());
    c.ctl.Stile_Serie(c.Colore(70), 2, 1);
    c.ctl.Tipo_Punto_Serie(0);

    const auto n = vb::CIntChecked(c.Estensione_Grafico);
    if (!n)
        return;
    // A curve not yet recomputed for the current extent stops where it ends.
    const std::vector<double> &curva = c.cicli.Battleplan[size_t(c.grado)];
    const int fine = std::min(*n, int(curva.size()) - 1);
    for (int i = 1; i <= fine; ++i)
        c.ctl.Aggiungi_Punto(i, curva[size_t(i)]);
}

}  // namespace ciclo
