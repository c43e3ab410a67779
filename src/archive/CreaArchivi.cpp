#include "archive/CreaArchivi.h"

#include "archive/DescrizioneArchivio.h"
#include "archive/RecuperoArchivio.h"
#include "platform/Costanti.h"
#include "platform/PuntiProva.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>

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

// What tells whether a file changed since it was looked at, and its header as it was then.
struct Impronta {
    qint64 dimensione = -1;
    qint64 modificato = 0;
    QByteArray testa;  // the first 100 bytes
    bool operator==(const Impronta &) const = default;
};

Impronta impronta(const QString &percorso)
{
    QFile f(percorso);
    const QFileInfo info(percorso);
    return {info.exists() ? info.size() : -1, info.lastModified().toMSecsSinceEpoch(),
            f.open(QIODevice::ReadOnly) ? f.read(100) : QByteArray()};
}

// A file cut short, or grown behind SQLite's back, reads as whole: SQLite counts the
// pages its header gives and fills a short last page with zeroes. Empty when the size is right.
QString dimensioneErrata(const QString &percorso, const std::optional<Intestazione> &t)
{
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
// size is the one its header (read once, with the file's print) gives. It is in use when
// another program holds it locked beyond the wait: that says nothing of its state. An empty
// file opens as an empty database: it is a file cut short, not a new one.
StatoFile esamina(const QString &percorso, const std::optional<Intestazione> &intestazione, QString &motivo)
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
    motivo = esito.compare(QStringLiteral("ok"), Qt::CaseInsensitive) != 0 ? esito
                                                                           : dimensioneErrata(percorso, intestazione);
    q.finish();
    db.rollback();
    return motivo.isEmpty() ? StatoFile::Sano : StatoFile::Danneggiato;
}

enum class Contenuto { Nessuno, Parziale, Completo, In_Uso };

