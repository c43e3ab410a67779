#include "cycle/TempiFuturi.h"

#include "cycle/PosizioneBarra.h"
#include "cycle/StatoCicli.h"
#include "market/StatoMercato.h"
#include "platform/VbRuntime.h"

#include <algorithm>

namespace ciclo {

QDate ProssimoGiornoFeriale(const QDate &data)
{
    const QDate dopo = data.addDays(1);
    switch (dopo.dayOfWeek()) {
    case Qt::Sunday: return data.addDays(2);
    case Qt::Saturday: return data.addDays(3);
    default: return dopo;
    }
}

int PassoMinuti(int grado)
{
    if (grado <= 3)
        return 0;
    if (grado <= 5)
        return 60;
    if (grado <= 9)
        return 15;
    return 5;
}

void Calcola_Tempi_Futuri_Grado(StatoCicli &cicli, const StatoMercato &mercato, int grado)
{
    if (grado < 0 || grado > costanti::Max_Grado)
        return;
    const auto g = size_t(grado);
    std::vector<TempoFuturo> &futuri = cicli.Tempi_Futuri[g];
    const SerieStorico &serie = posizione::SerieDelGrado(mercato, grado);
    if (serie.capacita() < 1 || !serie.barra(1).data.isValid()) {
        futuri.clear();
        return;
    }
    const int n = vb::CInt(cicli.Durata[g] - cicli.Barre_Ciclo[g] + cicli.Scostamento_Ciclo[g]);
    const int quanti = std::clamp(n, 1, costanti::Max_Tempi_Futuri);
    if (int(futuri.size()) < quanti)
        futuri.resize(size_t(quanti));

    const BarraStorico &ultima = serie.barra(1);
    if (posizione::GradoGiornaliero(grado)) {
        QDate data = ultima.data;
        for (int j = 0; j < quanti; ++j) {
            data = ProssimoGiornoFeriale(data);
            futuri[size_t(j)].data = data;
            futuri[size_t(j)].minuti = 0;
        }
        return;
    }

    const int passo = PassoMinuti(grado);
    const int apertura = cicli.Inizio_Sessione.isValid() ? cicli.Inizio_Sessione.msecsSinceStartOfDay() / 60000 : 0;
    const int chiusura = mercato.Fine_Sessione.isValid() ? mercato.Fine_Sessione.msecsSinceStartOfDay() / 60000 : 1440;
    QDate data = ultima.data;
    int t = ultima.minuti;
    for (int j = 0; j < quanti; ++j) {
        if (t >= apertura && t < chiusura) {
            t = (t + passo) % 1440;
        } else {
            data = ProssimoGiornoFeriale(data);
            t = (apertura + passo) % 1440;
        }
        futuri[size_t(j)].data = data;
        futuri[size_t(j)].minuti = t;
    }
}

void Calcola_Tempi_Futuri(StatoCicli &cicli, const StatoMercato &mercato)
{
    for (int d = 0; d <= costanti::Max_Grado; ++d)
        Calcola_Tempi_Futuri_Grado(cicli, mercato, d);
}

}  // namespace ciclo
