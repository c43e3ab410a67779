#include "archive/Archivio.h"

#include "platform/Percorsi.h"

#include <QAtomicInt>
#include <algorithm>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace archivio {

namespace {

QAtomicInt contatore;

// SQLite's primary result codes, which the driver passes on as the error's native code.
enum : int { Sqlite_Occupato = 5, Sqlite_Bloccato = 6, Sqlite_Sola_Lettura = 8, Sqlite_Pieno = 13 };

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

QString Motivo(const QSqlError &errore)
{
    if (Occupato(errore))
        return QStringLiteral("il file è in uso da un altro programma");
    switch (codiceSqlite(errore)) {
    case Sqlite_Pieno: return QStringLiteral("il disco è pieno");
    case Sqlite_Sola_Lettura: return QStringLiteral("il file o la sua cartella è di sola lettura");
    default: break;
    }
    // The driver's own words ("Unable to execute statement", or a parameter count
    // when a prepare failed) say nothing the database's reason does not.
    const QString db = errore.databaseText().trimmed();
    return db.isEmpty() ? errore.text().trimmed() : db;
}

bool IdentificatoreValido(const QString &nome)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(nome).hasMatch();
}

namespace {
// A file's path once what the writers hold for it is written.
QString percorsoScritto(FileArchivio file)
{
    Attendi_Scritture(file);
    return PercorsoArchivio(file);
}
}  // namespace

Connessione::Connessione(FileArchivio file) : Connessione(percorsoScritto(file)) {}

Connessione::Connessione(const QString &percorso)
    : m_nome(QStringLiteral("archivio_%1").arg(contatore.fetchAndAddRelaxed(1)))
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
    m_errore = Motivo(errore);
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
        // The start makes every row: one missing means the file was changed behind the program.
        m_errore = QStringLiteral("la riga da aggiornare manca nel file");
        m_occupata = false;
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

bool Connessione::IniziaTransazione() { return m_aperta && Database().transaction(); }
bool Connessione::ConfermaTransazione()
{
    if (!m_aperta)
        return false;
    QSqlDatabase db = Database();
    if (db.commit())
        return true;
    fallita(db.lastError());
    return false;
}
void Connessione::AnnullaTransazione()
{
    if (m_aperta)
        Database().rollback();
}

EsitoLotto Scrivi_Lotto(const Lotto &lotto)
{
    EsitoLotto esito;
    const auto rifiuto = [&](FileArchivio file, const QString &motivo) {
        if (esito.ok)
            esito = {false, file, motivo};
    };
    for (const FileArchivio file : {FileArchivio::Sistema1, FileArchivio::Sistema2, FileArchivio::Sistema3}) {
        const bool presente =
            std::any_of(lotto.begin(), lotto.end(), [file](const Aggiornamento &a) { return a.file == file; });
        if (!presente)
            continue;
        Connessione conn(file);
        if (!conn.Aperta() || !conn.IniziaTransazione()) {
            rifiuto(file, conn.Errore().isEmpty() ? Motivo(conn.Database().lastError()) : conn.Errore());
            continue;
        }
        // All or nothing: behind a lock every statement would wait its turn to fail.
        const bool scritto = std::all_of(lotto.begin(), lotto.end(), [&](const Aggiornamento &a) {
            return a.file != file || conn.AggiornaRiga(a.tabella, a.id, a.valori);
        });
        if (!scritto || !conn.ConfermaTransazione()) {
            rifiuto(file, conn.Errore());
            conn.AnnullaTransazione();
        }
    }
    return esito;
}

}  // namespace archivio
