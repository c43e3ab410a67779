#pragma once

struct Stato;

namespace finestra {

// First step of every loading: raises the busy flag and starts the future time
// axes, the indicator switches and the 26 indicator outputs from empty, so a
// reload keeps nothing of the previous underlying. The capacities themselves are
// the constants of platform/Costanti.h.
void Inizializza_Variabili(Stato &stato);

}  // namespace finestra
