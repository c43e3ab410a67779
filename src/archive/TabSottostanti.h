#pragma once

#include "archive/StatoArchivio.h"

namespace archivio {

// Fills Tab_Sottostanti rows 1..7 with the built-in properties of the seven
// underlyings, discarding what was there.
void Inizializza_Tab_Sottostanti(StatoArchivio &stato);

// Row number of an underlying's name, searched from row 1; 0 when not found.
int Riga_Sottostante(const StatoArchivio &stato, const QString &nome);

}  // namespace archivio
