#pragma once

// The per-degree cycle settings: constant tables, the copy of the current
// underlying's stored settings into the per-degree arrays with their bounds and
// repairs, and the cycle start rebuilt from its stored date and time.

#include <QDate>
#include <QString>

struct Stato;
struct StatoCicli;
struct StatoMercato;

namespace ciclo {

// The zero date: a cycle start that lies beyond the loaded history.
inline QDate DataZero() { return QDate(1899, 12, 30); }

void Inizializza_Tabelle_Cicli(StatoCicli &cicli);

// Bars per trading day of a degree's timeframe for the current underlying (1 for
// the daily degrees).
double BarrePerGiorno(const Stato &stato, int grado);

// Loading phase 2: from Tab_Sottostanti, Tab_Cicli and Tab_Indicatori of
// Sottostante_Corrente into the per-degree arrays, Conf_Grafici and the indicator
// switches; saves "D" for a corrected duration and "P" for a moved cycle start.
void Carica_Impostazioni_Sottostante(Stato &stato);

// Date (and, for degrees 4..12, time) of the cycle-start bar Barre_Ciclo(grado).
void Calcola_Data_Inizio_Ciclo(StatoCicli &cicli, const StatoMercato &mercato, int grado);

}  // namespace ciclo
