#include "archive/CreaArchivi.h"

#include "archive/DescrizioneArchivio.h"
#include "archive/RecuperoArchivio.h"
#include "platform/Costanti.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

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

// Tests stop the process at a step of a repair (read for tests only), as a crash or a
// power cut would there.
void arrestoDiProva(const char *passo)
{
    if (qgetenv("WAVELORE_PROVA_ARRESTO_RIPARAZIONE") == passo)
        std::_Exit(86);
}

// What has been written to a file, or renamed in a folder, is on the disk before what
// follows relies on it.
bool sincronizza(const QString &percorso)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(percorso).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
#else
    Q_UNUSED(percorso);
    return true;
#endif
}

bool rimuovi(const QString &percorso)
{
    bool ok = true;
    for (const char *suffisso : {"", "-journal"}) {
        const QString f = percorso + QLatin1String(suffisso);
        ok = (!QFileInfo::exists(f) || QFile::remove(f)) && ok;
    }
    return ok;
}

// The repaired file is built under this name beside the archive.
QString nomeRiparazione(const QString &percorso) { return percorso + QStringLiteral(".riparazione"); }

// A file cut short, or grown behind SQLite's back, reads as whole: SQLite counts the
// pages its header gives and fills a short last page with zeroes. Empty when the size is right.
QString dimensioneErrata(const QString &percorso)
{
    const auto t = LeggiIntestazione(percorso);
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

enum class StatoFile { Sano, Danneggiato, In_Uso };

// A file is usable when SQLite can read it, its own check finds nothing wrong and its
// size is the one its header gives. It is in use when another program holds it locked
// beyond the wait: that says nothing of its state. An empty file opens as an empty
// database: it is a file cut short, not a new one.
StatoFile esamina(const QString &percorso, QString &motivo)
{
    if (QFileInfo(percorso).size() == 0) {
        motivo = QStringLiteral("file vuoto");
        return StatoFile::Danneggiato;
    }
    Connessione c(percorso);
    if (!c.Aperta()) {
        motivo = c.Errore();
        return c.Occupata() ? StatoFile::In_Uso : StatoFile::Danneggiato;
    }
    // One read lock from the check to the size: no other program's commit changes the file
    // between them. Taking it also rolls back what an interrupted write left in a journal.
    QSqlDatabase db = c.Database();
    db.transaction();
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next()) {
        motivo = Motivo(q.lastError());
        return Occupato(q.lastError()) ? StatoFile::In_Uso : StatoFile::Danneggiato;
    }
    const QString esito = q.value(0).toString();
    motivo = esito.compare(QStringLiteral("ok"), Qt::CaseInsensitive) != 0 ? esito : dimensioneErrata(percorso);
    q.finish();
    db.rollback();
    return motivo.isEmpty() ? StatoFile::Sano : StatoFile::Danneggiato;
}

// What tells whether a file changed since it was looked at.
QByteArray impronta(const QString &percorso)
{
    QFile f(percorso);
    const QFileInfo info(percorso);
    return QByteArray::number(info.size()) + ' '
           + QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + ' '
           + (f.open(QIODevice::ReadOnly) ? f.read(100) : QByteArray());
}

class Costruttore {
public:
    Costruttore(Connessione &c, EsitoArchivi &esito, FileArchivio file, Recupero *recupero = nullptr)
        : m_c(c), m_esito(esito), m_archivio(file), m_file(NomeArchivio(file)), m_recupero(recupero) {}

    // Another program held the file: what failed says nothing of the file.
    bool Occupato() const { return m_occupato; }

