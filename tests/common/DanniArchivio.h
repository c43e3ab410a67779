#pragma once

// Damaging an archive file and telling which of its rows a reader can still get back.

#include "archive/Archivio.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>

// Rows of an archive file, "table/ID" -> the values of its columns in order ("" for NULL).
using RigheArchivio = std::map<QString, QStringList>;
// Which rows a helper takes: all, when empty.
using SceltaRighe = std::function<bool(const QString &tabella, int id)>;

RigheArchivio RigheDi(archivio::FileArchivio file, const SceltaRighe &scelta = {});
// The keys of the chosen rows that are as in `originali`, sorted. A row that is neither so
// nor as a fresh archive holds it is listed too, marked "mista", so no list expected matches.
QStringList RigheRecuperate(archivio::FileArchivio file, const RigheArchivio &originali,
                            const SceltaRighe &scelta = {});
// Gives every chosen row values no default has and no other row of its table.
bool RiempiArchivio(archivio::FileArchivio file, const SceltaRighe &scelta = {});

// Page size and page count of an intact file.
std::pair<qint64, qint64> PagineArchivio(archivio::FileArchivio file);
// Page number of the n-th leaf (from 0, in ID order) of a table, or with n < 0 of its
// root; 0 when there is none.
qint64 PaginaTabella(archivio::FileArchivio file, const QString &tabella, int n);
bool AzzeraNumeroPagina(archivio::FileArchivio file, qint64 pagina);
// Flips one bit of byte `posizione` of a page, as a failing disk would.
bool CambiaBit(archivio::FileArchivio file, qint64 pagina, int posizione, int bit);
// The keys of the chosen rows of a file that read, each by its own key, as in `originali`. Sorted.
QStringList RigheLetteUnaAUna(archivio::FileArchivio file, const RigheArchivio &originali,
                              const SceltaRighe &scelta = {});

// The keys of the rows of an intact file that can still be read once the pages `persa`
// names are lost: those on a leaf whose whole path from its table's root is kept, of a
// table whose schema row is kept too; with the file cut after `taglio` bytes, also the
// rows of the leaf the cut goes through whose cell lies wholly before it. Sorted.
QStringList RigheRaggiungibili(archivio::FileArchivio file, const std::function<bool(qint64 pagina)> &persa,
                               const SceltaRighe &scelta = {}, qint64 taglio = -1);
