#pragma once

// The per-degree cycle settings and the chart slots in Sistema3.dat: the one-
// setting writer driven by a letter code, and the loader that checks every stored
// value into Tab_Cicli.

#include <QDate>
#include <QString>

struct Stato;
struct StatoArchivio;

namespace archivio {

// Where a letter code is written.
struct DestinazioneCodice {
    QString tabella;  // "TAB4", "TABGRAF", "TABAVV"; empty for an unknown letter
    QString colonna;  // "C4"; for "P" and "G" the first of the columns written
};
DestinazioneCodice Destinazione(QChar codice, int indice);

// Writes the setting named by the first character of Codice_Modifica for the
// current underlying: "S" "C" "D" "T" "K" "B" "Z" "H" "A" "L" "M" "N" "P" "F" "O"
// "E" "G" "I". The index is the degree (0..12), the slot (0..3) for "O" and "E",
// unused by "S" and "G". An unknown letter, or an index out of range, writes
// nothing and returns false; so does a failed statement.
bool Salva_Parametro(const Stato &stato, int indice);

// Reads TAB0..TAB12 and TABGRAF of Sistema3.dat into Tab_Cicli for every
// underlying, each value checked against its range; a missing row, an empty column
// or a value out of range gets the setting's default. The default cycle start is
// yesterday (relative to `oggi`) written with `formatoData`, and 10:00.
// False when the file cannot be opened (every entry then holds its default).
bool Carica_Parametri(StatoArchivio &archivio, const QString &formatoData, const QDate &oggi = QDate::currentDate());

}  // namespace archivio
