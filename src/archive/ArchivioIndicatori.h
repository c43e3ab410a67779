#pragma once

// The indicator switches of every degree and underlying, kept in Sistema2.dat
// (tables TAB0..TAB12, columns C1..C23, one row per underlying): loaded whole at
// every loading into Tab_Indicatori, written one column at a time when the user
// changes a switch, a user period or the adaptive mode.

#include <QString>

struct StatoArchivio;

// Rebuilds Tab_Indicatori from the file. Switches and the mode read as "1" when
// their value is at least 1, else "0"; the two user periods as read when they are
// a whole number of bars within the history, else "0". Rows missing or with an ID
// outside 1..7 leave the defaults. False (with the reason) when the file or a
// table cannot be read; the table is then all defaults.
bool Carica_Indicatori(StatoArchivio &archivio, QString *errore = nullptr);

// Writes `valore` under save key k (0..22) of degree `grado` for the current
// underlying. A key, degree or underlying out of range writes nothing and returns
// false. The values come from Salva_Indicatore (indicators/ImpostazioniIndicatori.h).
[[nodiscard]] bool Scrivi_Indicatore(const StatoArchivio &archivio, int grado, int k, const QString &valore,
                       QString *errore = nullptr);

// The save key of indicator item 0..19 (the check boxes), -1 outside.
int Chiave_Indicatore(int item);
// The column number n (for "Cn") that save key k writes, 0 outside 0..22.
int Colonna_Chiave(int k);
