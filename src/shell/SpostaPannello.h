#pragma once

// Moving a chart panel to another place of the two-by-two grid: where the panel
// goes while it follows the mouse, which quadrant it is dropped in, and the swap
// of grid positions with the panel that held that quadrant.

#include "cycle/StatoCicli.h"

#include <array>
#include <optional>

namespace layout {

struct Punto {
    double x = 0, y = 0;
    bool operator==(const Punto &) const = default;
};

// The panel's new top-left when the mouse at (x, y) lies outside it: the panel
// puts its nearest edge or corner under the mouse, keeping the grab offset
// (presa) along that edge. None while the mouse is over the panel.
std::optional<Punto> Segui_Mouse(double x, double y, double top, double left, double larghezza, double altezza,
                                 double presaX, double presaY);

// Grid position (0 top left, 1 top right, 2 bottom left, 3 bottom right) of the
// quadrant of the frame that holds the panel's top-left corner. The centre lines
// belong to the lower and right quadrants, so every drop lands somewhere.
int Quadrante(double top, double left, double altezzaCornice, double larghezzaCornice);

// Slot `slot` takes grid position `posizione`; the slot that held it takes the
// moved slot's old position. False, with nothing changed, for a slot or position
// outside 0..3.
bool Sposta_Pannello(std::array<SlotGrafico, costanti::Num_Slot> &conf, int slot, int posizione);

}  // namespace layout
