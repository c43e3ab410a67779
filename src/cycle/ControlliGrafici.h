#pragma once

// The window controls of the four chart slots that the chart drawing and the
// scroll-bar set-up touch. The main window implements it with real widgets;
// tests use windowless stand-ins.

#include "chart/GraficoControllo.h"
#include "platform/BarraScorrimento.h"

#include <QString>

class ControlliGrafici {
public:
    virtual ~ControlliGrafici() = default;
    // nullptr for a slot outside 0..3
    virtual GraficoControllo *Graf_Battleplan(int slot) = 0;
    virtual BarraScorrimento *Hsc_Graf(int slot) = 0;
    virtual BarraScorrimento *Hsc_Graf_Y(int slot) = 0;
    // Hsc_Graf, Cmd_GRaf_M, Cmd_GRaf_P, Cmd_Sposta and Cmd_Coord of the slot.
    virtual void Mostra_Comandi_Slot(int slot, bool visibili) = 0;
    // Sld_Zoom's maximum, which sets the zoom step of the price axis.
    virtual int Sld_Zoom_Max() const = 0;
};
