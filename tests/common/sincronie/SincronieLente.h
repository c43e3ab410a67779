#pragma once

// Every fsync and fdatasync of a program that links this (the archive's SQLite, the
// history files' QSaveFile, any other) goes through here first: it can be made slow, as
// on a disk other programs keep busy, and is counted, apart the calls made on the
// program's main thread (the window's). Linked only by the programs that need it: the
// library defines those two functions and exports them, so the shared libraries call them
// in place of the C library's, to which they forward.

#include <cstdint>
#include <string>
#include <vector>

namespace sincronie {

// From now on each sync waits this long before it runs (0: no wait).
void Imposta_Ritardo(int millisecondi);

// Syncs begun since the program started, all of them and those of the main thread.
std::uint64_t Totali();
std::uint64_t Sul_Thread_Principale();

// The files and folders synced since the program started, in order, each by the path its
// descriptor had then.
std::vector<std::string> Percorsi();

}  // namespace sincronie
