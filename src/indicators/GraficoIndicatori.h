#pragma once

// The indicator sections of a chart slot's drawing (order and axes in
// cycle/SezioniGrafico.h).

#include "cycle/SezioniGrafico.h"

struct StatoIndicatori;

namespace indicatori {

// Volume-at-price profile, on the price axis, before everything else.
void Disegna_Profilo_Volumi(ContestoGrafico &c, const StatoIndicatori &indicatori);
// Indicator series and the five pane axes they add.
void Disegna_Indicatori(ContestoGrafico &c, const StatoIndicatori &indicatori);
// Ranges of the indicator pane axes Y 3..7.
void Imposta_Assi_Indicatori(ContestoGrafico &c, const StatoIndicatori &indicatori);

}  // namespace indicatori
