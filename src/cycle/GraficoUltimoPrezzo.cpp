#include "archive/StatoArchivio.h"
#include "cycle/GraficoTempoReale.h"
#include "cycle/SezioniGrafico.h"
#include "cycle/StatoCicli.h"
#include "market/SerieStorico.h"
#include "market/StatoMercato.h"
#include "platform/StatoProgramma.h"

#include <cmath>

void Disegna_Ultimo_Prezzo(ContestoGrafico &c)
{
    // Degrees 6 and 7 share the 15-minute series but never follow the last price.
    if (!tempo_reale::Grado_RT(c.grado))
        return;
    // The price as the tick gave it: its display text depends on the regional format.
    const std::optional<double> ultimo = c.mercato.Ultimo_Prezzo;
    if (c.archivio.Grafico_RT != 1 || c.programma.Modalita != QLatin1String("ONLINE") || !ultimo)
        return;
    // Without a newest bar there is nothing to join the last price to.
    const SerieStorico &serie = c.Serie();
    if (!serie.valida(1) || !serie.barra(1).data.isValid())
        return;
    if (!std::isfinite(*ultimo))
        return;
    const double chiusura = serie.barra(1).chiusura;
    const double x = c.cicli.Barre_Ciclo[size_t(c.grado)];

    c.ctl.Nuova_Serie(QString());
    c.ctl.Stile_Serie(255, 2, 1);
    c.ctl.Tipo_Punto_Serie(0);
    c.ctl.Aggiungi_Punto(x, chiusura);
    c.ctl.Aggiungi_Punto(x + 1, *ultimo);
}
