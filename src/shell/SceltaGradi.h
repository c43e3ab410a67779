#pragma once

// Which degrees the four chart slots show, chosen with the degree check boxes:
// at most four, one per slot. Ticking a degree gives it the lowest free slot,
// clearing it frees its slot (which keeps its last degree); both are saved at
// once. The widgets' side is ControlloreGradi::Chk_Battl_Click.

#include "platform/Costanti.h"

#include <array>

class QString;
struct Stato;
struct StatoCicli;

namespace gradi {

// The slot in use that shows `grado`; -1 when none does.
int Slot_Del_Grado(const StatoCicli &cicli, int grado);
// The lowest slot not in use; -1 when all four are.
int Slot_Libero(const StatoCicli &cicli);

// Frees the slot showing `grado` and saves "O" for it. Returns the slot, or -1
// (nothing changed) when no slot shows the degree or the archive refused the save,
// whose text is then left in `errore`.
int Togli_Grado(Stato &stato, int grado, QString *errore = nullptr);
// Gives `grado` the lowest free slot and saves "O" then "E" for it. Returns the
// slot, or -1 (nothing changed) when the degree is out of range, already shown,
// no slot is free, or the archive refused a save (its text left in `errore`).
int Metti_Grado(Stato &stato, int grado, QString *errore = nullptr);

// The four-box rule: with exactly four boxes ticked the others are disabled.
std::array<bool, costanti::Num_Gradi> Chk_Abilitati(const std::array<bool, costanti::Num_Gradi> &spuntati);

}  // namespace gradi
