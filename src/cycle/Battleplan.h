#pragma once

// The Battleplan curve: the projected cycle shape, one value per chart position
// from the cycle start (1) to Durata + Scostamento_Ciclo, in chart units around 19.
// Result in StatoCicli::Battleplan[grado], element i the value at position i
// (element 0 unused, so the vector holds N + 1 values).

#include <QString>

struct StatoCicli;

namespace ciclo {

void Calcola_Battleplan(StatoCicli &cicli, int grado);
void Calcola_Battleplan_Tutti(StatoCicli &cicli);

// The trend coefficient looked up by the first three characters of the proportion
// ("1.1" .. "2.0"); 0 when the key is not in the table.
double CoefficienteTendenza(double proporzione);

}  // namespace ciclo
