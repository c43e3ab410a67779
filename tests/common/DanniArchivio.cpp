#include "DanniArchivio.h"

#include "archive/CreaArchivi.h"

#include <QFile>
#include <QSqlQuery>
#include <QVariant>

using namespace archivio;

namespace {

QString chiave(const QString &tabella, qint64 id) { return tabella + QLatin1Char('/') + QString::number(id); }

// Whether each cell of table leaf `numero`, in key order, lies wholly in the first
// `taglio` bytes of the file, its pointer included.
std::vector<bool> celleIntere(const QByteArray &dati, qint64 pagina, qint64 numero, qint64 taglio)
{
    const qint64 inizio = (numero - 1) * pagina, h = numero == 1 ? 100 : 0;
    const auto byte = [&](qint64 i) { return quint8(dati[inizio + i]); };
    std::vector<bool> intere;
    for (qint64 i = 0, celle = byte(h + 3) << 8 | byte(h + 4); i < celle; ++i) {
        qint64 pos = byte(h + 8 + 2 * i) << 8 | byte(h + 9 + 2 * i);
        const auto varint = [&] {
            qint64 v = 0;
            for (int k = 0; k < 9; ++k) {
                const quint8 c = byte(pos++);
                v = k == 8 ? v << 8 | c : v << 7 | (c & 0x7F);
                if (k < 8 && !(c & 0x80))
                    break;
            }
            return v;
        };
        const qint64 carico = varint();
        varint();  // the row id; the rows filled here never overflow a page
        intere.push_back(inizio + h + 10 + 2 * i <= taglio && inizio + pos + carico <= taglio);
    }
    return intere;
}

}  // namespace

RigheArchivio RigheDi(FileArchivio file, const SceltaRighe &scelta)
{
    RigheArchivio righe;
    Connessione c(file);
    for (const DefinizioneTabella &t : SchemaArchivio(file)) {
        for (const auto &[id, riga] : c.LeggiTabella(t.nome)) {
            if (scelta && !scelta(t.nome, id))
                continue;
            QStringList valori;
            for (const QString &colonna : t.colonne) {
                const auto v = riga.find(colonna);
                valori << (v == riga.end() ? QStringLiteral("<manca>") : v->second);
            }
            righe[chiave(t.nome, id)] = valori;
        }
    }
    return righe;
}

QStringList RigheRecuperate(FileArchivio file, const RigheArchivio &originali, const SceltaRighe &scelta)
{
    std::map<QString, QStringList> iniziali;
    for (const DefinizioneTabella &t : SchemaArchivio(file)) {
        for (int id : t.righe) {
            QStringList &valori = iniziali[chiave(t.nome, id)];
            for (int i = 0; i < t.colonne.size(); ++i)
                valori << ValorePredefinito(t, id, i).value_or(QString());
        }
    }
    QStringList righe;
    for (const auto &[k, valori] : RigheDi(file, scelta)) {
        const auto originale = originali.find(k);
        if (originale != originali.end() && valori == originale->second)
            righe << k;
        else if (valori != iniziali[k])
            righe << k + QStringLiteral(" mista");
    }
    righe.sort();
    return righe;
}

bool RiempiArchivio(FileArchivio file, const SceltaRighe &scelta)
{
    Connessione c(file);
    if (!c.IniziaTransazione())
        return false;
    for (const DefinizioneTabella &t : SchemaArchivio(file)) {
        // One statement a table: Sistema1 has thousands of rows.
        QSqlQuery q(c.Database());
        if (!q.prepare(QStringLiteral("UPDATE %1 SET %2 = ? WHERE ID = ?")
                           .arg(t.nome, t.colonne.join(QStringLiteral(" = ?, ")))))
            return false;
        for (int id : t.righe) {
            if (scelta && !scelta(t.nome, id))
                continue;
            for (int i = 0; i < t.colonne.size(); ++i)
                q.addBindValue(QStringLiteral("%1.%2").arg(id).arg(i));
            q.addBindValue(id);
            if (!q.exec() || q.numRowsAffected() != 1)
                return false;
        }
    }
    return c.ConfermaTransazione();
}

std::pair<qint64, qint64> PagineArchivio(FileArchivio file)
{
    Connessione c(file);
    QSqlQuery q(c.Database());
    const auto pragma = [&q](const char *nome) {
        return q.exec(QLatin1String(nome)) && q.next() ? q.value(0).toLongLong() : 0;
    };
    const qint64 pagina = pragma("PRAGMA page_size");
    return {pagina, pragma("PRAGMA page_count")};
}

qint64 PaginaTabella(FileArchivio file, const QString &tabella, int n)
{
    Connessione c(file);
    QSqlQuery q(c.Database());
    q.prepare(n < 0 ? QStringLiteral("SELECT rootpage FROM sqlite_schema WHERE name = ?")
                    : QStringLiteral("SELECT pageno FROM dbstat WHERE name = ? AND pagetype = 'leaf' "
                                     "ORDER BY path LIMIT 1 OFFSET %1").arg(n));
    q.addBindValue(tabella);
    return q.exec() && q.next() ? q.value(0).toLongLong() : 0;
}

