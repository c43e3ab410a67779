#include "archive/CreaArchivi.h"

#include "platform/Costanti.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QVariant>
#include <algorithm>
#include <limits>
#include <memory>

namespace archivio {

namespace {

QStringList colonne(int da, int a)
{
    QStringList c;
    for (int i = da; i <= a; ++i)
        c << QStringLiteral("C%1").arg(i);
    return c;
}

std::vector<int> idDa1(int n)
{
    std::vector<int> r(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        r[size_t(i)] = i + 1;
    return r;
}

std::vector<std::optional<QString>> tutti(int n, const QString &valore)
{
    return std::vector<std::optional<QString>>(size_t(n), valore);
}

const QString zero = QStringLiteral("0");
const QString chiocciola = QStringLiteral("@");

std::optional<QString> rigaGrafici(int /*id*/, int colonna)
{
    // Four distinct degrees in four distinct grid places, all in use: a fresh
    // install opens on four charts instead of four panels stacked on one place.
    if (colonna <= 4)
        return QStringLiteral("1");
    if (colonna <= 8)
        return QString::number(colonna);  // C5..C8 -> degrees 5..8
    return QString::number(colonna - 9);  // C9..C12 -> places 0..3
}

QString marcaTempo() { return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")); }

QString nomeLibero(const QString &base)
{
    QString nome = base;
    for (int n = 2; QFileInfo::exists(nome); ++n)
        nome = base + QStringLiteral("-%1").arg(n);
    return nome;
}

// What an SQLite file's first 100 bytes say of its size: the page size, and the page
// count when SQLite keeps it valid (the change counter at 24 matches the number at 92).
struct Intestazione {
    qint64 pagina = 0;
    std::optional<qint64> pagine;
    bool wal = false;  // the file alone does not hold every page
};

std::optional<Intestazione> leggiIntestazione(const QString &percorso)
{
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray h = f.read(100);
    if (h.size() < 100 || !h.startsWith(QByteArrayLiteral("SQLite format 3")))
        return std::nullopt;
    const auto numero = [&h](int da, int byte) {
        quint32 n = 0;
        for (int i = da; i < da + byte; ++i)
            n = n << 8 | quint8(h[i]);
        return n;
    };
    Intestazione t;
    t.pagina = numero(16, 2) == 1 ? 65536 : numero(16, 2);
    if (t.pagina < 512 || (t.pagina & (t.pagina - 1)) != 0)
        return std::nullopt;
    t.wal = numero(18, 1) == 2 || numero(19, 1) == 2;
    if (numero(28, 4) != 0 && numero(24, 4) == numero(92, 4))
        t.pagine = numero(28, 4);
    return t;
}

// A file cut short, or grown behind SQLite's back, reads as whole: SQLite counts the
// pages its header gives and fills a short last page with zeroes. Empty when the size is right.
QString dimensioneErrata(const QString &percorso)
{
    const auto t = leggiIntestazione(percorso);
    if (!t || t->wal)
        return {};
    const qint64 dimensione = QFileInfo(percorso).size();
    if (t->pagine && dimensione != *t->pagine * t->pagina)
        return QStringLiteral("%1 byte invece dei %2 indicati nell'intestazione")
            .arg(dimensione)
            .arg(*t->pagine * t->pagina);
    if (!t->pagine && dimensione % t->pagina != 0)
        return QStringLiteral("%1 byte, non un numero intero di pagine").arg(dimensione);
    return {};
}

// A file is usable when SQLite can read it, its own check finds nothing wrong and its
// size is the one its header gives. An empty file opens as an empty database: it is a
// file cut short, not a new one.
bool fileSano(FileArchivio file, QString &motivo)
{
    const QString percorso = PercorsoArchivio(file);
    if (QFileInfo(percorso).size() == 0) {
        motivo = QStringLiteral("file vuoto");
        return false;
    }
    {
        // Opening also rolls back what an interrupted write left in a journal, before the size is judged.
        Connessione c(file);
        if (!c.Aperta()) {
            motivo = c.Errore();
            return false;
        }
        QSqlQuery q(c.Database());
        if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next()) {
            motivo = Motivo(q.lastError());
            return false;
        }
        const QString esito = q.value(0).toString();
        if (esito.compare(QStringLiteral("ok"), Qt::CaseInsensitive) != 0) {
            motivo = esito;
            return false;
        }
    }
    motivo = dimensioneErrata(percorso);
    return motivo.isEmpty();
}

// What can still be read of a file set aside as damaged: table by table, and within a
// table by row-id ranges, keeping what a read gives before it fails and halving the
// rest until the unreadable rows are isolated. The file is opened read-only and never changed.
class Recupero {
public:
    explicit Recupero(const QString &percorso)
        : m_nome(QStringLiteral("recupero_%1").arg(quintptr(this)))
    {
        const QString leggibile = pagineIntere(percorso);
        if (leggibile.isEmpty())
            return;
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nome);
        db.setDatabaseName(leggibile);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        m_aperto = db.open();
        // A file cut short has fewer pages than its header gives, and SQLite refuses the whole
        // of it; so it reads the pages there are and fails only on the missing ones.
        if (m_aperto)
            QSqlQuery(db).exec(QStringLiteral("PRAGMA writable_schema = ON"));
    }
    ~Recupero()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_nome, false);
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(m_nome);
    }
    Recupero(const Recupero &) = delete;
    Recupero &operator=(const Recupero &) = delete;

