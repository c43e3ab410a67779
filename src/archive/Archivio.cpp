#include "archive/Archivio.h"

#include "platform/ErroriFile.h"
#include "platform/Percorsi.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <iterator>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace archivio {

namespace {

QAtomicInt contatore;

// SQLite's primary result codes, which the driver passes on as the error's native code.
enum : int {
    Sqlite_Permesso = 3,
    Sqlite_Occupato = 5,
    Sqlite_Bloccato = 6,
    Sqlite_Sola_Lettura = 8,
    Sqlite_Io = 10,
    Sqlite_Danneggiato = 11,
    Sqlite_Pieno = 13,
    Sqlite_Non_Apribile = 14,
    Sqlite_Non_Database = 26,
};

int codiceSqlite(const QSqlError &errore)
{
    bool ok = false;
    const int codice = errore.nativeErrorCode().toInt(&ok);
    return ok ? codice & 0xff : -1;  // an extended code keeps the primary one in its low byte
}

}  // namespace

QString PercorsoArchivio(FileArchivio file)
{
    return percorsi::Cartella(QStringLiteral("Sistema")) + QStringLiteral("/Sistema%1.dat").arg(int(file));
}

QString NomeArchivio(FileArchivio file) { return QStringLiteral("Sistema%1.dat").arg(int(file)); }

bool Occupato(const QSqlError &errore)
{
    const int codice = codiceSqlite(errore);
    if (codice >= 0)
        return codice == Sqlite_Occupato || codice == Sqlite_Bloccato;
    // A failed commit comes with the database's text alone.
    return errore.databaseText().contains(QLatin1String("database is locked"));
}

QString Motivo(const QSqlError &errore, const QString &percorso)
{
    if (Occupato(errore))
        return errori_file::Causa_In_Uso();
    // As the system's error code for the same trouble would say it, in the same words.
    switch (codiceSqlite(errore)) {
    case Sqlite_Pieno: return errori_file::Causa_Scrittura(ENOSPC, percorso);
    case Sqlite_Sola_Lettura: return errori_file::Causa_Scrittura(EACCES, percorso);
    case Sqlite_Permesso: return errori_file::Causa_Scrittura(EPERM, percorso);
    case Sqlite_Io: return errori_file::Causa_Scrittura(EIO, percorso);
    case Sqlite_Danneggiato:
    case Sqlite_Non_Database: return errori_file::Causa_Danneggiato();
    case Sqlite_Non_Apribile:
        if (!percorso.isEmpty() && !QFileInfo::exists(percorso))
            return errori_file::Causa_Mancante(percorso);
        break;
    default: break;
    }
    // The database's and the driver's words name tables and statements: what the disk
    // and the folder show now says more to a trader.
    return errori_file::Causa_Scrittura(0, percorso, errori_file::Causa_Sconosciuta());
}

QString Motivo_Riga_Mancante()
{
    // The start makes every row: one missing means the file was changed behind the program.
    return QStringLiteral("la riga da aggiornare manca nel file");
}

bool IdentificatoreValido(const QString &nome)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(nome).hasMatch();
}

Connessione::Connessione(FileArchivio file)
    : m_nome(QStringLiteral("archivio_%1").arg(contatore.fetchAndAddRelaxed(1))),
      // Not PercorsoArchivio, which makes the folder as the start needs.
      m_percorso(percorsi::Percorso(QStringLiteral("Sistema")) + QStringLiteral("/") + NomeArchivio(file))
{
    if (!QFileInfo::exists(m_percorso)) {
        m_errore = errori_file::Causa_Mancante(m_percorso);
        return;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nome);
    // Opened for reading and writing only: should the file go after the check, nothing makes it again.
    db.setDatabaseName(QUrl::fromLocalFile(m_percorso).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(Attesa_File_Bloccato_ms));
    m_aperta = db.open();
    if (!m_aperta)
        fallita(db.lastError());
}

Connessione::Connessione(const QString &percorso)
    : m_nome(QStringLiteral("archivio_%1").arg(contatore.fetchAndAddRelaxed(1))), m_percorso(percorso)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nome);
    db.setDatabaseName(percorso);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(Attesa_File_Bloccato_ms));
    m_aperta = db.open();
    if (!m_aperta)
        fallita(db.lastError());
}

void Connessione::fallita(const QSqlError &errore)
{
    m_errore = Motivo(errore, m_percorso);
    m_occupata = Occupato(errore);
}

Connessione::~Connessione()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_nome, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_nome);
}

QSqlDatabase Connessione::Database() const { return QSqlDatabase::database(m_nome, false); }

bool Connessione::Aggiorna(const QString &tabella, const QString &colonna, int id, const QString &valore)
{
    return AggiornaRiga(tabella, id, {{colonna, valore}});
}

