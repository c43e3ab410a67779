#pragma once

// The line store: table Dati_Linee_S<underlying> of Sistema1.dat, columns C0 in use,
// C1/C2 start date and time, C3 start price, C4/C5 end date and time, C6 end price,
// C7 colour code.

#include "archive/ArchivioOggetti.h"
#include "drawing/StatoDisegno.h"

namespace disegno::tabelle {

// Rebuilds Linee from the underlying's table through the shared loading walk: a used
// row that fails a check is freed; a valid row whose bars cannot be found keeps its
// row, its slot left empty, and waits in `inAttesa`.
archivio::EsitoCaricaOggetti Carica_Linee(int sottostante, SlotOggetti<Linea> &Linee,
                                          const archivio::MappaTempi &mappa,
                                          SlotOggetti<::RigaOggetto> *inAttesa = nullptr);
// Places the waiting objects of degree `grado` whose bars are now all reachable.
int Colloca_Linee_In_Attesa(SlotOggetti<Linea> &Linee, SlotOggetti<::RigaOggetto> &inAttesa,
                            int grado, const archivio::MappaTempi &mappa);

// Writes slot `slot` of degree `grado` at once, overwriting whatever its row held; a
// free slot becomes a free row. False, with the reason, when nothing could be written:
// the archive failed, or a point maps to no bar.
[[nodiscard]] bool Salva_Linea(int sottostante, const SlotOggetti<Linea> &Linee, int grado, int slot,
                               const archivio::MappaTempi &mappa, QString *errore = nullptr);

}  // namespace disegno::tabelle
