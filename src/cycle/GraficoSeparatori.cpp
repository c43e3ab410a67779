#include "cycle/PosizioneBarra.h"
#include "cycle/SezioniGrafico.h"
#include "cycle/StatoCicli.h"
#include "platform/Schermo.h"
#include "platform/VbRuntime.h"

namespace ciclo {

namespace {

int minutiBarra(int grado)
{
    if (grado <= 5)
        return 60;  // the daily degrees use the hourly length too
    if (grado <= 9)
        return 15;
    return 5;
}

void linea(ContestoGrafico &c, double x)
{
    c.ctl.Nuova_Serie(QString());
    c.ctl.Stile_Serie(schermo::Rgb(63, 40, 147), 1, 2);
    c.ctl.Tipo_Punto_Serie(0);
    c.ctl.Aggiungi_Punto(x, 0);
    c.ctl.Aggiungi_Punto(x, 28);
}

}  // namespace

// A line at every bar stamped one bar after the opening: the first bar of each
// trading day. Times compare by hour and minute, as their h:mm texts would.
void Disegna_Separatori_Giorno(ContestoGrafico &c)
{
    const size_t g = size_t(c.grado);
    const StatoCicli &cicli = c.cicli;
    if (cicli.Griglia_2[g] != 1 || !cicli.Inizio_Sessione.isValid())
        return;
    const int riferimento = (cicli.Inizio_Sessione.hour() * 60 + cicli.Inizio_Sessione.minute()
                             + minutiBarra(c.grado)) % 1440;

    const int barre = cicli.Barre_Ciclo[g];
    const SerieStorico &serie = c.Serie();
    for (int i = 1; i <= barre; ++i) {
        const int k = barre + 1 - i;
        // A bar that is missing or has no date has no time to compare.
        if (!serie.valida(k) || !serie.barra(k).data.isValid())
            continue;
        if (serie.barra(k).minuti % 1440 == riferimento)
            linea(c, i);
    }

    // Daily future bars carry no time of day, so they never match.
    if (posizione::GradoGiornaliero(c.grado))
        return;
    const auto futuri = vb::CIntChecked(cicli.Durata[g] - barre + cicli.Scostamento_Ciclo[g]);
    if (!futuri)
        return;
    const std::vector<TempoFuturo> &tempi = cicli.Tempi_Futuri[g];
    const int fine = std::min(*futuri, int(tempi.size()));
    for (int j = 1; j <= fine; ++j) {
        const TempoFuturo &t = tempi[size_t(j - 1)];
        if (t.data.isValid() && t.minuti % 1440 == riferimento)
            linea(c, barre + j);
    }
}

}  // namespace ciclo