// How much of the program's tables and rows a file holds. A file that cannot be read at
// all holds something nobody can tell: Parziale.
Contenuto contenuto(FileArchivio file, const QString &percorso)
{
    if (QFileInfo(percorso).size() == 0)
        return Contenuto::Nessuno;
    Connessione c(percorso);
    QSqlQuery q(c.Database());
    // The first read also rolls back what an interrupted build left in its journal.
    if (!c.Aperta() || !q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
        return c.Occupata() || Occupato(q.lastError()) ? Contenuto::In_Uso : Contenuto::Parziale;
    QSet<QString> tabelle;
    while (q.next())
        tabelle.insert(q.value(0).toString().toUpper());
    int trovate = 0;
    bool complete = true;
    for (const DefinizioneTabella &t : SchemaArchivio(file)) {
        if (!tabelle.contains(t.nome.toUpper())) {
            complete = false;
            continue;
        }
        ++trovate;
        QSqlQuery righe(c.Database());
        const bool lette = righe.exec(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE ID BETWEEN %2 AND %3")
                                          .arg(t.nome)
                                          .arg(t.righe.front())
                                          .arg(t.righe.back())) &&
                           righe.next();
        if (!lette && Occupato(righe.lastError()))
            return Contenuto::In_Uso;
        complete = complete && lette && righe.value(0).toInt() == int(t.righe.size());
    }
    return trovate == 0 ? Contenuto::Nessuno : complete ? Contenuto::Completo : Contenuto::Parziale;
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
            if (!accantonaTabella(t))
                return false;
            nuova = true;
        }
        if (nuova ? !creaTabella(t) : !completaColonne(t, esistenti))
            return false;
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
    // A table without a row key is renamed aside in the file, and made again.
    bool accantonaTabella(const DefinizioneTabella &t)
    {
        const QString accantonata = t.nome + QStringLiteral("_danneggiata_") + marcaTempo().remove(QLatin1Char('-'));
        if (!esegui(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(t.nome, accantonata)))
            return false;
        m_esito.Riparazioni << QStringLiteral("%1: dati danneggiati messi da parte nel file; "
                                              "tornano ai valori iniziali: %2.")
                                   .arg(m_file, descrivi(t.nome, t.righe));
        return true;
    }

    bool creaTabella(const DefinizioneTabella &t)
    {
        QStringList definizione{QStringLiteral("ID INTEGER PRIMARY KEY")};
        for (const QString &col : t.colonne)
            definizione << col + QStringLiteral(" TEXT");
        if (!esegui(QStringLiteral("CREATE TABLE %1 (%2)").arg(t.nome, definizione.join(QStringLiteral(", ")))))
            return false;
        // What the damaged file still holds goes in first; the defaults fill the rest.
        return !m_recupero || m_recupero->Copia(t, m_c, m_esito.Errori, m_file);
    }

    // The columns an older table lacks, with their defaults; the rows that were there are told.
    bool completaColonne(const DefinizioneTabella &t, const QStringList &esistenti)
    {
        bool aggiunte = false;
        for (int i = 0; i < t.colonne.size(); ++i) {
            if (esistenti.contains(t.colonne[i], Qt::CaseInsensitive))
                continue;
            if (!aggiungiColonna(t, i))
                return false;
            aggiunte = true;
        }
        if (!aggiunte)
            return true;
        // Of the rows there: those missing are told apart, once created.
        std::vector<int> presenti;
        QSqlQuery q(m_c.Database());
        if (q.exec(QStringLiteral("SELECT ID FROM %1").arg(t.nome)))
            while (q.next())
                presenti.push_back(q.value(0).toInt());
        m_esito.Riparazioni << QStringLiteral("%1: completati con i valori iniziali: %2.")
                                   .arg(m_file, descrivi(t.nome, presenti));
        return true;
    }

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
            punti_prova::Passo_Riparazione(PassoRiparazione::Copia);
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

// What a repair keeps beside its file until its notice has been shown: the name the damaged
// file was set aside as (empty until it is), and how the account ends (Recupero::Esito;
// empty for a repair whose account was lost).
struct AvvisoRiparazione {
    QString accantonato;
    QString esito;
};

QString nomeAvviso(const QString &percorso) { return percorso + QStringLiteral(".avviso"); }

// On the disk before anything it tells of is done.
bool scriviAvviso(const QString &percorso, const AvvisoRiparazione &avviso)
{
    const QByteArray testo = (avviso.accantonato + QLatin1Char('\n') + avviso.esito).toUtf8();
    QSaveFile f(nomeAvviso(percorso));
    if (!f.open(QIODevice::WriteOnly) || f.write(testo) != testo.size() || !f.flush()) {
        f.cancelWriting();
        return false;
    }
#ifdef Q_OS_UNIX
    if (::fdatasync(f.handle()) != 0) {
        f.cancelWriting();
        return false;
    }
#endif
    return f.commit() && sincronizza(QFileInfo(percorso).absolutePath());
}

std::optional<AvvisoRiparazione> leggiAvviso(const QString &percorso)
{
    QFile f(nomeAvviso(percorso));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString testo = QString::fromUtf8(f.readAll());
    const qsizetype capo = testo.indexOf(QLatin1Char('\n'));
    if (capo < 0)
        return AvvisoRiparazione{};
    return AvvisoRiparazione{testo.left(capo), testo.mid(capo + 1)};
}

// The newest copy set aside: its name gives the time it was. Empty when none is left.
QString ultimoAccantonato(const QString &percorso)
{
    const QFileInfo info(percorso);
    QString ultimo;
    for (const QString &f : info.dir().entryList({info.fileName() + QStringLiteral(".danneggiato-*")}, QDir::Files,
                                                 QDir::Name))
        if (!f.endsWith(QLatin1String("-journal")) && !f.endsWith(QLatin1String("-wal")) &&
            !f.endsWith(QLatin1String("-shm")))
            ultimo = f;
    return ultimo;
}

// The trader's account of a repair.
QString testoRiparazione(const QString &nomeFile, const QString &accantonato, const QString &esito)
{
    if (esito.isEmpty() && accantonato.isEmpty())
        return QStringLiteral("La riparazione di %1, interrotta, è stata completata.").arg(nomeFile);
    if (esito.isEmpty())
        return QStringLiteral("La riparazione di %1, interrotta, è stata completata; "
                              "il file danneggiato è conservato come %2.")
            .arg(nomeFile, accantonato);
    if (accantonato.isEmpty())
        return QStringLiteral("%1 era danneggiato ed è stato ricreato").arg(nomeFile) + esito;
    return QStringLiteral("%1 era danneggiato: è stato messo da parte come %2 e ricreato").arg(nomeFile, accantonato) +
           esito;
}

// A repair's notice, told at every start until it has been shown (Avvisi_Mostrati).
void raccontaAvviso(FileArchivio file, const AvvisoRiparazione &avviso, EsitoArchivi &esito)
{
    const QString percorso = PercorsoArchivio(file);
    const QString accantonato = avviso.accantonato.isEmpty() ? ultimoAccantonato(percorso) : avviso.accantonato;
    esito.Riparazioni.prepend(testoRiparazione(NomeArchivio(file), accantonato, avviso.esito));
    if (QFileInfo::exists(nomeAvviso(percorso)))
        esito.Da_Confermare << nomeAvviso(percorso);
}

// Set aside under its own write lock, and only as it was read: a program writing it
// meanwhile keeps it in use. (A file without a database's header has no writer, and the
// lock would start a database in it.)
bool fermo(Connessione &blocco, const QString &percorso, const Impronta &letto, bool database)
{
    QSqlQuery q(blocco.Database());
    if (database && !q.exec(QStringLiteral("BEGIN EXCLUSIVE")) && Occupato(q.lastError()))
        return false;
    return impronta(percorso) == letto;
}

// The complete repaired file takes the archive's place, the archive (when there is one, held
// in `blocco`) set aside first, and the notice kept beside them names what it became.
bool mettiInPosto(FileArchivio file, const QString &motivo, AvvisoRiparazione avviso, EsitoArchivi &esito)
{
    const QString percorso = PercorsoArchivio(file);
    const QString nomeFile = NomeArchivio(file);
    if (QFileInfo::exists(percorso)) {
        const QString accantonato = accantona(percorso, esito, nomeFile, motivo);
        if (accantonato.isEmpty())
            return false;
        avviso.accantonato = QFileInfo(accantonato).fileName();
        scriviAvviso(percorso, avviso);  // else the name is found again in the folder
    }
    punti_prova::Passo_Riparazione(PassoRiparazione::Accantonato);
    const QString nuovo = nomeRiparazione(percorso);
    if (!QFile::rename(nuovo, percorso)) {
        esito.ok = false;
        esito.Errori << QStringLiteral("%1: il file riparato non può prendere il suo posto; è %2.")
                            .arg(nomeFile, QFileInfo(nuovo).fileName());
        return false;
    }
    sincronizza(QFileInfo(percorso).absolutePath());
    punti_prova::Passo_Riparazione(PassoRiparazione::In_Posto);
    raccontaAvviso(file, avviso, esito);
    return true;
}

// A repaired file that cannot be told good is kept under a name of its own, never deleted.
bool accantonaRiparazione(FileArchivio file, const QString &perche, EsitoArchivi &esito)
{
    const QString percorso = PercorsoArchivio(file);
    const QString nuovo = nomeRiparazione(percorso);
    const QString destinazione = nomeLibero(nuovo + QLatin1Char('-') + marcaTempo());
    if (!QFile::rename(nuovo, destinazione)) {
        esito.ok = false;
        esito.Errori << QStringLiteral("%1: la riparazione interrotta non può essere ripresa: %2 non può essere "
                                       "messo da parte.")
                            .arg(NomeArchivio(file), QFileInfo(nuovo).fileName());
        return false;
    }
    QFile::remove(nomeAvviso(percorso));
    esito.Riparazioni << QStringLiteral("%1: la copia riparata lasciata da una riparazione interrotta %2; "
                                        "è conservata come %3.")
                             .arg(NomeArchivio(file), perche, QFileInfo(destinazione).fileName());
    return true;
}

// A complete repaired file is preferred to an archive that fails its check or holds none of
// the program's tables; beside an archive in order it is set aside, for the archive may be
// newer (put back by the trader, a restore or a sync).
bool preferisciRiparazione(FileArchivio file, const AvvisoRiparazione &avviso, EsitoArchivi &esito)
{
    const QString percorso = PercorsoArchivio(file);
    if (!QFileInfo::exists(percorso))
        return mettiInPosto(file, {}, avviso, esito);
    const Impronta letto = impronta(percorso);
    const auto intestazione = LeggiIntestazione(letto.testa);
    QString motivo;
    const StatoFile stato = esamina(percorso, intestazione, motivo);
    const Contenuto presente = stato == StatoFile::Sano ? contenuto(file, percorso) : Contenuto::Nessuno;
    if (stato == StatoFile::In_Uso || presente == Contenuto::In_Uso) {
        inUso(esito, NomeArchivio(file));
        return false;
    }
    if (presente != Contenuto::Nessuno)
        return accantonaRiparazione(file, QStringLiteral("non è stata usata: il file è integro"), esito);
    Connessione blocco(percorso);
    if (!fermo(blocco, percorso, letto, intestazione.has_value())) {
        inUso(esito, NomeArchivio(file));
        return false;
    }
    return mettiInPosto(file, motivo.isEmpty() ? QStringLiteral("nessun dato") : motivo, avviso, esito);
}

// A repair a crash or a power cut interrupted, finished from what it left: its notice not yet
// shown, a repaired file beside the archive (complete: preferRiparazione; its build barely
// begun: dropped, and the repair starts again from the archive; anything else: set aside).
bool finisciRiparazione(FileArchivio file, EsitoArchivi &esito)
{
    const QString percorso = PercorsoArchivio(file);
    const QString nuovo = nomeRiparazione(percorso);
    const QFileInfo info(percorso);
    // The copies of a cut file's whole pages a repair was reading.
    for (const QString &copia : info.dir().entryList({info.fileName() + QStringLiteral(".recupero-*")}, QDir::Files))
        QFile::remove(info.dir().filePath(copia));
    const auto avviso = leggiAvviso(percorso);
    if (!QFileInfo::exists(nuovo)) {
        if (avviso)  // in place, but never told
            raccontaAvviso(file, *avviso, esito);
        return true;
    }
    const Contenuto costruito = contenuto(file, nuovo);
    QString motivo;
    if (costruito == Contenuto::In_Uso) {
        inUso(esito, NomeArchivio(file));
        return false;
    }
    if (costruito == Contenuto::Nessuno && rimuovi(nuovo)) {
        QFile::remove(nomeAvviso(percorso));
    } else if (costruito == Contenuto::Completo &&
               esamina(nuovo, LeggiIntestazione(impronta(nuovo).testa), motivo) == StatoFile::Sano) {
        // Its notice goes with it, whatever stops the start before it is shown.
        if (!avviso)
            scriviAvviso(percorso, {});
        return preferisciRiparazione(file, avviso.value_or(AvvisoRiparazione{}), esito);
    } else if (!accantonaRiparazione(file, QStringLiteral("non era completa"), esito)) {
        return false;
    }
    if (!QFileInfo::exists(percorso))
        esito.Riparazioni << QStringLiteral("%1 mancava ed è stato ricreato con i valori iniziali.")
                                 .arg(NomeArchivio(file));
    return true;
}

// Builds the repaired file beside the damaged one, synced with its notice, then sets the
// damaged one aside and moves the new one into its place: at every moment one of the two
// names holds all that could be read, and the next start finds it (finisciRiparazione).
bool ripara(FileArchivio file, const QString &motivo, const Impronta &letto,
            const std::optional<Intestazione> &intestazione, EsitoArchivi &esito)
{
    const QString percorso = PercorsoArchivio(file);
    const QString nomeFile = NomeArchivio(file);
    const QString nuovo = nomeRiparazione(percorso);
    Recupero recupero(percorso, file, intestazione);
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
        QFile::remove(nomeAvviso(percorso));
        if (occupato_)
            inUso(esito, nomeFile);
        esito.ok = false;
        return false;
    };
    if (recupero.Occupato() || occupato)
        return annulla(true);
    const AvvisoRiparazione avviso{{}, recupero.Esito()};
    if (!costruito || !sincronizza(nuovo) || !scriviAvviso(percorso, avviso)) {
        if (costruito)
            esito.Errori << QStringLiteral("%1: la copia riparata non può essere scritta sul disco.").arg(nomeFile);
        return annulla(false);
    }
    punti_prova::Passo_Riparazione(PassoRiparazione::Completa);
    Connessione blocco(percorso);
    if (!fermo(blocco, percorso, letto, intestazione.has_value()))
        return annulla(true);
    return mettiInPosto(file, motivo, avviso, esito);
}

