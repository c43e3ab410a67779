#include "shell/SpostaPannello.h"

namespace layout {

std::optional<Punto> Segui_Mouse(double x, double y, double top, double left, double larghezza, double altezza,
                                 double presaX, double presaY)
{
    const double T = top, L = left, W = larghezza, H = altezza;
    // Over the panel itself the move is the panel's own, not the frame's.
    if (T <= y && y < T + H && L <= x && x < L + W)
        return std::nullopt;
    const bool lungoX = L < x && x < L + W;
    const bool lungoY = T < y && y < T + H;
    if (y < T && lungoX)
        return Punto{x - presaX, y};
    if (y > T && lungoX)
        return Punto{x - presaX, y - H};
    if (x < L && lungoY)
        return Punto{x, y - presaY};
    if (x > L && lungoY)
        return Punto{x - W, y - presaY};
    if (y <= T && x <= L)
        return Punto{x, y};
    if (y <= T && x > L + W)
        return Punto{x - W, y};
    if (y >= T + H && x <= L)
        return Punto{x, y - H};
    if (y >= T + H && x >= L + W)
        return Punto{x - W, y - H};
    return std::nullopt;
}

int Quadrante(double top, double left, double altezzaCornice, double larghezzaCornice)
{
    const double h2 = altezzaCornice / 2;
    const double w2 = larghezzaCornice / 2;
    return (top < h2 ? 0 : 2) + (left < w2 ? 0 : 1);
}

bool Sposta_Pannello(std::array<SlotGrafico, costanti::Num_Slot> &conf, int slot, int posizione)
{
    if (slot < 0 || slot >= costanti::Num_Slot || posizione < 0 || posizione >= costanti::Num_Slot)
        return false;
    for (SlotGrafico &altro : conf) {
        if (altro.posizione == posizione) {
            altro.posizione = conf[size_t(slot)].posizione;
            break;
        }
    }
    conf[size_t(slot)].posizione = posizione;
    return true;
}

}  // namespace layout