bool Connessione::AggiornaRiga(const QString &tabella, int id,
                               const std::vector<std::pair<QString, QString>> &valori)
{
    m_rigaAssente = false;
    if (!m_aperta || valori.empty() || !IdentificatoreValido(tabella))
        return false;
    QStringList assegnazioni;
    for (const auto &[colonna, valore] : valori) {
        if (!IdentificatoreValido(colonna))
            return false;
        assegnazioni << colonna + QStringLiteral(" = ?");
    }
    QSqlQuery q(Database());
    // A file another program holds locked fails already here, while the schema is read.
    const QString sql =
        QStringLiteral("UPDATE %1 SET %2 WHERE ID = ?").arg(tabella, assegnazioni.join(QStringLiteral(", ")));
    if (!q.prepare(sql)) {
        fallita(q.lastError());
        return false;
    }
    for (const auto &v : valori)
        q.addBindValue(v.second);
    q.addBindValue(id);
    if (!q.exec()) {
        fallita(q.lastError());
        return false;
    }
    // A missing row takes nothing: that is no save.
    if (q.numRowsAffected() < 1) {
        m_errore = Motivo_Riga_Mancante();
        m_occupata = false;
        m_rigaAssente = true;
        return false;
    }
    return true;
}

std::map<int, Riga> Connessione::LeggiTabella(const QString &tabella)
{
    std::map<int, Riga> righe;
    if (!m_aperta || !IdentificatoreValido(tabella))
        return righe;
    QSqlQuery q(Database());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(tabella))) {
        fallita(q.lastError());
        return righe;
    }
    // The column names once: a record per row costs more than the row's values.
    const QSqlRecord record = q.record();
    QStringList colonne;
    for (int i = 0; i < record.count(); ++i)
        colonne << record.fieldName(i);
    const int colonnaId = record.indexOf(QStringLiteral("ID"));
    while (q.next()) {
        Riga riga;
        for (int i = 0; i < colonne.size(); ++i) {
            const QVariant v = q.value(i);
            riga.insert_or_assign(colonne[i], v.isNull() ? QString() : v.toString());
        }
        bool ok = false;
        const int id = colonnaId < 0 ? 0 : q.value(colonnaId).toInt(&ok);
        if (ok)
            righe[id] = std::move(riga);
    }
    return righe;
}

bool Connessione::TabellaEsiste(const QString &tabella)
{
    return m_aperta && Database().tables().contains(tabella, Qt::CaseInsensitive);
}

bool Connessione::Transazione(bool (QSqlDatabase::*passo)())
{
    if (!m_aperta)
        return false;
    QSqlDatabase db = Database();
    if ((db.*passo)())
        return true;
    fallita(db.lastError());
    return false;
}
bool Connessione::IniziaTransazione() { return Transazione(&QSqlDatabase::transaction); }
bool Connessione::ConfermaTransazione() { return Transazione(&QSqlDatabase::commit); }
void Connessione::AnnullaTransazione()
{
    if (m_aperta)
        Database().rollback();
}

EsitoFile Scrivi_File(FileArchivio file, const Lotto &righe)
{
    EsitoFile esito;
    Connessione conn(file);
    if (!conn.IniziaTransazione()) {
        esito.ok = false;
        esito.motivo = conn.Errore();
        return esito;
    }
    for (std::size_t i = 0; i < righe.size(); ++i) {
        const Aggiornamento &a = righe[i];
        if (conn.AggiornaRiga(a.tabella, a.id, a.valori))
            continue;
        if (conn.Riga_Assente()) {
            esito.mancanti.push_back(i);
            continue;
        }
        // All or nothing: behind a lock every statement would wait its turn to fail.
        esito.ok = false;
        esito.motivo = conn.Errore();
        conn.AnnullaTransazione();
        return esito;
    }
    if (!conn.ConfermaTransazione()) {
        esito.ok = false;
        esito.motivo = conn.Errore();
        conn.AnnullaTransazione();
    }
    return esito;
}

EsitoLotto Scrivi_Lotto(const Lotto &lotto)
{
    EsitoLotto esito;
    for (const FileArchivio file : {FileArchivio::Sistema1, FileArchivio::Sistema2, FileArchivio::Sistema3}) {
        Lotto righe;
        std::copy_if(lotto.begin(), lotto.end(), std::back_inserter(righe),
                     [file](const Aggiornamento &a) { return a.file == file; });
        if (righe.empty())
            continue;
        const EsitoFile e = Scrivi_File(file, righe);
        if (esito.ok && (!e.ok || !e.mancanti.empty()))
            esito = {false, file, e.ok ? Motivo_Riga_Mancante() : e.motivo};
    }
    return esito;
}

}  // namespace archivio
