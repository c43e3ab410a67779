#include "archive/CreaArchivi.h"

#include "platform/Costanti.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <limits>

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

// A file is usable when SQLite can read it and its own check finds nothing wrong.
// An empty file opens as an empty database: it is a file cut short, not a new one.
bool fileSano(FileArchivio file, QString &motivo)
{
    if (QFileInfo(PercorsoArchivio(file)).size() == 0) {
        motivo = QStringLiteral("file vuoto");
        return false;
    }
    Connessione c(file);
    if (!c.Aperta()) {
        motivo = c.Errore();
        return false;
    }
    QSqlQuery q(c.Database());
    if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next()) {
        motivo = q.lastError().text();
        return false;
    }
    const QString esito = q.value(0).toString();
    if (esito.compare(QStringLiteral("ok"), Qt::CaseInsensitive) != 0) {
        motivo = esito;
        return false;
    }
    return true;
}

// What can still be read of a file set aside as damaged: table by table, and within a
// table by row-id ranges, halving a range that fails until the unreadable rows are
// isolated. The file is opened read-only and never changed.
class Recupero {
public:
    explicit Recupero(const QString &percorso)
        : m_nome(QStringLiteral("recupero_%1").arg(quintptr(this)))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nome);
        db.setDatabaseName(percorso);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        m_aperto = db.open();
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
        std::map<qint64, std::vector<QVariant>> righe;
        constexpr qint64 minimo = std::numeric_limits<qint64>::min();
        constexpr qint64 massimo = std::numeric_limits<qint64>::max();
        if (!t.righe.empty() && !leggi(t.nome, vecchie, minimo, massimo, righe)) {
            const qint64 primo = *std::min_element(t.righe.begin(), t.righe.end());
            const qint64 ultimo = *std::max_element(t.righe.begin(), t.righe.end());
            // Rows outside the program's own ids are not worth a search.
            leggi(t.nome, vecchie, minimo, primo - 1, righe);
            dividi(t.nome, vecchie, primo, ultimo, righe);
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

    // Rows with rowid in [da, a], all or nothing: a read that fails half-way keeps none.
    bool leggi(const QString &tabella, const QStringList &colonne, qint64 da, qint64 a,
               std::map<qint64, std::vector<QVariant>> &righe) const
    {
        if (da > a)
            return true;
        QSqlQuery q(db());
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid BETWEEN ? AND ?")
                      .arg(colonne.join(QStringLiteral(", ")), tabella));
        q.addBindValue(da);
        q.addBindValue(a);
        if (!q.exec())
            return false;
        std::map<qint64, std::vector<QVariant>> lette;
        while (q.next()) {
            bool ok = false;
            const qint64 id = q.value(0).toLongLong(&ok);
            if (!ok)
                continue;
            std::vector<QVariant> valori;
            for (int i = 1; i < colonne.size(); ++i)
                valori.push_back(q.value(i));
            lette[id] = std::move(valori);
        }
        if (q.lastError().isValid())
            return false;
        righe.merge(lette);
        return true;
    }

    void dividi(const QString &tabella, const QStringList &colonne, qint64 da, qint64 a,
                std::map<qint64, std::vector<QVariant>> &righe) const
    {
        if (da > a || leggi(tabella, colonne, da, a, righe) || da == a)
            return;
        const qint64 meta = da + (a - da) / 2;
        dividi(tabella, colonne, da, meta, righe);
        dividi(tabella, colonne, meta + 1, a, righe);
    }

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
