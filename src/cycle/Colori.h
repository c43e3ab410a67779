#pragma once

// The colour table of both schemes (0 dark, 1 light): 101 Windows colour values.

#include <array>
#include <cstdint>

struct StatoCicli;

namespace ciclo {

// The system's button face colour, resolved at the widget.
inline constexpr std::uint32_t Colore_Faccia_Pulsante = 0x8000000Fu;

void Imposta_Colori(StatoCicli &cicli, int aspetto);
std::array<std::uint32_t, 101> TabellaColori(int aspetto);

}  // namespace ciclo
