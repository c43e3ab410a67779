#pragma once

// The buttons that switch one look of the current degree's chart, store it at
// once and redraw the current slot: the two grids and the price line's look.
// Other slots showing the same degree follow at their next redraw.

#include <QString>

struct Stato;
class ControlliGrafici;

namespace comandi {

struct EsitoComando {
    bool cambiato = false;  // the setting changed, was stored and the current slot redrawn
    bool salvato = false;   // the archive took it; when it did not, the setting is as stored
    QString errore;         // the text to show when the archive refused it
};

// Index 0 switches Griglia_1 ("M"), 1 Griglia_2 ("N"): 1 becomes 0, any other value 1.
EsitoComando Cmd_Griglia_Graf_Click(Stato &stato, ControlliGrafici &controlli, int indice);

// Modo_Linea_Storico steps 0, 1, 2, 0 ("F"). A value outside 0..2 is not one
// the drawing knows: it is left as it is, unsaved and undrawn.
EsitoComando Cmd_Linea_Stor_Click(Stato &stato, ControlliGrafici &controlli);

}  // namespace comandi
