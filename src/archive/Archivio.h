#pragma once

// Access to the three local archive files. A connection lives for one operation
// (open, a few statements, close), as every archive operation expects; values are
// stored as text and always bound, never pasted into the statement.

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace archivio {

enum class FileArchivio { Sistema1 = 1, Sistema2 = 2, Sistema3 = 3 };

// <program folder>/Sistema/SistemaN.dat
QString PercorsoArchivio(FileArchivio file);
// "SistemaN.dat", as messages name it.
QString NomeArchivio(FileArchivio file);

// How long a statement waits for a file another program holds locked before it
// gives up (the file "in uso da un altro programma"): the window freezes no longer.
constexpr int Attesa_File_Bloccato_ms = 500;

// One row as read: column name -> text ("" for a NULL column).
using Riga = std::map<QString, QString>;

// Columns of one row to write, held until a writer runs them.
struct Aggiornamento {
    FileArchivio file = FileArchivio::Sistema3;
    QString tabella;
    int id = 0;
    std::vector<std::pair<QString, QString>> valori;
};
// Rows saved together: one transaction per file.
using Lotto = std::vector<Aggiornamento>;

// The first file that refused its rows, and the database's reason.
struct EsitoLotto {
    bool ok = true;
    FileArchivio file = FileArchivio::Sistema3;
    QString motivo;
};
// Writes `lotto`, each file in one transaction of its own connection: all its rows or,
// at the first refusal, none.
EsitoLotto Scrivi_Lotto(const Lotto &lotto);

// What the archive writers (ScrittoreArchivio) still hold for `file` is written before
// this returns: every connection opened outside a writer waits here, so it reads what
// was queued and never meets a writer's lock.
void Attendi_Scritture(FileArchivio file);

class Connessione {
public:
    explicit Connessione(FileArchivio file);
    // Any database file, as the repair needs for the files beside an archive.
    explicit Connessione(const QString &percorso);
    ~Connessione();
    Connessione(const Connessione &) = delete;
    Connessione &operator=(const Connessione &) = delete;

    bool Aperta() const { return m_aperta; }
    // The reason the last call failed, in the trader's words when it is a known one,
    // otherwise in the database's own.
    QString Errore() const { return m_errore; }
    // Whether the last failure was another program holding the file.
    bool Occupata() const { return m_occupata; }
    QSqlDatabase Database() const;

    // UPDATE tabella SET colonna = valore WHERE ID = id. Table and column names come
    // from the program, never from the user; they are checked to be plain identifiers.
    // False (with Errore()) also when no row has that ID.
    [[nodiscard]] bool Aggiorna(const QString &tabella, const QString &colonna, int id, const QString &valore);
    // The same for several columns of one row.
    [[nodiscard]] bool AggiornaRiga(const QString &tabella, int id, const std::vector<std::pair<QString, QString>> &valori);
    // Every row of a table by ID.
    std::map<int, Riga> LeggiTabella(const QString &tabella);
    bool TabellaEsiste(const QString &tabella);

    bool IniziaTransazione();
    bool ConfermaTransazione();
    void AnnullaTransazione();

private:
    void fallita(const QSqlError &errore);

    QString m_nome;
    bool m_aperta = false;
    bool m_occupata = false;
    QString m_errore;
};

bool IdentificatoreValido(const QString &nome);

// The reason for a failure: in Italian when it is one a trader can act on (another
// program holds the file, the disk is full, the file cannot be written), otherwise the
// database's own words, or the driver's when it gave none.
QString Motivo(const QSqlError &errore);
// Another program holds the file locked: it is in use, not damaged.
bool Occupato(const QSqlError &errore);

}  // namespace archivio
