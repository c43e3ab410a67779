#pragma once

#include <QString>

// Why a file could not be written, in the trader's words: every writer that tells
// the trader about a file it could not save takes the cause from here.
namespace errori_file {

// The cause of a failed write of `percorso`: `codice` is the system's error code
// (errno) of the call that failed, `testoSistema` the system's own words for it.
// A code that names no cause the trader knows (0 included) is explained from the
// state of the disk and of the folder; failing that the system's words are kept.
QString Causa_Scrittura(int codice, const QString &percorso, const QString &testoSistema = {});

// Causes no system code names, each said here once: another program holds the file; the
// file is damaged; the file is missing (with the folder, when that is what is missing).
QString Causa_In_Uso();
QString Causa_Danneggiato();
QString Causa_Mancante(const QString &percorso);
// What a store says when it gives no reason the trader could act on.
QString Causa_Sconosciuta();

}  // namespace errori_file