    bool tabella(const DefinizioneTabella &t)
    {
        const QStringList esistenti = colonneEsistenti(t.nome);
        bool nuova = esistenti.isEmpty();
        if (!nuova && !esistenti.contains(QStringLiteral("ID"), Qt::CaseInsensitive)) {
            const QString accantonata = t.nome + QStringLiteral("_danneggiata_") + marcaTempo().remove(QLatin1Char('-'));
            if (!esegui(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(t.nome, accantonata)))
                return false;
            m_esito.Riparazioni << QStringLiteral("%1: dati danneggiati messi da parte nel file; "
                                                  "tornano ai valori iniziali: %2.")
                                       .arg(m_file, descrivi(t.nome, t.righe));
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
            bool aggiunte = false;
            for (int i = 0; i < t.colonne.size(); ++i) {
                if (esistenti.contains(t.colonne[i], Qt::CaseInsensitive))
                    continue;
                if (!aggiungiColonna(t, i))
                    return false;
                aggiunte = true;
            }
            if (aggiunte) {
                // Of the rows there: those missing are told apart, once created.
                std::vector<int> presenti;
                QSqlQuery q(m_c.Database());
                if (q.exec(QStringLiteral("SELECT ID FROM %1").arg(t.nome)))
                    while (q.next())
                        presenti.push_back(q.value(0).toInt());
                m_esito.Riparazioni << QStringLiteral("%1: completati con i valori iniziali: %2.")
                                           .arg(m_file, descrivi(t.nome, presenti));
            }
        }
        return righe(t, nuova, !nuova || m_recupero);
    }

    bool esegui(const QString &sql)
    {
        QSqlQuery q(m_c.Database());
        return q.exec(sql) || fallita(q.lastError());
    }

    bool eseguiPreparata(QSqlQuery &q) { return q.exec() || fallita(q.lastError()); }

    bool fallita(const QSqlError &errore)
    {
        m_occupato = m_occupato || archivio::Occupato(errore);
        m_esito.Errori << QStringLiteral("%1: %2").arg(m_file, Motivo(errore));
        return false;
    }

private:
    template <typename Id>
    QString descrivi(const QString &tabella, const Id &righe) const
    {
        DatiArchivio dati(m_archivio);
        for (int id : righe)
            dati.Aggiungi(tabella, id);
        return dati.Testo();
    }

    QStringList colonneEsistenti(const QString &tabella)
    {
        QStringList r;
        QSqlQuery q(m_c.Database());
        if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(tabella))) {
            m_occupato = m_occupato || archivio::Occupato(q.lastError());
            return r;
        }
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
        return true;
    }

    bool righe(const DefinizioneTabella &t, bool nuova, bool cercaPresenti)
    {
        QSet<int> presenti;
        if (cercaPresenti) {
            QSqlQuery q(m_c.Database());
            if (!q.exec(QStringLiteral("SELECT ID FROM %1").arg(t.nome)))
                return fallita(q.lastError());
            while (q.next())
                presenti.insert(q.value(0).toInt());
        }
        QStringList segnaposto(t.colonne.size() + 1, QStringLiteral("?"));
        QSqlQuery ins(m_c.Database());
        ins.prepare(QStringLiteral("INSERT INTO %1 (ID, %2) VALUES (%3)")
                        .arg(t.nome, t.colonne.join(QStringLiteral(", ")), segnaposto.join(QStringLiteral(", "))));
        std::vector<int> aggiunte;
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
            aggiunte.push_back(id);
        }
        if (!nuova && !aggiunte.empty())
            m_esito.Riparazioni << QStringLiteral("%1: ricreati con i valori iniziali: %2.")
                                       .arg(m_file, descrivi(t.nome, aggiunte));
        return true;
    }

    Connessione &m_c;
    EsitoArchivi &m_esito;
    FileArchivio m_archivio;
    QString m_file;
    Recupero *m_recupero;
    bool m_occupato = false;
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

void inUso(EsitoArchivi &esito, const QString &nomeFile)
{
    esito.ok = false;
    esito.In_Uso << nomeFile;
}

// The tables of `file` made complete in c, in one transaction; with a recovery, the
// rows it still reads go in first. False, rolled back, when a statement fails.
bool costruisci(FileArchivio file, Connessione &c, EsitoArchivi &esito, Recupero *recupero, bool &occupato)
{
    Costruttore costruttore(c, esito, file, recupero);
    c.IniziaTransazione();
    bool ok = true;
    for (const DefinizioneTabella &t : SchemaArchivio(file)) {
        ok = costruttore.tabella(t);
        if (!ok)
            break;
        if (recupero)
            arrestoDiProva("copia");
    }
    if (ok && file == FileArchivio::Sistema3) {
        // The password is never kept, whatever an older archive held.
        ok = costruttore.esegui(QStringLiteral("UPDATE TABAVV SET C6 = '@' WHERE C6 IS NULL OR C6 <> '@'"));
    }
    if (ok && !c.ConfermaTransazione()) {
        esito.Errori << QStringLiteral("%1: %2").arg(NomeArchivio(file), c.Errore());
        occupato = c.Occupata();
        ok = false;
    }
    occupato = occupato || costruttore.Occupato();
    if (!ok) {
        c.AnnullaTransazione();
        esito.ok = false;
    }
    return ok;
}

