#include "archive/RecuperoArchivio.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <algorithm>
#include <cstring>
#include <limits>

namespace archivio {

namespace {

quint64 numero(const QByteArray &b, qsizetype da, int byte)
{
    quint64 n = 0;
    for (qsizetype i = da; i < da + byte; ++i)
        n = n << 8 | quint8(b[i]);
    return n;
}

// The bytes of a file as SQLite lays them out in pages, read from disk as they are:
// the last page may be short.
class PagineFile {
public:
    PagineFile(QByteArray dati, qint64 pagina) : m_dati(std::move(dati)), m_pagina(pagina)
    {
        if (m_dati.size() >= 100) {
            m_utile = m_pagina - quint8(m_dati[20]);
            m_codifica = int(numero(m_dati, 56, 4));
        }
    }

    qint64 Utile() const { return m_utile; }
    qint64 Tagliata() const { return m_dati.size() % m_pagina ? m_dati.size() / m_pagina + 1 : 0; }
    bool Intera(qint64 n) const { return n >= 1 && n * m_pagina <= m_dati.size(); }
    // What is there of page n.
    QByteArray Pagina(qint64 n) const
    {
        return n >= 1 ? m_dati.mid((n - 1) * m_pagina, std::min(m_pagina, m_utile)) : QByteArray();
    }

    // Whether the b-tree from `radice` reaches page `cercata`, through whole pages alone.
    bool Raggiunge(qint64 radice, qint64 cercata) const
    {
        QSet<qint64> visti;
        return raggiunge(radice, cercata, visti, 0);
    }


    // The rows of a table leaf page whose cells lie wholly in the bytes there are.
    std::vector<Recupero::RigaLetta> RigheIntere(qint64 n) const
    {
        std::vector<Recupero::RigaLetta> righe;
        const QByteArray p = Pagina(n);
        const qsizetype h = n == 1 ? 100 : 0;
        if (p.size() < h + 8 || quint8(p[h]) != 0x0D)
            return righe;
        const qsizetype celle = qsizetype(numero(p, h + 3, 2));
        for (qsizetype i = 0; i < celle && h + 8 + 2 * i + 2 <= p.size(); ++i) {
            qsizetype pos = qsizetype(numero(p, h + 8 + 2 * i, 2));
            if (pos < h + 8 + 2 * celle)
                continue;
            const auto dimensione = varint(p, pos);
            const auto rowid = varint(p, pos);
            if (!dimensione || !rowid || *dimensione > quint64(std::numeric_limits<int>::max()))
                continue;
            const auto contenuto = carico(p, pos, qint64(*dimensione));
            const auto campi = contenuto ? record(*contenuto) : std::nullopt;
            if (campi)
                righe.push_back({qint64(*rowid), *campi});
        }
        return righe;
    }

private:
    // A damaged page may point back up its own tree: each page is looked at once, and no
    // deeper than a b-tree of any file can be.
    bool raggiunge(qint64 radice, qint64 cercata, QSet<qint64> &visti, int profondita) const
    {
        if (radice == cercata)
            return true;
        if (!Intera(radice) || visti.contains(radice) || profondita > 40)
            return false;
        visti.insert(radice);
        const QByteArray p = Pagina(radice);
        const qsizetype h = radice == 1 ? 100 : 0;
        if (quint8(p[h]) != 0x05)  // an interior page of a table
            return false;
        const qsizetype celle = qsizetype(numero(p, h + 3, 2));
        if (h + 12 + 2 * celle > p.size())
            return false;
        for (qsizetype i = 0; i < celle; ++i) {
            const qsizetype cella = qsizetype(numero(p, h + 12 + 2 * i, 2));
            if (cella + 4 <= p.size() && raggiunge(qint64(numero(p, cella, 4)), cercata, visti, profondita + 1))
                return true;
        }
        return raggiunge(qint64(numero(p, h + 8, 4)), cercata, visti, profondita + 1);
    }

