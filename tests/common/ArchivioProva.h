#pragma once

// Reading back what the archive files hold.

#include "archive/Archivio.h"

#include <QString>

// Text of `colonna` in row `id` of `tabella`; "<manca>" when the row or the column is missing.
inline QString ValoreArchivio(archivio::FileArchivio file, const QString &tabella, const QString &colonna, int id)
{
    archivio::Connessione c(file);
    const auto righe = c.LeggiTabella(tabella);
    const auto r = righe.find(id);
    if (r == righe.end())
        return QStringLiteral("<manca>");
    const auto v = r->second.find(colonna);
    return v == r->second.end() ? QStringLiteral("<manca>") : v->second;
}
