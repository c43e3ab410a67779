#pragma once

// The line store: table Dati_Linee_S<underlying> of Sistema1.dat, columns C0 in use,
// C1/C2 start date and time, C3 start price, C4/C5 end date and time, C6 end price,
// C7 colour code.

#include "archive/ArchivioOggetti.h"
#include "drawing/StatoDisegno.h"

namespace archivio {

struct EsitoCaricaOggetti {
    bool ok = true;
    QString errore;
    int collocati = 0;      // used rows placed on their bars
    int non_collocati = 0;  // valid rows whose bar is out of reach now: row and slot kept
    int liberati = 0;       // used rows that failed a check, rewritten as free
};

// Rebuilds Linee from the underlying's table. A used row that fails a check is freed;
// a valid row whose bars cannot be found keeps its row and its slot (in use, not
// found) so that no later placement overwrites it.
EsitoCaricaOggetti Carica_Linee(int sottostante, SlotOggetti<Linea> &Linee, const MappaTempi &mappa);

// Writes slot `slot` of degree `grado` at once. A free slot becomes a free row; a slot
// kept but not found is left as stored. False, with the reason, when nothing could be
// written: the archive failed, or a point maps to no bar.
bool Salva_Linea(int sottostante, const SlotOggetti<Linea> &Linee, int grado, int slot, const MappaTempi &mappa,
                 QString *errore = nullptr);

}  // namespace archivio