    static std::optional<quint64> varint(const QByteArray &b, qsizetype &pos)
    {
        quint64 v = 0;
        for (int i = 0; i < 9; ++i) {
            if (pos >= b.size())
                return std::nullopt;
            const quint8 c = quint8(b[pos++]);
            if (i == 8)
                return v << 8 | c;
            v = v << 7 | (c & 0x7F);
            if (!(c & 0x80))
                return v;
        }
        return v;
    }

    // A cell's payload from `pos`, its overflow pages followed when they are whole.
    std::optional<QByteArray> carico(const QByteArray &p, qsizetype pos, qint64 dimensione) const
    {
        const qint64 x = m_utile - 35;
        const qint64 m = (m_utile - 12) * 32 / 255 - 23;
        const qint64 k = m + (dimensione - m) % (m_utile - 4);
        const qint64 locale = dimensione <= x ? dimensione : (k <= x ? k : m);
        if (dimensione > m_dati.size() || pos + locale > p.size())
            return std::nullopt;
        QByteArray carico = p.mid(pos, locale);
        if (locale == dimensione)
            return carico;
        if (pos + locale + 4 > p.size())
            return std::nullopt;
        qint64 seguente = qint64(numero(p, pos + locale, 4));
        for (int passi = 0; carico.size() < dimensione; ++passi) {
            if (!Intera(seguente) || passi > m_dati.size() / m_pagina)
                return std::nullopt;
            const QByteArray o = Pagina(seguente);
            carico += o.mid(4, std::min<qint64>(m_utile - 4, dimensione - carico.size()));
            seguente = qint64(numero(o, 0, 4));
        }
        return carico;
    }

    // The fields of a record, or nothing when its header and body do not hold together.
    std::optional<std::vector<QVariant>> record(const QByteArray &r) const
    {
        qsizetype pos = 0;
        const auto tipi = tipiCampi(r, pos);
        if (!tipi)
            return std::nullopt;
        std::vector<QVariant> campi;
        for (quint64 t : *tipi) {
            const qsizetype lunghezza = lunghezzaCampo(t);
            if (lunghezza < 0 || pos + lunghezza > r.size())
                return std::nullopt;
            campi.push_back(campo(r.mid(pos, lunghezza), t));
            pos += lunghezza;
        }
        return campi;
    }

    // The serial types a record's header gives, `pos` left on its body.
    static std::optional<std::vector<quint64>> tipiCampi(const QByteArray &r, qsizetype &pos)
    {
        const auto testa = varint(r, pos);
        if (!testa || *testa > quint64(r.size()))
            return std::nullopt;
        std::vector<quint64> tipi;
        while (pos < qsizetype(*testa)) {
            const auto t = varint(r, pos);
            if (!t || *t == 10 || *t == 11)
                return std::nullopt;
            tipi.push_back(*t);
        }
        return tipi;
    }

    static qsizetype lunghezzaCampo(quint64 tipo)
    {
        static const int interi[] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0};
        return tipo < 10 ? interi[tipo] : qsizetype((tipo - 12) / 2);
    }

    // One field's value from its bytes, as SQLite would hand it back.
    QVariant campo(const QByteArray &b, quint64 tipo) const
    {
        if (tipo == 0)
            return QVariant(QMetaType(QMetaType::QString));
        if (tipo == 7) {
            const quint64 bit = numero(b, 0, 8);
            double d = 0;
            std::memcpy(&d, &bit, sizeof d);
            return d;
        }
        if (tipo < 10) {
            const int lunghezza = int(b.size());
            qint64 v = tipo == 8 ? 0 : tipo == 9 ? 1 : qint64(numero(b, 0, lunghezza));
            if (tipo < 8 && lunghezza < 8 && (v >> (8 * lunghezza - 1)) & 1)
                v -= qint64(1) << (8 * lunghezza);  // big-endian two's complement
            return v;
        }
        if (tipo % 2 == 0)
            return b;
        return testo(b);
    }

    QString testo(const QByteArray &b) const
    {
        if (m_codifica != 2 && m_codifica != 3)
            return QString::fromUtf8(b);
        QString t;
        for (qsizetype i = 0; i + 1 < b.size(); i += 2)
            t += QChar(m_codifica == 2 ? char16_t(quint8(b[i]) | quint8(b[i + 1]) << 8)
                                       : char16_t(quint8(b[i]) << 8 | quint8(b[i + 1])));
        return t;
    }