    using Righe = std::map<qint64, std::vector<QVariant>>;

    // Copies the readable rows of t into the table of the same name in c, which is new and
    // empty; a column the old table lacks takes its default. False only when writing fails.
    bool Copia(const DefinizioneTabella &t, Connessione &c, QStringList &errori, const QString &nomeFile)
    {
        m_schema += int(t.righe.size());
        const QStringList vecchie = colonneVecchie(t);
        if (vecchie.isEmpty()) {
            m_azzerate << Azzerata{t.nome, int(t.righe.size()), true};
            return true;
        }
        Righe righe;
        constexpr qint64 minimo = std::numeric_limits<qint64>::min();
        constexpr qint64 massimo = std::numeric_limits<qint64>::max();
        if (!t.righe.empty() && !leggi(t.nome, vecchie, minimo, massimo, righe)) {
            const qint64 primo = *std::min_element(t.righe.begin(), t.righe.end());
            const qint64 ultimo = *std::max_element(t.righe.begin(), t.righe.end());
            // Rows outside the program's own ids are not worth a search.
            leggi(t.nome, vecchie, minimo, primo - 1, righe);
            recupera(t.nome, vecchie, primo, ultimo, righe);
            leggi(t.nome, vecchie, ultimo + 1, massimo, righe);
        }

        QStringList segnaposto(t.colonne.size() + 1, QStringLiteral("?"));
        QSqlQuery ins(c.Database());
        ins.prepare(QStringLiteral("INSERT INTO %1 (ID, %2) VALUES (%3)")
                        .arg(t.nome, t.colonne.join(QStringLiteral(", ")), segnaposto.join(QStringLiteral(", "))));
        int recuperate = 0;
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
                errori << QStringLiteral("%1: %2").arg(nomeFile, ins.lastError().text());
                return false;
            }
            if (std::find(t.righe.begin(), t.righe.end(), id) != t.righe.end())
                ++recuperate;
        }
        m_recuperate += recuperate;
        if (recuperate < int(t.righe.size()))
            m_azzerate << Azzerata{t.nome, int(t.righe.size()) - recuperate, recuperate == 0};
        return true;
    }

    // The user's account of the repair.
    QString Resoconto(const QString &nomeFile, const QString &accantonato) const
    {
        const QString inizio = QStringLiteral("%1 era danneggiato: è stato messo da parte come %2 e ricreato")
                                   .arg(nomeFile, accantonato);
        if (m_recuperate == 0)
            return inizio + QStringLiteral(" con i valori iniziali.");
        if (m_azzerate.isEmpty())
            return inizio + QStringLiteral(". Recuperate tutte le %1 righe.").arg(m_recuperate);
        QStringList parti;
        constexpr int elencate = 6;
        for (int i = 0; i < m_azzerate.size() && i < elencate; ++i) {
            const Azzerata &a = m_azzerate[i];
            parti << (a.intera ? QStringLiteral("tutta la tabella %1").arg(a.tabella)
                               : QStringLiteral("%1 righe di %2").arg(a.righe).arg(a.tabella));
        }
        if (m_azzerate.size() > elencate)
            parti << QStringLiteral("altre %1 tabelle").arg(m_azzerate.size() - elencate);
        return inizio
               + QStringLiteral(". Recuperate %1 righe su %2; riportate ai valori iniziali: %3.")
                     .arg(m_recuperate)
                     .arg(m_schema)
                     .arg(parti.join(QStringLiteral(", ")));
    }

