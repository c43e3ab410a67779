#pragma once

// The real-time chart switch and the handlers that act on all four chart
// slots at once. The window supplies the question box, the button colour, the
// redraw of one slot and the settings writer; nothing here touches a widget.

#include "chart/GraficoControllo.h"

#include <QString>

struct StatoArchivio;
struct StatoCicli;
struct StatoProgramma;

namespace tempo_reale {

inline const QString Titolo_Domanda = QStringLiteral("- Attivazione Grafici Real Time -");
// The question asked before switching real-time charts on, lines joined by CR LF.
QString Testo_Domanda();

// Degrees whose charts follow the last price (the 15- and 5-minute degrees 8..12).
inline constexpr int Primo_Grado_RT = 8;
inline constexpr int Ultimo_Grado_RT = 12;
inline bool Grado_RT(int grado) { return grado >= Primo_Grado_RT && grado <= Ultimo_Grado_RT; }

}  // namespace tempo_reale

// What the handlers need from the window (ControlloreTempoReale).
class AmbienteGraficoRT {
public:
    virtual ~AmbienteGraficoRT() = default;
    virtual void Beep() = 0;
    // Yes/No question with the question icon; true for Yes.
    virtual bool Domanda(const QString &titolo, const QString &testo) = 0;
    // Both face colours of Cmd_Graf_RT.
    virtual void Colore_Cmd_Graf_RT(ColoreWin colore) = 0;
    virtual void Disegna_Grafico(int grafico, int grado) = 0;
    // Writes Grafico_RT to the start-up settings; false when it could not be written.
    virtual bool Salva_Grafico_RT() = 0;
    // Graf_Battleplan(slot), nullptr when the slot has no chart.
    virtual GraficoControllo *Graf_Battleplan(int slot) = 0;
};

namespace ciclo {

// Switches Grafico_RT, shows it on the button, redraws the slots of the degrees
// 8..12 and saves the flag. Returns false when the flag could not be saved.
bool Cmd_Graf_RT_Click(StatoArchivio &archivio, const StatoCicli &cicli, AmbienteGraficoRT &ambiente);

// A new last price: redraws the slots of the degrees 8..12 while real-time
// charts are on and neither the loading nor a code-driven change holds the charts.
void Text_Last_Change(const StatoProgramma &programma, const StatoArchivio &archivio, const StatoCicli &cicli,
                      AmbienteGraficoRT &ambiente);

// Hides and empties the four charts.
void Cancella_Grafici(AmbienteGraficoRT &ambiente);

// Draws the four slots with the degree each shows; a slot not in use is hidden by the drawing.
void Disegna_Grafici(const StatoCicli &cicli, AmbienteGraficoRT &ambiente);

}  // namespace ciclo
