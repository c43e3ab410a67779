// The degree's volume-at-price profile: one horizontal bar per price level from
// the left edge, the fullest level reaching one cycle duration.

#include "indicators/GraficoIndicatori.h"

#include "archive/StatoArchivio.h"
#include "cycle/StatoCicli.h"
#include "indicators/StatoIndicatori.h"
#include "indicators/TabellaIndicatori.h"

#include <cmath>

void Disegna_Profilo_Volumi(ContestoGrafico &c, const StatoIndicatori &ind)
{
    if (ind.Ind_Attivo[size_t(c.grado)][19] != 1)
        return;
    const ProfiloVolumi &profilo = ind.Profilo_Volumi[size_t(c.grado)];
    // Never computed, or computed for another market: nothing to show.
    if (!profilo.calcolato() || profilo.sottostante != c.archivio.Sottostante_Corrente)
        return;

    double massimo = profilo.livelli.front().volume;
    for (const LivelloVolume &l : profilo.livelli)
        if (l.volume > massimo)
            massimo = l.volume;
    // With no volume at all every level is drawn with length 0.
    double scala = c.cicli.Durata[size_t(c.grado)] / massimo;
    if (!std::isfinite(scala))
        scala = 0.0;

    for (const LivelloVolume &l : profilo.livelli) {
        c.ctl.Nuova_Serie(QString());
        c.ctl.Stile_Serie(c.Colore(indicatori::Colore_Item(indicatori::Item_Profilo_Volumi)), 1, 1);
        c.ctl.Tipo_Punto_Serie(0);
        c.ctl.Aggiungi_Punto(0.0, l.prezzo);
        c.ctl.Aggiungi_Punto(l.volume * scala, l.prezzo);
    }
}