// A repair a crash or a power cut interrupted. Its file beside the archive is whole from
// the moment the damaged one is set aside: with the archive still there it is dropped and
// the repair starts again from the archive; without it, it takes the archive's place.
bool finisciRiparazione(FileArchivio file, EsitoArchivi &esito)
{
    const QString percorso = PercorsoArchivio(file);
    const QString nuovo = nomeRiparazione(percorso);
    const QFileInfo info(percorso);
    // The copies of a cut file's whole pages a repair was reading.
    for (const QString &copia : info.dir().entryList({info.fileName() + QStringLiteral(".recupero-*")}, QDir::Files))
        QFile::remove(info.dir().filePath(copia));
    if (!QFileInfo::exists(nuovo))
        return true;
    if (QFileInfo::exists(percorso)) {
        if (rimuovi(nuovo))
            return true;
        esito.ok = false;
        esito.Errori << QStringLiteral("%1: la riparazione interrotta non può essere ripresa: %2 non può essere rimosso.")
                            .arg(NomeArchivio(file), QFileInfo(nuovo).fileName());
        return false;
    }
    if (!QFile::rename(nuovo, percorso)) {
        esito.ok = false;
        esito.Errori << QStringLiteral("%1: la riparazione interrotta non può essere completata; il file riparato è %2.")
                            .arg(NomeArchivio(file), QFileInfo(nuovo).fileName());
        return false;
    }
    sincronizza(info.absolutePath());
    // The newest copy set aside: its name gives the time it was.
    QStringList accantonati;
    for (const QString &f : info.dir().entryList({info.fileName() + QStringLiteral(".danneggiato-*")}, QDir::Files,
                                                 QDir::Name))
        if (!f.endsWith(QLatin1String("-journal")) && !f.endsWith(QLatin1String("-wal")) &&
            !f.endsWith(QLatin1String("-shm")))
            accantonati << f;
    esito.Riparazioni << QStringLiteral("La riparazione di %1, interrotta, è stata completata; "
                                        "il file danneggiato è conservato come %2.")
                             .arg(NomeArchivio(file), accantonati.value(accantonati.size() - 1));
    return true;
}