// A file there is checked, and repaired when damaged; false when it is in use or cannot be
// made whole.
bool verifica(FileArchivio file, EsitoArchivi &esito)
{
    const QString percorso = PercorsoArchivio(file);
    const Impronta letto = impronta(percorso);
    // Its header is read once, with the print that tells whether it changes meanwhile.
    const auto intestazione = LeggiIntestazione(letto.testa);
    QString motivo;
    switch (esamina(percorso, intestazione, motivo)) {
    case StatoFile::Sano: return true;
    case StatoFile::In_Uso: inUso(esito, NomeArchivio(file)); return false;
    case StatoFile::Danneggiato: break;
    }
    return ripara(file, motivo, letto, intestazione, esito);
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
    const QString nomeFile = NomeArchivio(file);
    if (!finisciRiparazione(file, esito))
        return esito;
    if (QFileInfo::exists(PercorsoArchivio(file)) && !verifica(file, esito))
        return esito;

    Connessione c(PercorsoArchivio(file));  // by its path: the start makes what is missing
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

namespace {

// What a try adds to what the earlier ones told: each text once.
void aggiungiNuovi(QStringList &a, const QStringList &testi)
{
    for (const QString &t : testi)
        if (!a.contains(t))
            a << t;
}

// One file made usable, tried again while another program holds it, within the wait.
EsitoArchivi creaAttendendo(FileArchivio f, const QElapsedTimer &attesa, int attesaMs, AttesaArchivi *attendi)
{
    EsitoArchivi e;
    for (;;) {
        const EsitoArchivi prova = Crea_Archivio(f);
        e.ok = prova.ok;
        e.In_Uso = prova.In_Uso;
        aggiungiNuovi(e.Riparazioni, prova.Riparazioni);
        aggiungiNuovi(e.Errori, prova.Errori);
        aggiungiNuovi(e.Da_Confermare, prova.Da_Confermare);
        if (e.In_Uso.isEmpty() || attesa.hasExpired(attesaMs))
            return e;
        if (attendi)
            attendi->Attendi(e.In_Uso, 100);
        else
            QThread::msleep(100);
    }
}

}  // namespace

EsitoArchivi Crea_Archivi(int attesaMs, AttesaArchivi *attendi)
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
        EsitoArchivi e = creaAttendendo(f, attesa, attesaMs, attendi);
        if (mancava && !primoAvvio && e.ok)
            e.Riparazioni.prepend(QStringLiteral("%1 mancava ed è stato ricreato con i valori iniziali.")
                                      .arg(NomeArchivio(f)));
        totale.ok = totale.ok && e.ok;
        totale.In_Uso << e.In_Uso;
        totale.Riparazioni << e.Riparazioni;
        totale.Errori << e.Errori;
        totale.Da_Confermare << e.Da_Confermare;
        if (const QStringList detto = e.Riparazioni + e.Errori; !detto.isEmpty())
            totale.Paragrafi << detto.join(QLatin1Char('\n'));
    }
    return totale;
}

void Avvisi_Mostrati(const EsitoArchivi &esito)
{
    for (const QString &avviso : esito.Da_Confermare)
        QFile::remove(avviso);
}

}  // namespace archivio