    QByteArray m_dati;
    qint64 m_pagina;
    qint64 m_utile = 0;
    int m_codifica = 1;
};

}  // namespace

std::optional<Intestazione> LeggiIntestazione(const QByteArray &h)
{
    if (h.size() < 100 || !h.startsWith(QByteArrayLiteral("SQLite format 3")))
        return std::nullopt;
    Intestazione t;
    t.pagina = numero(h, 16, 2) == 1 ? 65536 : qint64(numero(h, 16, 2));
    if (t.pagina < 512 || (t.pagina & (t.pagina - 1)) != 0)
        return std::nullopt;
    t.wal = numero(h, 18, 1) == 2 || numero(h, 19, 1) == 2;
    if (numero(h, 28, 4) != 0 && numero(h, 24, 4) == numero(h, 92, 4))
        t.pagine = qint64(numero(h, 28, 4));
    return t;
}

Recupero::Recupero(const QString &percorso, FileArchivio file, const std::optional<Intestazione> &intestazione)
    : m_nome(QStringLiteral("recupero_%1").arg(quintptr(this))), m_perse(file), m_intestazione(intestazione)
{
    const QString leggibile = pagineIntere(percorso);
    if (leggibile.isEmpty())
        return;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nome);
    db.setDatabaseName(leggibile);
    // It waits on a file another program holds no longer than any other connection.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(Attesa_File_Bloccato_ms));
    m_aperto = db.open();
    // A file cut short has fewer pages than its header gives, and SQLite refuses the whole
    // of it; so it reads the pages there are and fails only on the missing ones.
    if (m_aperto)
        QSqlQuery(db).exec(QStringLiteral("PRAGMA writable_schema = ON"));
    if (m_aperto && m_copia)
        leggiPaginaTagliata(percorso);
}

Recupero::~Recupero() { Chiudi(); }

void Recupero::Chiudi()
{
    if (!QSqlDatabase::contains(m_nome))
        return;
    {
        QSqlDatabase d = db();
        if (d.isOpen())
            d.close();
    }
    QSqlDatabase::removeDatabase(m_nome);
    m_aperto = false;
    m_copia.reset();
}

QSqlDatabase Recupero::db() const { return QSqlDatabase::database(m_nome, false); }

void Recupero::fallita(const QSqlQuery &q)
{
    m_occupato = m_occupato || archivio::Occupato(q.lastError());
}

bool Recupero::Copia(const DefinizioneTabella &t, Connessione &c, QStringList &errori, const QString &nomeFile)
{
    QStringList dichiarate;
    const QStringList vecchie = colonneVecchie(t, dichiarate);
    Righe righe;
    if (!vecchie.isEmpty() && !t.righe.empty()) {
        leggiTabella(t, vecchie, righe);
        if (t.nome.compare(m_tabellaTagliata, Qt::CaseInsensitive) == 0)
            aggiungiRigheTagliate(vecchie, dichiarate, righe);
    }
    if (m_occupato)
        return true;
    if (QString errore; !scrivi(t, c, vecchie, righe, errore)) {
        errori << QStringLiteral("%1: %2").arg(nomeFile, errore);
        return false;
    }
    for (int id : t.righe) {
        if (righe.count(id))
            ++m_recuperate;
        else
            m_perse.Aggiungi(t.nome, id);
    }
    return true;
}

// Each of the program's rows by its key first: a damaged page can turn a range away from
// rows that still read whole, or hand back a cell of its own under a row's id. Then by
// ranges, for what the keys did not reach.
void Recupero::leggiTabella(const DefinizioneTabella &t, const QStringList &vecchie, Righe &righe)
{
    constexpr qint64 minimo = std::numeric_limits<qint64>::min();
    constexpr qint64 massimo = std::numeric_limits<qint64>::max();
    const qint64 primo = *std::min_element(t.righe.begin(), t.righe.end());
    const qint64 ultimo = *std::max_element(t.righe.begin(), t.righe.end());
    for (int id : t.righe)
        leggi(t.nome, vecchie, id, id, righe);
    if (leggi(t.nome, vecchie, minimo, massimo, righe))
        return;
    // Rows outside the program's own ids are not worth a search.
    leggi(t.nome, vecchie, minimo, primo - 1, righe);
    recupera(t.nome, vecchie, primo, ultimo, righe);
    leggi(t.nome, vecchie, ultimo + 1, massimo, righe);
}