bool AzzeraNumeroPagina(FileArchivio file, qint64 pagina)
{
    const qint64 dimensione = PagineArchivio(file).first;
    QFile f(PercorsoArchivio(file));
    return pagina > 1 && dimensione > 0 && f.open(QIODevice::ReadWrite) && f.seek((pagina - 1) * dimensione)
           && f.write(QByteArray(dimensione, 0)) == dimensione;
}

bool CambiaBit(FileArchivio file, qint64 pagina, int posizione, int bit)
{
    const qint64 dimensione = PagineArchivio(file).first;
    QFile f(PercorsoArchivio(file));
    char c = 0;
    return pagina > 1 && f.open(QIODevice::ReadWrite) && f.seek((pagina - 1) * dimensione + posizione)
           && f.getChar(&c) && f.seek((pagina - 1) * dimensione + posizione) && f.putChar(char(c ^ (1 << bit)));
}

QStringList RigheLetteUnaAUna(FileArchivio file, const RigheArchivio &originali, const SceltaRighe &scelta)
{
    Connessione c(file);
    QStringList righe;
    for (const DefinizioneTabella &t : SchemaArchivio(file)) {
        QSqlQuery q(c.Database());
        q.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(t.colonne.join(QLatin1Char(',')), t.nome));
        for (int id : t.righe) {
            q.addBindValue(id);
            if ((scelta && !scelta(t.nome, id)) || !q.exec() || !q.next())
                continue;
            QStringList valori;
            for (int i = 0; i < t.colonne.size(); ++i)
                valori << q.value(i).toString();
            const auto originale = originali.find(chiave(t.nome, id));
            if (originale != originali.end() && originale->second == valori)
                righe << chiave(t.nome, id);
        }
    }
    righe.sort();
    return righe;
}

QStringList RigheRaggiungibili(FileArchivio file, const std::function<bool(qint64)> &persa, const SceltaRighe &scelta,
                               qint64 taglio)
{
    QFile intero(PercorsoArchivio(file));
    const QByteArray dati = intero.open(QIODevice::ReadOnly) ? intero.readAll() : QByteArray();
    const qint64 pagina = PagineArchivio(file).first;
    Connessione c(file);
    QSqlQuery q(c.Database());
    // dbstat gives each page of each b-tree with its path from the root ("/", "/000/",
    // "/000/01a/"...): the leaves in path order hold the rows in rowid order, ncell each.
    struct Pagina {
        QString percorso;
        qint64 numero;
        bool foglia;
        int celle;
    };
    std::map<QString, std::vector<Pagina>> alberi;
    if (!q.exec(QStringLiteral("SELECT name, path, pageno, pagetype, ncell FROM dbstat ORDER BY name, path")))
        return {};
    while (q.next())
        alberi[q.value(0).toString()].push_back({q.value(1).toString(), q.value(2).toLongLong(),
                                                 q.value(3).toString() == QLatin1String("leaf"), q.value(4).toInt()});
    // Whether each row of a b-tree, in rowid order, lies on a leaf reached through kept pages.
    const auto leggibili = [&](const QString &albero) {
        std::map<QString, qint64> numeri;
        for (const Pagina &p : alberi[albero])
            numeri[p.percorso] = p.numero;
        std::vector<bool> righe;
        for (const Pagina &p : alberi[albero]) {
            if (!p.foglia)
                continue;
            bool tenuta = true;
            // Each page on the way above the leaf: the prefixes of the path that end with '/'.
            const QChar barra = QLatin1Char('/');
            for (qsizetype i = p.percorso.indexOf(barra); i + 1 < p.percorso.size(); i = p.percorso.indexOf(barra, i + 1))
                tenuta = tenuta && !persa(numeri[p.percorso.left(i + 1)]);
            if (tenuta && persa(p.numero) && taglio >= 0 && p.numero == taglio / pagina + 1
                && albero != QLatin1String("sqlite_schema")) {
                const std::vector<bool> intere = celleIntere(dati, pagina, p.numero, taglio);
                righe.insert(righe.end(), intere.begin(), intere.end());
                continue;
            }
            righe.insert(righe.end(), size_t(p.celle), tenuta && !persa(p.numero));
        }
        return righe;
    };

    const std::vector<bool> schema = leggibili(QStringLiteral("sqlite_schema"));
    QStringList tabelle;
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_schema ORDER BY rowid")))
        return {};
    for (size_t i = 0; q.next(); ++i)
        if (i < schema.size() && schema[i])
            tabelle << q.value(0).toString();
    QStringList righe;
    for (const QString &tabella : tabelle) {
        const std::vector<bool> tenute = leggibili(tabella);
        if (!q.exec(QStringLiteral("SELECT ID FROM %1 ORDER BY rowid").arg(tabella)))
            continue;
        for (size_t i = 0; q.next(); ++i) {
            const int id = q.value(0).toInt();
            if (i < tenute.size() && tenute[i] && (!scelta || scelta(tabella, id)))
                righe << chiave(tabella, id);
        }
    }
    righe.sort();
    return righe;
}
