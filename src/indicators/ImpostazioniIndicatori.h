#pragma once

// The indicator settings of the current underlying: read from Tab_Indicatori at
// every loading, written back one save key at a time.

#include <QString>

struct StatoArchivio;
struct StatoIndicatori;

namespace indicatori {

// Loading phase 2, after the cycle settings: the switches, the adaptive mode and
// the two user periods of every degree, from Tab_Indicatori of Sottostante_Corrente.
void Carica_Impostazioni_Indicatori(const StatoArchivio &archivio, StatoIndicatori &indicatori);

}  // namespace indicatori

// Writes save key k (0..22) of degree `grado` for the current underlying. A key or
// degree out of range writes nothing and returns false.
[[nodiscard]] bool Salva_Indicatore(const StatoArchivio &archivio, const StatoIndicatori &indicatori, int grado, int k,
                      QString *errore = nullptr);
