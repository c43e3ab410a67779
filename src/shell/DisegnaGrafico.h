#pragma once

// Builds one chart slot from scratch from the session state: the sections of
// every layer (cycle/SezioniGrafico.h lists them in order). Every failing item
// is skipped and the final redraw always runs.

#include <QString>

struct Stato;
class ControlliGrafici;

namespace finestra {

// Rebuilds slot `grafico` (0..3) for degree `grado` (0..12); writes
// Titoli_Grafici(grafico) and the slot's chart, nothing else.
void Disegna_Grafico(Stato &stato, ControlliGrafici &controlli, int grafico, int grado);

}  // namespace finestra
