#pragma once

// Access to the three local archive files. A connection lives for one operation
// (open, a few statements, close), as every archive operation expects; values are
// stored as text and always bound, never pasted into the statement. A connection to one
// of the three never creates it (only the start does, through its path): a file gone
// while the program runs is said to be missing, never made again empty. Saves go through
// the archive's writer (ScrittoreArchivio.h), reads that must see them through
// ConnessioneInAttesa.

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

// The first file that refused its rows, and the reason.
struct EsitoLotto {
    bool ok = true;
    FileArchivio file = FileArchivio::Sistema3;
    QString motivo;
};
// Writes `lotto`, each file in one transaction of its own connection: all its rows or,
// at the first refusal, none; a row the file lacks is a refusal too (the others are written).
EsitoLotto Scrivi_Lotto(const Lotto &lotto);

// The rows of one file in one transaction. A statement refused takes every row back
// (`ok` false); a row the file lacks takes nothing and is listed in `mancanti` (its
// index in `righe`) while the others are written.
struct EsitoFile {
    bool ok = true;
    QString motivo;
    std::vector<std::size_t> mancanti;
};
EsitoFile Scrivi_File(FileArchivio file, const Lotto &righe);
// Why a row of `mancanti` was not written.
QString Motivo_Riga_Mancante();

class Connessione {
public:
    explicit Connessione(FileArchivio file);
    // Any database file, as the repair needs for the files beside an archive.
    explicit Connessione(const QString &percorso);
    ~Connessione();
    Connessione(const Connessione &) = delete;
    Connessione &operator=(const Connessione &) = delete;

    bool Aperta() const { return m_aperta; }
    // The reason the last call failed, in the trader's words (errori_file): never the
    // database's or the driver's text, nor a table's name.
    QString Errore() const { return m_errore; }
    // Whether the last failure was another program holding the file.
    bool Occupata() const { return m_occupata; }
    // Whether the last AggiornaRiga found no row with its ID.
    bool Riga_Assente() const { return m_rigaAssente; }
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
    bool Transazione(bool (QSqlDatabase::*passo)());

    QString m_nome;
    QString m_percorso;
    bool m_aperta = false;
    bool m_occupata = false;
    bool m_rigaAssente = false;
    QString m_errore;
};

bool IdentificatoreValido(const QString &nome);

// The reason for a failure of the database file `percorso`, in the trader's words
// (errori_file, which also looks at the disk and the folder when the code says nothing
// plain; without a path, only what the code says). No database or driver text.
QString Motivo(const QSqlError &errore, const QString &percorso = {});
// Another program holds the file locked: it is in use, not damaged.
bool Occupato(const QSqlError &errore);

}  // namespace archivio
