#pragma once

// Range and value of each chart slot's two scroll bars from its degree's
// settings: Hsc_Graf runs 1 .. Durata + Scostamento_Ciclo and shows Barre_Ciclo,
// Hsc_Graf_Y runs 100 .. 1 and shows Posizione_Asse_Y. A setting outside its bar
// is corrected in memory only (10 and 50), never saved here.

struct StatoCicli;
struct StatoProgramma;
class ControlliGrafici;

namespace ciclo {

void Imposta_Barre_Grafico(StatoProgramma &programma, StatoCicli &cicli, ControlliGrafici &controlli, int slot,
                           int grado);
void Imposta_Barre_Grafici(StatoProgramma &programma, StatoCicli &cicli, ControlliGrafici &controlli);

}  // namespace ciclo
