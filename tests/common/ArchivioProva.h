#pragma once

// Reading back what the archive files hold.

#include "archive/Archivio.h"

#include <QFile>
#include <QSqlQuery>
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

// Zeroes one page of an archive file, as a failing disk would: the root page of
// `tabella`, or with `fogliaDestra` the last leaf under it (the page of its highest
// ids). False when the page cannot be found.
inline bool AzzeraPagina(archivio::FileArchivio file, const QString &tabella, bool fogliaDestra)
{
    qint64 pagina = 0, dimensione = 0;
    {
        archivio::Connessione c(file);
        QSqlQuery q(c.Database());
        if (!q.exec(QStringLiteral("PRAGMA page_size")) || !q.next())
            return false;
        dimensione = q.value(0).toLongLong();
        q.prepare(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = ?"));
        q.addBindValue(tabella);
        if (!q.exec() || !q.next())
            return false;
        pagina = q.value(0).toLongLong();
    }
    QFile f(archivio::PercorsoArchivio(file));
    if (pagina < 2 || !f.open(QIODevice::ReadWrite))
        return false;
    if (fogliaDestra) {
        // An interior table page (type 5) names its right-most child at bytes 8..11.
        f.seek((pagina - 1) * dimensione);
        const QByteArray testa = f.read(12);
        if (testa.size() < 12 || testa[0] != 5)
            return false;
        pagina = 0;
        for (int i = 8; i < 12; ++i)
            pagina = pagina * 256 + quint8(testa[i]);
    }
    return f.seek((pagina - 1) * dimensione) && f.write(QByteArray(dimensione, 0)) == dimensione;
}
