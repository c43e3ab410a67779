#pragma once

// The distance store: table Dati_Dista_S<underlying> of Sistema1.dat, columns C0 in
// use, C1/C2 start date and time, C3 start price, C4/C5 end date and time, C6 end
// price, C7 colour code, C8/C9 label date and time, C10 label price, C11 the label's
// duration text ("@" in a free row).

#include "archive/ArchivioOggetti.h"
#include "drawing/StatoDisegno.h"

namespace archivio {

// Rebuilds Distanze through the shared loading walk; a distance is placed only when
// all three of its points are found.
EsitoCaricaOggetti Carica_Distanze(int sottostante, SlotOggetti<Distanza> &Distanze, const MappaTempi &mappa,
                              SlotOggetti<RigaOggetto> *inAttesa = nullptr);
// Places the waiting objects of degree `grado` whose bars are now all reachable.
int Colloca_Distanze_In_Attesa(SlotOggetti<Distanza> &Distanze, SlotOggetti<RigaOggetto> &inAttesa, int grado,
                        const MappaTempi &mappa);

[[nodiscard]] bool Salva_Distanza(int sottostante, const SlotOggetti<Distanza> &Distanze, int grado, int slot,
                    const MappaTempi &mappa, QString *errore = nullptr);

}  // namespace archivio
