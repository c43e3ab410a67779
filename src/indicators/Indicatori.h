#pragma once

// The indicator routines, one per item, each rewriting cells 1..5000 of its rows
// of the context's degree. They take the run's snapshot and write the output
// arrays; the banner and the redraw belong to the engine (MotoreIndicatori).

#include <QVariant>

struct StatoArchivio;
struct StatoCicli;
struct StatoMercato;
struct StatoIndicatori;

namespace indicatori {

class ContestoIndicatori;

// Items 0..3: trailing means over D/2, D/4, D/8, D/16.
void Calcola_Media_C2(ContestoIndicatori &c, StatoIndicatori &out);
void Calcola_Media_C4(ContestoIndicatori &c, StatoIndicatori &out);
void Calcola_Media_C8(ContestoIndicatori &c, StatoIndicatori &out);
void Calcola_Media_C16(ContestoIndicatori &c, StatoIndicatori &out);
// Items 4, 5: trailing means over the period the user typed for the degree.
void Calcola_Media_Utente_1(ContestoIndicatori &c, StatoIndicatori &out);
void Calcola_Media_Utente_2(ContestoIndicatori &c, StatoIndicatori &out);
// The period of a user average: the whole part of the typed number, or 0 when
// the text is empty, not a number, below 1 or too long for any series.
int PeriodoUtente(const QVariant &testo);

// Item 6: distances from the lowest and highest close of a D/2 window, smoothed over D/8.
void Calcola_Stocastico(ContestoIndicatori &c, StatoIndicatori &out);

// Items 7, 17, 18: bar-to-bar change of the D/2, D/4, D/8 trailing mean, smoothed over D/8.
void Calcola_Velocita_C2(ContestoIndicatori &c, StatoIndicatori &out);
void Calcola_Velocita_C4(ContestoIndicatori &c, StatoIndicatori &out);
void Calcola_Velocita_C8(ContestoIndicatori &c, StatoIndicatori &out);

// Items 8..11: centred means over D/2, D/4, D/8, D/16.
void Calcola_Media_Centrata_C2(ContestoIndicatori &c, StatoIndicatori &out);
void Calcola_Media_Centrata_C4(ContestoIndicatori &c, StatoIndicatori &out);
void Calcola_Media_Centrata_C8(ContestoIndicatori &c, StatoIndicatori &out);
void Calcola_Media_Centrata_C16(ContestoIndicatori &c, StatoIndicatori &out);

// Item 12: change of the D/2 centred mean, smoothed over D/8.
void Calcola_Velocita_Centrata_C2(ContestoIndicatori &c, StatoIndicatori &out);

// Items 13..16: differences of two centred means.
void Calcola_Oscillatore_C4_C2(ContestoIndicatori &c, StatoIndicatori &out);
void Calcola_Oscillatore_C8_C4(ContestoIndicatori &c, StatoIndicatori &out);
void Calcola_Oscillatore_C16_C8(ContestoIndicatori &c, StatoIndicatori &out);
void Calcola_Oscillatore_C8_C2(ContestoIndicatori &c, StatoIndicatori &out);

// Item 19: volume-at-price profile of the bars of the current cycle of `grado`.
// Level width by underlying (1..7) and degree; 0 where none is defined.
double LarghezzaLivello(int sottostante, int grado);
// True when the underlying offers no profile on the degree (nothing to compute).
bool ProfiloEscluso(int sottostante, int grado);
void Calcola_Profilo_Volumi(const StatoArchivio &archivio, const StatoMercato &mercato, const StatoCicli &cicli,
                            StatoIndicatori &indicatori, int grado);

}  // namespace indicatori