// Builds the repaired file beside the damaged one, synced, then sets the damaged one aside
// and moves the new one into its place: at every moment one of the two names holds all
// that could be read, and the next start finds it (finisciRiparazione).
bool ripara(FileArchivio file, const QString &motivo, EsitoArchivi &esito)
{
    const QString percorso = PercorsoArchivio(file);
    const QString nomeFile = NomeArchivio(file);
    const QString nuovo = nomeRiparazione(percorso);
    const QByteArray letto = impronta(percorso);
    Recupero recupero(percorso, file);
    bool costruito = false, occupato = false;
    if (!rimuovi(nuovo)) {
        esito.Errori << QStringLiteral("%1: %2 non può essere rimosso.").arg(nomeFile, QFileInfo(nuovo).fileName());
    } else if (Connessione c(nuovo); c.Aperta()) {
        costruito = costruisci(file, c, esito, &recupero, occupato);
    } else {
        esito.Errori << QStringLiteral("%1: %2").arg(QFileInfo(nuovo).fileName(), c.Errore());
    }
    recupero.Chiudi();
    const auto annulla = [&](bool occupato_) {
        rimuovi(nuovo);
        if (occupato_)
            inUso(esito, nomeFile);
        esito.ok = false;
        return false;
    };
    if (recupero.Occupato() || occupato)
        return annulla(true);
    if (!costruito || !sincronizza(nuovo)) {
        if (costruito)
            esito.Errori << QStringLiteral("%1: la copia riparata non può essere scritta sul disco.").arg(nomeFile);
        return annulla(false);
    }
    arrestoDiProva("completa");

    // Set aside under its own write lock, and only as it was read: a program writing
    // it meanwhile keeps it in use. (A file without a database's header has no writer, and
    // the lock would start a database in it.)
    Connessione blocco(percorso);
    QSqlQuery q(blocco.Database());
    if (LeggiIntestazione(percorso) && !q.exec(QStringLiteral("BEGIN EXCLUSIVE")) && Occupato(q.lastError()))
        return annulla(true);
    if (impronta(percorso) != letto)
        return annulla(true);
    const QString accantonato = accantona(percorso, esito, nomeFile, motivo);
    if (accantonato.isEmpty())
        return annulla(false);
    arrestoDiProva("accantonato");
    if (!QFile::rename(nuovo, percorso)) {
        esito.ok = false;
        esito.Errori << QStringLiteral("%1: il file riparato non può prendere il suo posto; è %2.")
                            .arg(nomeFile, QFileInfo(nuovo).fileName());
        return false;
    }
    sincronizza(QFileInfo(percorso).absolutePath());
    esito.Riparazioni.prepend(recupero.Resoconto(nomeFile, QFileInfo(accantonato).fileName()));
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
    const QString nomeFile = NomeArchivio(file);
    if (!finisciRiparazione(file, esito))
        return esito;
    if (QFileInfo::exists(percorso)) {
        QString motivo;
        switch (esamina(percorso, motivo)) {
        case StatoFile::Sano: break;
        case StatoFile::In_Uso: inUso(esito, nomeFile); return esito;
        case StatoFile::Danneggiato:
            if (!ripara(file, motivo, esito))
                return esito;
            break;
        }
    }

    Connessione c(percorso);  // by its path: the start makes what is missing
    if (!c.Aperta()) {
        if (c.Occupata()) {
            inUso(esito, nomeFile);
        } else {
            esito.ok = false;
            esito.Errori << QStringLiteral("%1 non può essere aperto: %2").arg(nomeFile, c.Errore());
        }
        return esito;
    }
    // A file another program holds is left as it was: what was done to it is rolled back.
    EsitoArchivi passo;
    bool occupato = false;
    if (!costruisci(file, c, passo, nullptr, occupato) && occupato) {
        inUso(esito, nomeFile);
        return esito;
    }
    esito.ok = esito.ok && passo.ok;
    esito.Riparazioni << passo.Riparazioni;
    esito.Errori << passo.Errori;
    return esito;
}

EsitoArchivi Crea_Archivi(int attesaMs)
{
    const auto presente = [](FileArchivio f) {
        const QString p = PercorsoArchivio(f);
        return QFileInfo::exists(p) || QFileInfo::exists(nomeRiparazione(p));
    };
    EsitoArchivi totale;
    bool primoAvvio = true;
    for (auto f : {FileArchivio::Sistema1, FileArchivio::Sistema2, FileArchivio::Sistema3})
        primoAvvio = primoAvvio && !presente(f);
    QElapsedTimer attesa;
    attesa.start();
    for (auto f : {FileArchivio::Sistema1, FileArchivio::Sistema2, FileArchivio::Sistema3}) {
        const bool mancava = !presente(f);
        EsitoArchivi e;
        // A file another program holds may be let go in a moment: tried again, within the wait.
        for (;;) {
            EsitoArchivi prova = Crea_Archivio(f);
            e.ok = prova.ok;
            e.In_Uso = prova.In_Uso;
            e.Riparazioni << prova.Riparazioni;
            e.Errori << prova.Errori;
            if (e.In_Uso.isEmpty() || attesa.hasExpired(attesaMs))
                break;
            QThread::msleep(100);
        }
        if (mancava && !primoAvvio && e.ok)
            e.Riparazioni.prepend(QStringLiteral("%1 mancava ed è stato ricreato con i valori iniziali.")
                                      .arg(NomeArchivio(f)));
        totale.ok = totale.ok && e.ok;
        totale.In_Uso << e.In_Uso;
        totale.Riparazioni << e.Riparazioni;
        totale.Errori << e.Errori;
    }
    return totale;
}

}  // namespace archivio
