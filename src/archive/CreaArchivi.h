#pragma once

// The three archive files and what they must hold. Crea_Archivi() runs once at
// start, before any archive operation: every file, table, column and row below is
// created when missing, so the stores only ever read rows and update columns.
//
// Every table is  ID INTEGER PRIMARY KEY  plus text columns C<n>; every value is text.
//
// Sistema3.dat
//   TABAVV        row 1, C1..C9: C1 current underlying "2", C2..C4 unused (NULL),
//                 C5 remembered user id "@", C6 password, always "@" (never stored),
//                 C7 remember-me "0", C8 colour scheme "0", C9 real-time charts "0".
//   TAB0..TAB12   rows 1..7 (underlying), C1..C15 per-degree cycle settings:
//                 C1 "2" sub-cycles, C2 "100" duration, C3 "0" trend, C4 "2" Tempi,
//                 C5 "0" compression, C6 "5" zoom, C7 "1" proportion, C8 "50" Y position,
//                 C9 "1" pointer mode, C10 "1" grid 1, C11 "0" grid 2,
//                 C12/C13 cycle-start date and time NULL (the loader takes yesterday 10:00),
//                 C14 "0" history-line mode, C15 "0" moving coordinates.
//   TABGRAF       rows 1..7, C1..C12: C1..C4 slots in use "1"; C5..C8 degrees "5","6","7","8";
//                 C9..C12 grid positions "0","1","2","3".
// Sistema2.dat
//   TAB0..TAB12   rows 1..7, C1..C23 indicator switches, user periods (C7, C8) and
//                 adaptive mode (C11), all "0".
// Sistema1.dat
//   Dati_Linee_S1..S7   rows 1..195 (ID = degree * 15 + slot), C0..C7 all "0".
//   Dati_Testo_S1..S7   rows 1..195, C0..C3 "0", C4 "@", C5 "0".
//   Dati_Dista_S1..S7   rows 1..195, C0..C10 "0", C11 "@".
//
// Repairs: a missing table or row is created with the defaults; a missing column is
// added and filled with its default; a table without an ID column is renamed aside
// and created again; a file that is empty, not a readable database, or of another size
// than its header gives is repaired: a new file is built beside it (SistemaN.dat.riparazione)
// with every row that can still be read from it, the defaults filling the rest, and synced;
// then the damaged file is renamed aside (SistemaN.dat.danneggiato-<time>) and the new one
// takes its place. What the repair's notice must say is kept beside the file
// (SistemaN.dat.avviso) from before the damaged file is set aside until the notice has been
// shown. A start that finds the new file beside the archive finishes the repair a crash
// interrupted: a complete new file takes the place of an archive that fails its check or
// holds none of the program's tables, and is set aside beside one in order; one whose build
// had barely begun is dropped. Each repair is reported in the result in the trader's words
// (what went back to its defaults), nothing is ever thrown away.
//
// A file another program holds locked is in use, not damaged: nothing of it is changed.

#include "archive/Archivio.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace archivio {

struct DefinizioneTabella {
    QString nome;
    QStringList colonne;  // value columns, without ID
    // Default value of each column (same order); nullopt leaves the column NULL.
    std::vector<std::optional<QString>> predefiniti;
    // Row ids, in order, and per-row overrides of the defaults (only TABGRAF has them).
    std::vector<int> righe;
    std::optional<QString> (*valoreRiga)(int id, int colonna) = nullptr;
};

// Every table of one file, in creation order.
std::vector<DefinizioneTabella> SchemaArchivio(FileArchivio file);

// Default value of a column of a row, as created.
std::optional<QString> ValorePredefinito(const DefinizioneTabella &tabella, int id, int colonna);

struct EsitoArchivi {
    bool ok = true;            // false when a file could not be made usable
    QStringList Riparazioni;   // what was created or set aside, for the user
    QStringList Errori;        // what failed
    QStringList In_Uso;        // the files another program holds ("Sistema3.dat"), left as they were
    // The same told file by file: each file's repairs, then its failures, one text a file.
    QStringList Paragrafi;
    // Repair notices kept beside their files, told again at every start until Avvisi_Mostrati.
    QStringList Da_Confermare;
};

// How long the start waits for a file another program holds before it says so.
constexpr int Attesa_Archivi_In_Uso_ms = 3000;

// What the start does between two tries of the files another program holds (`inUso`,
// "Sistema3.dat"): waits `ms`, and may show meanwhile that it waits. No archive file is open then.
class AttesaArchivi {
public:
    virtual ~AttesaArchivi() = default;
    virtual void Attendi(const QStringList &inUso, int ms) = 0;
};

// Makes the three files complete. Safe to call at every start; a complete archive
// is left as it is, except that the password column is forced back to "@". A file
// another program holds is tried again until `attesaMs` have passed since the start,
// waiting through `attesa` (the thread sleeps without one).
EsitoArchivi Crea_Archivi(int attesaMs = Attesa_Archivi_In_Uso_ms, AttesaArchivi *attesa = nullptr);
// The same for one file.
EsitoArchivi Crea_Archivio(FileArchivio file);
// The repair notices of `esito` have been shown: no later start tells them again.
void Avvisi_Mostrati(const EsitoArchivi &esito);

}  // namespace archivio
