#pragma once

// Reading back what the archive files hold, once the archive's writers have written
// what they had queued for the file (what failed stays failed).

#include "archive/Archivio.h"
#include "archive/ScrittoreArchivio.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

// Text of `colonna` in row `id` of `tabella`; "<manca>" when the row or the column is missing.
inline QString ValoreArchivio(archivio::FileArchivio file, const QString &tabella, const QString &colonna, int id)
{
    archivio::Attendi_Scritture(file);
    archivio::Connessione c(file);
    const auto righe = c.LeggiTabella(tabella);
    const auto r = righe.find(id);
    if (r == righe.end())
        return QStringLiteral("<manca>");
    const auto v = r->second.find(colonna);
    return v == r->second.end() ? QStringLiteral("<manca>") : v->second;
}

// Every row of a table as text, to see that nothing in it changed.
inline QString ContenutoTabella(archivio::FileArchivio file, const QString &tabella)
{
    archivio::Attendi_Scritture(file);
    archivio::Connessione c(file);
    QStringList righe;
    for (const auto &[id, riga] : c.LeggiTabella(tabella)) {
        QStringList campi;
        for (const auto &[colonna, valore] : riga)
            campi << colonna + QLatin1Char('=') + valore;
        righe << campi.join(QLatin1Char(','));
    }
    return righe.join(QLatin1Char('\n'));
}

// A connection of the test's own to an archive file, beside the program's: to make
// the archive refuse writes (a trigger, a lock) behind the program's back.
struct ConnessioneProva {
    QString nome = QStringLiteral("prova_rifiuto");
    QSqlDatabase db;
    explicit ConnessioneProva(archivio::FileArchivio file)
    {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
        db.setDatabaseName(archivio::PercorsoArchivio(file));
        db.open();
    }
    ~ConnessioneProva()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(nome);
    }
    ConnessioneProva(const ConnessioneProva &) = delete;
    ConnessioneProva &operator=(const ConnessioneProva &) = delete;
    bool Esegui(const QString &sql) { return QSqlQuery(db).exec(sql); }
};

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