// The whole cells of the page a cut went through, for the rows SQLite could not reach.
void Recupero::aggiungiRigheTagliate(const QStringList &vecchie, const QStringList &dichiarate, Righe &righe) const
{
    const qsizetype campoId = dichiarate.indexOf(QStringLiteral("ID"), 0);
    const QVariant nullo{QMetaType(QMetaType::QString)};
    for (const RigaLetta &r : m_righeTagliate) {
        // ID is the row id, kept out of the record, unless the table declares it otherwise.
        const QVariant id = campoId >= 0 && size_t(campoId) < r.campi.size() ? r.campi[size_t(campoId)] : QVariant();
        std::vector<QVariant> valori;
        for (qsizetype i = 1; i < vecchie.size(); ++i) {
            const qsizetype k = dichiarate.indexOf(vecchie[i]);
            // A record older than a column added later lacks it: NULL, as SQLite reads it.
            valori.push_back(size_t(k) < r.campi.size() ? r.campi[size_t(k)] : nullo);
        }
        righe.try_emplace(id.isNull() ? r.rowid : id.toLongLong(), std::move(valori));
    }
}

// The rows read, into the new table; a column the old table lacks takes its default.
bool Recupero::scrivi(const DefinizioneTabella &t, Connessione &c, const QStringList &vecchie, const Righe &righe,
                      QString &errore)
{
    QStringList segnaposto(t.colonne.size() + 1, QStringLiteral("?"));
    QSqlQuery ins(c.Database());
    ins.prepare(QStringLiteral("INSERT INTO %1 (ID, %2) VALUES (%3)")
                    .arg(t.nome, t.colonne.join(QStringLiteral(", ")), segnaposto.join(QStringLiteral(", "))));
    for (const auto &[id, valori] : righe) {
        ins.addBindValue(id);
        for (int i = 0; i < t.colonne.size(); ++i) {
            const qsizetype k = vecchie.indexOf(t.colonne[i]) - 1;  // ID comes first
            if (k >= 0) {
                ins.addBindValue(valori[size_t(k)]);
            } else {
                const auto valore = ValorePredefinito(t, int(id), i);
                ins.addBindValue(valore ? QVariant(*valore) : QVariant(QMetaType(QMetaType::QString)));
            }
        }
        if (!ins.exec()) {
            errore = Motivo(ins.lastError());
            return false;
        }
    }
    return true;
}

QString Recupero::Esito() const
{
    if (m_recuperate == 0)
        return QStringLiteral(" con i valori iniziali.");
    if (m_perse.Vuoto())
        return QStringLiteral(". Recuperati tutti i dati.");
    return QStringLiteral(". Tornano ai valori iniziali: %1. Tutto il resto è stato recuperato.").arg(m_perse.Testo());
}

// The old table's columns among those the program knows, ID first, and every column it
// declares, in order; empty when the table cannot be read or has no ID.
QStringList Recupero::colonneVecchie(const DefinizioneTabella &t, QStringList &dichiarate)
{
    if (!m_aperto || m_occupato)
        return {};
    QSqlQuery q(db());
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(t.nome))) {
        fallita(q);
        return {};
    }
    while (q.next())
        dichiarate << q.value(1).toString().toUpper();
    if (q.lastError().isValid() || !dichiarate.contains(QStringLiteral("ID"))) {
        fallita(q);
        return {};
    }
    QStringList r{QStringLiteral("ID")};
    for (const QString &col : t.colonne)
        if (dichiarate.contains(col.toUpper()))
            r << col.toUpper();
    return r;
}

