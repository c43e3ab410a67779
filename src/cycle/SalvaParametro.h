#pragma once

// The one-setting writer of the cycle settings and chart slots in Sistema3.dat,
// driven by a letter code (see archivio::Destinazione for where each is written).

#include "archive/Archivio.h"
#include "archive/ParametriCicli.h"

#include <QString>
#include <optional>

struct StatoArchivio;
struct StatoCicli;
struct StatoProgramma;

namespace ciclo {

// Writes the setting `codice` for the current underlying. The index is the degree
// (0..12), the slot (0..3) for "O" and "E", unused by "S" and "G". An unknown
// letter, or an index out of range, writes nothing and returns false; so does a
// statement the archive refuses, and then `errore` gets the text to show.
[[nodiscard]] bool Salva_Parametro(const StatoProgramma &programma, const StatoArchivio &archivio,
                                   const StatoCicli &cicli, archivio::Codice_Modifica codice, int indice,
                                   QString *errore = nullptr);

// The row and columns Salva_Parametro would write, for a batch saved later; nothing
// for an unknown letter or an index out of range.
std::optional<archivio::Aggiornamento> Voce_Parametro(const StatoProgramma &programma, const StatoArchivio &archivio,
                                                      const StatoCicli &cicli, archivio::Codice_Modifica codice,
                                                      int indice);

// The text that reports a setting the archive did not take.
QString Errore_Salvataggio(const QString &dettaglio);

}  // namespace ciclo
