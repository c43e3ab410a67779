#pragma once

// The per-degree cycle settings: constant tables, the copy of the current
// underlying's stored settings into the per-degree arrays with their bounds and
// repairs, and the cycle start rebuilt from its stored date and time.

#include "archive/Archivio.h"
#include "market/FusioneStorico.h"

#include <QDate>
#include <QString>

struct StatoArchivio;
struct StatoCicli;
struct StatoMercato;
struct StatoProgramma;

namespace ciclo {

// The zero date: a cycle start that lies beyond the loaded history.
inline QDate DataZero() { return QDate(1899, 12, 30); }

void Inizializza_Tabelle_Cicli(StatoCicli &cicli);

// Bars per trading day of a degree's timeframe for the current underlying (1 for
// the daily degrees).
double BarrePerGiorno(const StatoArchivio &archivio, const StatoCicli &cicli, int grado);

// Loading phase 2: from Tab_Sottostanti and Tab_Cicli of Sottostante_Corrente
// into the per-degree arrays, Conf_Grafici and the underlying's session end and
// price format; saves "D" for a corrected duration and "P" for a moved cycle
// start. The indicator switches follow with indicatori::Carica_Impostazioni_Indicatori.
// With `salvataggi` those saves are added there for a writer, else made at once.
// Returns the text of the first of those saves the archive refused, empty when none.
[[nodiscard]] QString Carica_Impostazioni_Sottostante(const StatoProgramma &programma, StatoArchivio &archivio,
                                                      StatoMercato &mercato, StatoCicli &cicli,
                                                      archivio::Lotto *salvataggi = nullptr);

// Date (and, for degrees 4..12, time) of the cycle-start bar Barre_Ciclo(grado).
void Calcola_Data_Inizio_Ciclo(StatoCicli &cicli, const StatoMercato &mercato, int grado);

// Advances Barre_Ciclo of the degrees whose timeframe got a new bar in a
// real-time merge, up to Durata + Scostamento_Ciclo.
void Avanza_Barre_Ciclo(StatoCicli &c, const fusione::EsitoFusioneRT &esito);

}  // namespace ciclo
