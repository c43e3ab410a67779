#include "archive/StatoArchivio.h"
#include "cycle/GraficoTempoReale.h"
#include "cycle/SezioniGrafico.h"
#include "cycle/StatoCicli.h"
#include "market/SerieStorico.h"
#include "platform/StatoProgramma.h"
#include "platform/VbRuntime.h"

void Disegna_Ultimo_Prezzo(ContestoGrafico &c)
{
    // Degrees 6 and 7 share the 15-minute series but never follow the last price.
    if (!tempo_reale::Grado_RT(c.grado))
        return;
    if (c.archivio.Grafico_RT != 1 || c.programma.Modalita != QLatin1String("ONLINE") || c.Text_Last.isEmpty())
        return;
    // Without a newest bar there is nothing to join the last price to.
    const SerieStorico &serie = c.Serie();
    if (!serie.valida(1) || !serie.barra(1).data.isValid())
        return;
    const double chiusura = serie.barra(1).chiusura;
    const double x = c.cicli.Barre_Ciclo[size_t(c.grado)];

    c.ctl.Nuova_Serie(QString());
    c.ctl.Stile_Serie(255, 2, 1);
    c.ctl.Tipo_Punto_Serie(0);
    c.ctl.Aggiungi_Punto(x, chiusura);
    // A text that is not a number keeps the newest close: the segment is drawn flat.
    c.ctl.Aggiungi_Punto(x + 1, vb::CDbl(c.Text_Last, chiusura));
}
