#include "archive/CreaArchivi.h"

#include "platform/Costanti.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

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

class Costruttore {
public:
    Costruttore(Connessione &c, EsitoArchivi &esito, const QString &nomeFile)
        : m_c(c), m_esito(esito), m_file(nomeFile) {}

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
        } else {
            for (int i = 0; i < t.colonne.size(); ++i) {
                if (esistenti.contains(t.colonne[i], Qt::CaseInsensitive))
                    continue;
                if (!aggiungiColonna(t, i))
                    return false;
            }
        }
        return righe(t, nuova);
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

    bool righe(const DefinizioneTabella &t, bool nuova)
    {
        QSet<int> presenti;
        if (!nuova) {
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
};

bool accantona(const QString &percorso, EsitoArchivi &esito, const QString &nomeFile, const QString &motivo)
{
    const QString destinazione = nomeLibero(percorso + QStringLiteral(".danneggiato-") + marcaTempo());
    if (!QFile::rename(percorso, destinazione)) {
        esito.ok = false;
        esito.Errori << QStringLiteral("%1 è danneggiato (%2) e non è stato possibile metterlo da parte.")
                            .arg(nomeFile, motivo);
        return false;
    }
    // A journal left beside a damaged file belongs to it, not to the new one.
    for (const char *suffisso : {"-journal", "-wal", "-shm"}) {
        const QString j = percorso + QLatin1String(suffisso);
        if (QFileInfo::exists(j))
            QFile::rename(j, destinazione + QLatin1String(suffisso));
    }
    esito.Riparazioni << QStringLiteral("%1 era danneggiato: è stato messo da parte come %2 e ricreato con i valori iniziali.")
                             .arg(nomeFile, QFileInfo(destinazione).fileName());
    return true;
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

    if (QFileInfo::exists(percorso)) {
        QString motivo;
        if (!fileSano(file, motivo) && !accantona(percorso, esito, nomeFile, motivo))
            return esito;
    }

    Connessione c(file);
    if (!c.Aperta()) {
        esito.ok = false;
        esito.Errori << QStringLiteral("%1 non può essere aperto: %2").arg(nomeFile, c.Errore());
        return esito;
    }
    Costruttore costruttore(c, esito, nomeFile);
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