// Rows with rowid in [da, a], in order, as far as the table can be walked: the rows
// read before a failure are kept and `ultimo` is the rowid of the last. True when the
// whole range was read.
bool Recupero::leggi(const QString &tabella, const QStringList &colonne, qint64 da, qint64 a, Righe &righe,
                     std::optional<qint64> *ultimo)
{
    if (da > a || m_occupato)
        return true;
    QSqlQuery q(db());
    q.setForwardOnly(true);
    // One row is sought by its key alone: a range would step on to the next page to find
    // its end, and lose the row when that page is the damaged one.
    const QString elenco = colonne.join(QStringLiteral(", "));
    q.prepare(da == a ? QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid = ?").arg(elenco, tabella)
                      : QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid BETWEEN ? AND ? ORDER BY rowid")
                            .arg(elenco, tabella));
    q.addBindValue(da);
    if (da != a)
        q.addBindValue(a);
    if (!q.exec()) {
        fallita(q);
        return false;
    }
    while (q.next()) {
        bool ok = false;
        const qint64 id = q.value(1).toLongLong(&ok);
        if (ultimo)
            *ultimo = q.value(0).toLongLong();
        if (!ok)
            continue;
        std::vector<QVariant> valori;
        for (int i = 2; i <= colonne.size(); ++i)
            valori.push_back(q.value(i));
        righe.try_emplace(id, std::move(valori));
    }
    fallita(q);
    return !q.lastError().isValid();
}

// Every row in [da, a] that can still be read.
void Recupero::recupera(const QString &tabella, const QStringList &colonne, qint64 da, qint64 a, Righe &righe)
{
    while (da <= a && !m_occupato) {
        std::optional<qint64> ultimo;
        if (leggi(tabella, colonne, da, a, righe, &ultimo))
            return;
        if (ultimo && *ultimo >= da && *ultimo < a) {
            da = *ultimo + 1;  // the read failed past its last row: the rest is sought afresh
            continue;
        }
        if (da == a || (ultimo && *ultimo >= a))
            return;
        const qint64 meta = da + (a - da) / 2;
        recupera(tabella, colonne, da, meta, righe);
        da = meta + 1;
    }
}

// The file to read: the damaged one, or a private copy of its whole pages when its last
// page is cut (SQLite would read the missing bytes as zeroes, and hand back rows the file
// does not hold). Empty when no copy can be made.
QString Recupero::pagineIntere(const QString &percorso)
{
    const auto &t = m_intestazione;
    const qint64 dimensione = QFileInfo(percorso).size();
    if (!t || dimensione % t->pagina == 0)
        return percorso;
    QFile originale(percorso);
    m_copia = std::make_unique<QTemporaryFile>(percorso + QStringLiteral(".recupero-XXXXXX"));
    if (!originale.open(QIODevice::ReadOnly) || !m_copia->open())
        return {};
    const QByteArray pagine = originale.read(dimensione - dimensione % t->pagina);
    if (m_copia->write(pagine) != pagine.size() || !m_copia->flush())
        return {};
    return m_copia->fileName();
}

// The rows of the page the cut went through whose bytes are all there, and the table
// whose b-tree leads to that page through whole pages.
void Recupero::leggiPaginaTagliata(const QString &percorso)
{
    const auto &t = m_intestazione;
    QFile f(percorso);
    if (!t || !f.open(QIODevice::ReadOnly))
        return;
    const PagineFile pagine(f.readAll(), t->pagina);
    const qint64 tagliata = pagine.Tagliata();
    if (tagliata < 2 || pagine.Utile() < 480)
        return;
    QSqlQuery q(db());
    if (!q.exec(QStringLiteral("SELECT name, rootpage FROM sqlite_schema WHERE type = 'table'"))) {
        fallita(q);
        return;
    }
    while (q.next()) {
        if (pagine.Raggiunge(q.value(1).toLongLong(), tagliata)) {
            m_tabellaTagliata = q.value(0).toString();
            m_righeTagliate = pagine.RigheIntere(tagliata);
            return;
        }
    }
}

}  // namespace archivio
