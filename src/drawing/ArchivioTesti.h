#pragma once

// The text store: table Dati_Testo_S<underlying> of Sistema1.dat, columns C0 in use,
// C1/C2 date and time of the point, C3 price, C4 the text as typed ("@" in a free
// row), C5 colour code.

#include "archive/ArchivioOggetti.h"
#include "drawing/StatoDisegno.h"

namespace archivio {

// Rebuilds Testi through the shared loading walk: a used row that fails a check is
// freed, a valid text whose bar cannot be found keeps its row but not its slot.
EsitoCaricaOggetti Carica_Testi(int sottostante, SlotOggetti<Testo> &Testi, const MappaTempi &mappa,
                              SlotOggetti<RigaOggetto> *inAttesa = nullptr);
// Places the waiting objects of degree `grado` whose bars are now all reachable.
int Colloca_Testi_In_Attesa(SlotOggetti<Testo> &Testi, SlotOggetti<RigaOggetto> &inAttesa, int grado,
                        const MappaTempi &mappa);

// Writes one slot at once; a free slot becomes a free row. The text is a bound value:
// whatever the user typed comes back as it was.
[[nodiscard]] bool Salva_Testo(int sottostante, const SlotOggetti<Testo> &Testi, int grado, int slot, const MappaTempi &mappa,
                 QString *errore = nullptr);

}  // namespace archivio
