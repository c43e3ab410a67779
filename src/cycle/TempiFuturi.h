#pragma once

// The future time axis: date and time of each bar position right of the newest
// bar, on weekdays and, for the intraday degrees, within the trading day
// (stamped opening time + one step up to the first stamp at or after closing).
// Result in StatoCicli::Tempi_Futuri[grado], element j - 1 for entry j; a shorter
// recomputation leaves the later entries as they were.

#include <QDate>

struct StatoCicli;
struct StatoMercato;

namespace ciclo {

QDate ProssimoGiornoFeriale(const QDate &data);
// Minutes between two future bars of the degree (0 for the daily degrees).
int PassoMinuti(int grado);

void Calcola_Tempi_Futuri_Grado(StatoCicli &cicli, const StatoMercato &mercato, int grado);
void Calcola_Tempi_Futuri(StatoCicli &cicli, const StatoMercato &mercato);

}  // namespace ciclo
