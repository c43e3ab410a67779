#include "cycle/SezioniGrafico.h"
#include "cycle/StatoCicli.h"
#include "platform/VbRuntime.h"

namespace ciclo {

void Disegna_Suddivisioni(ContestoGrafico &c)
{
    const size_t g = size_t(c.grado);
    const StatoCicli &cicli = c.cicli;
    if (cicli.Griglia_1[g] != 1)
        return;

    const int parti = cicli.Tempi[g] * cicli.Sottocicli[g];
    const double durata = cicli.Durata[g];
    if (parti <= 0 || !(durata > 0))
        return;
    const double E = c.Estensione_Grafico;
    const double passo = (E - cicli.Scostamento_Ciclo[g]) / parti;
    const double rapporto = E / durata;
    const auto ultima = vb::CIntChecked(rapporto * parti - 1);
    if (!ultima)
        return;

    // The line index, not its position, is held against the extent.
    for (int i = 1; i <= *ultima && i <= E; ++i) {
        c.ctl.Nuova_Serie(QString());
        if (i == parti)
            c.ctl.Stile_Serie(c.Colore(70), 1, 2);
        else
            c.ctl.Stile_Serie(c.Colore(86), 1, 1);
        c.ctl.Tipo_Punto_Serie(0);
        c.ctl.Aggiungi_Punto(i * passo, 0);
        c.ctl.Aggiungi_Punto(i * passo, 28);
    }
}

}  // namespace ciclo
