#pragma once

// The one-setting writer of the cycle settings and chart slots in Sistema3.dat,
// driven by a letter code (see archivio::Destinazione for where each is written).

struct StatoArchivio;
struct StatoCicli;
struct StatoProgramma;

namespace ciclo {

// Writes the setting named by the first character of Codice_Modifica for the
// current underlying: "S" "C" "D" "T" "K" "B" "Z" "H" "A" "L" "M" "N" "P" "F" "O"
// "E" "G" "I". The index is the degree (0..12), the slot (0..3) for "O" and "E",
// unused by "S" and "G". An unknown letter, or an index out of range, writes
// nothing and returns false; so does a failed statement.
bool Salva_Parametro(const StatoProgramma &programma, const StatoArchivio &archivio, const StatoCicli &cicli,
                     int indice);

}  // namespace ciclo