private:
    struct Azzerata {
        QString tabella;
        int righe;
        bool intera;
    };

    QSqlDatabase db() const { return QSqlDatabase::database(m_nome, false); }

    // The old table's columns among those the program knows, ID first; empty when the
    // table cannot be read or has no ID.
    QStringList colonneVecchie(const DefinizioneTabella &t) const
    {
        if (!m_aperto)
            return {};
        QSqlQuery q(db());
        if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(t.nome)))
            return {};
        QStringList presenti;
        while (q.next())
            presenti << q.value(1).toString();
        if (q.lastError().isValid() || !presenti.contains(QStringLiteral("ID"), Qt::CaseInsensitive))
            return {};
        QStringList r{QStringLiteral("ID")};
        for (const QString &col : t.colonne)
            if (presenti.contains(col, Qt::CaseInsensitive))
                r << col;
        return r;
    }

    // Rows with rowid in [da, a], in order, as far as the table can be walked: the rows
    // read before a failure are kept and `ultimo` is the rowid of the last. True when the
    // whole range was read.
    bool leggi(const QString &tabella, const QStringList &colonne, qint64 da, qint64 a, Righe &righe,
               std::optional<qint64> *ultimo = nullptr) const
    {
        if (da > a)
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
        if (!q.exec())
            return false;
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
        return !q.lastError().isValid();
    }

    // Every row in [da, a] that can still be read.
    void recupera(const QString &tabella, const QStringList &colonne, qint64 da, qint64 a, Righe &righe) const
    {
        while (da <= a) {
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
    QString pagineIntere(const QString &percorso)
    {
        const auto t = leggiIntestazione(percorso);
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

    std::unique_ptr<QTemporaryFile> m_copia;
    QString m_nome;
    bool m_aperto = false;
    int m_schema = 0;
    int m_recuperate = 0;
    QList<Azzerata> m_azzerate;
};

class Costruttore {
public:
    Costruttore(Connessione &c, EsitoArchivi &esito, const QString &nomeFile, Recupero *recupero = nullptr)
        : m_c(c), m_esito(esito), m_file(nomeFile), m_recupero(recupero) {}

    bool tabella(const DefinizioneTabella &t)
    {
        const QStringList esistenti = colonneEsistenti(t.nome);
        bool nuova = esistenti.isEmpty();
        if (!nuova && !esistenti.contains(QStringLiteral("ID"), Qt::CaseInsensitive)) {
            const QString accantonata = t.nome + QStringLiteral("_danneggiata_") + marcaTempo().remove(QLatin1Char('-'));
            if (!esegui(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(t.nome, accantonata)))
                return false;
            m_esito.Riparazioni << QStringLiteral("%1: la tabella %2 era danneggiata, è stata rinominata %3 e ricreata.")
                                       .arg(m_file, t.nome, accantonata);
            nuova = true;
        }
        if (nuova) {
            QStringList definizione{QStringLiteral("ID INTEGER PRIMARY KEY")};
            for (const QString &col : t.colonne)
                definizione << col + QStringLiteral(" TEXT");
            if (!esegui(QStringLiteral("CREATE TABLE %1 (%2)").arg(t.nome, definizione.join(QStringLiteral(", ")))))
                return false;
            // What the damaged file still holds goes in first; the defaults fill the rest.
            if (m_recupero && !m_recupero->Copia(t, m_c, m_esito.Errori, m_file))
                return false;
        } else {
            for (int i = 0; i < t.colonne.size(); ++i) {
                if (esistenti.contains(t.colonne[i], Qt::CaseInsensitive))
                    continue;
                if (!aggiungiColonna(t, i))
                    return false;
            }
        }
        return righe(t, nuova, !nuova || m_recupero);
    }

    bool esegui(const QString &sql)
    {
        QSqlQuery q(m_c.Database());
        if (q.exec(sql))
            return true;
        m_esito.Errori << QStringLiteral("%1: %2").arg(m_file, q.lastError().text());
        return false;
    }

    bool eseguiPreparata(QSqlQuery &q)
    {
        if (q.exec())
            return true;
        m_esito.Errori << QStringLiteral("%1: %2").arg(m_file, q.lastError().text());
        return false;
    }

private:
    QStringList colonneEsistenti(const QString &tabella)
    {
        QStringList r;
        QSqlQuery q(m_c.Database());
        if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(tabella)))
            return r;
        while (q.next())
            r << q.value(1).toString();
        return r;
    }

    bool aggiungiColonna(const DefinizioneTabella &t, int indice)
    {
        const QString col = t.colonne[indice];
        if (!esegui(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 TEXT").arg(t.nome, col)))
            return false;
        QSqlQuery q(m_c.Database());
        q.prepare(QStringLiteral("UPDATE %1 SET %2 = ? WHERE ID = ?").arg(t.nome, col));
        for (int id : t.righe) {
            const auto valore = ValorePredefinito(t, id, indice);
            if (!valore)
                continue;
            q.addBindValue(*valore);
            q.addBindValue(id);
            if (!eseguiPreparata(q))
                return false;
        }
        m_esito.Riparazioni << QStringLiteral("%1: aggiunta la colonna %2 alla tabella %3.").arg(m_file, col, t.nome);
        return true;
    }

    bool righe(const DefinizioneTabella &t, bool nuova, bool cercaPresenti)
    {
        QSet<int> presenti;
        if (cercaPresenti) {
            QSqlQuery q(m_c.Database());
            if (!q.exec(QStringLiteral("SELECT ID FROM %1").arg(t.nome))) {
                m_esito.Errori << QStringLiteral("%1: %2").arg(m_file, q.lastError().text());
                return false;
            }
            while (q.next())
                presenti.insert(q.value(0).toInt());
        }
        QStringList segnaposto(t.colonne.size() + 1, QStringLiteral("?"));
        QSqlQuery ins(m_c.Database());
        ins.prepare(QStringLiteral("INSERT INTO %1 (ID, %2) VALUES (%3)")
                        .arg(t.nome, t.colonne.join(QStringLiteral(", ")), segnaposto.join(QStringLiteral(", "))));
        int aggiunte = 0;
        for (int id : t.righe) {
            if (presenti.contains(id))
                continue;
            ins.addBindValue(id);
            for (int i = 0; i < t.colonne.size(); ++i) {
                const auto valore = ValorePredefinito(t, id, i);
                ins.addBindValue(valore ? QVariant(*valore) : QVariant(QMetaType(QMetaType::QString)));
            }
            if (!eseguiPreparata(ins))
                return false;
            ++aggiunte;
        }
        if (!nuova && aggiunte > 0)
            m_esito.Riparazioni << QStringLiteral("%1: %2 righe mancanti della tabella %3 ricreate con i valori iniziali.")
                                       .arg(m_file).arg(aggiunte).arg(t.nome);
        return true;
    }

    Connessione &m_c;
    EsitoArchivi &m_esito;
    QString m_file;
    Recupero *m_recupero;
};

// Renames a damaged file aside; its new path, or empty when it cannot be moved.
QString accantona(const QString &percorso, EsitoArchivi &esito, const QString &nomeFile, const QString &motivo)
{
    const QString destinazione = nomeLibero(percorso + QStringLiteral(".danneggiato-") + marcaTempo());
    if (!QFile::rename(percorso, destinazione)) {
        esito.ok = false;
        esito.Errori << QStringLiteral("%1 è danneggiato (%2) e non è stato possibile metterlo da parte.")
                            .arg(nomeFile, motivo);
        return {};
    }
    // A journal left beside a damaged file belongs to it, not to the new one.
    for (const char *suffisso : {"-journal", "-wal", "-shm"}) {
        const QString j = percorso + QLatin1String(suffisso);
        if (QFileInfo::exists(j))
            QFile::rename(j, destinazione + QLatin1String(suffisso));
    }
    return destinazione;
}

}  // namespace

std::vector<DefinizioneTabella> SchemaArchivio(FileArchivio file)
{
    std::vector<DefinizioneTabella> s;
    switch (file) {
    case FileArchivio::Sistema3: {
        DefinizioneTabella avv{QStringLiteral("TABAVV"), colonne(1, 9), {}, {1}};
        avv.predefiniti = {QStringLiteral("2"), std::nullopt, std::nullopt, std::nullopt,
                           chiocciola, chiocciola, zero, zero, zero};
        s.push_back(avv);
        const std::vector<std::optional<QString>> cicli = {
            QStringLiteral("2"), QStringLiteral("100"), zero, QStringLiteral("2"), zero, QStringLiteral("5"),
            QStringLiteral("1"), QStringLiteral("50"), QStringLiteral("1"), QStringLiteral("1"), zero,
            std::nullopt, std::nullopt, zero, zero};
        for (int d = 0; d <= costanti::Max_Grado; ++d)
            s.push_back({QStringLiteral("TAB%1").arg(d), colonne(1, 15), cicli, idDa1(costanti::Num_Sottostanti)});
        DefinizioneTabella graf{QStringLiteral("TABGRAF"), colonne(1, 12), tutti(12, zero),
                                idDa1(costanti::Num_Sottostanti)};
        graf.valoreRiga = &rigaGrafici;
        s.push_back(graf);
        break;
    }
    case FileArchivio::Sistema2:
        for (int d = 0; d <= costanti::Max_Grado; ++d)
            s.push_back({QStringLiteral("TAB%1").arg(d), colonne(1, 23), tutti(23, zero),
                         idDa1(costanti::Num_Sottostanti)});
        break;
    case FileArchivio::Sistema1: {
        const int righe = costanti::Num_Gradi * costanti::Max_Linee;  // 195
        for (int u = 1; u <= costanti::Num_Sottostanti; ++u) {
            s.push_back({QStringLiteral("Dati_Linee_S%1").arg(u), colonne(0, 7), tutti(8, zero), idDa1(righe)});
            auto testo = tutti(6, zero);
            testo[4] = chiocciola;
            s.push_back({QStringLiteral("Dati_Testo_S%1").arg(u), colonne(0, 5), testo, idDa1(righe)});
            auto dista = tutti(12, zero);
            dista[11] = chiocciola;
            s.push_back({QStringLiteral("Dati_Dista_S%1").arg(u), colonne(0, 11), dista, idDa1(righe)});
        }
        break;
    }
    }
    return s;
}

std::optional<QString> ValorePredefinito(const DefinizioneTabella &tabella, int id, int colonna)
{
    if (colonna < 0 || size_t(colonna) >= tabella.predefiniti.size())
        return std::nullopt;
    if (tabella.valoreRiga) {
        bool ok = false;
        const int numero = tabella.colonne.value(colonna).mid(1).toInt(&ok);
        if (ok)
            return tabella.valoreRiga(id, numero);
    }
    return tabella.predefiniti[size_t(colonna)];
}

EsitoArchivi Crea_Archivio(FileArchivio file)
{
    EsitoArchivi esito;
    const QString percorso = PercorsoArchivio(file);
    const QString nomeFile = QFileInfo(percorso).fileName();

    QString accantonato;
    if (QFileInfo::exists(percorso)) {
        QString motivo;
        if (!fileSano(file, motivo)) {
            accantonato = accantona(percorso, esito, nomeFile, motivo);
            if (accantonato.isEmpty())
                return esito;
        }
    }
    std::optional<Recupero> recupero;
    if (!accantonato.isEmpty())
        recupero.emplace(accantonato);

    Connessione c(file);
    if (!c.Aperta()) {
        esito.ok = false;
        esito.Errori << QStringLiteral("%1 non può essere aperto: %2").arg(nomeFile, c.Errore());
        return esito;
    }
    Costruttore costruttore(c, esito, nomeFile, recupero ? &*recupero : nullptr);
    c.IniziaTransazione();
    bool ok = true;
    for (const DefinizioneTabella &t : SchemaArchivio(file)) {
        if (!costruttore.tabella(t)) {
            ok = false;
            break;
        }
    }
    if (ok && file == FileArchivio::Sistema3) {
        // The password is never kept, whatever an older archive held.
        ok = costruttore.esegui(QStringLiteral("UPDATE TABAVV SET C6 = '@' WHERE C6 IS NULL OR C6 <> '@'"));
    }
    if (ok && !c.ConfermaTransazione()) {
        esito.Errori << QStringLiteral("%1: %2").arg(nomeFile, c.Database().lastError().text());
        ok = false;
    }
    if (!ok) {
        c.AnnullaTransazione();
        esito.ok = false;
    }
    if (recupero)
        esito.Riparazioni.prepend(recupero->Resoconto(nomeFile, QFileInfo(accantonato).fileName()));
    return esito;
}

EsitoArchivi Crea_Archivi()
{
    EsitoArchivi totale;
    bool primoAvvio = true;
    for (auto f : {FileArchivio::Sistema1, FileArchivio::Sistema2, FileArchivio::Sistema3})
        primoAvvio = primoAvvio && !QFileInfo::exists(PercorsoArchivio(f));
    for (auto f : {FileArchivio::Sistema1, FileArchivio::Sistema2, FileArchivio::Sistema3}) {
        const bool mancava = !QFileInfo::exists(PercorsoArchivio(f));
        EsitoArchivi e = Crea_Archivio(f);
        if (mancava && !primoAvvio && e.ok)
            e.Riparazioni.prepend(QStringLiteral("%1 mancava ed è stato ricreato con i valori iniziali.")
                                      .arg(QFileInfo(PercorsoArchivio(f)).fileName()));
        totale.ok = totale.ok && e.ok;
        totale.Riparazioni << e.Riparazioni;
        totale.Errori << e.Errori;
    }
    return totale;
}

}  // namespace archivio
