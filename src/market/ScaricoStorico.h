#pragma once

// The history download at an online start: the four tables of the current
// underlying's database, read over ODBC into memory, then checked and copied
// into the series only when all four are complete and every row is valid.

#include "market/StatoMercato.h"
#include "platform/DataOra.h"

#include <QDate>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class QSqlDatabase;

namespace scarico {

// Database of underlying 1..7; empty for any other number.
QString NomeDatabase(int sottostante);
// The ODBC connection string: $WAVELORE_HISTORY_ODBC with "{db}" replaced, or
// the default one for the database server beside the quote server.
QString StringaConnessione(const QString &host, int sottostante);

inline const char *const Tabelle[5] = {"", "TF5M", "TF15M", "TF1H", "TF1D"};

struct Riga {
    QString Data, Ora, Chiusura, Volume;
};

// The fields of a row as the history tables hold them: date ddmmyy (or
// ddmmyyyy), time hhmm (also hmm or h:mm), numbers with "." or "," decimals.
// Nothing when the text is not valid.
std::optional<QDate> DataRiga(const QString &t, int annoOggi = dataora::AnnoCorrente());
std::optional<int> OraRiga(const QString &t);
std::optional<double> NumeroRiga(QString t);

// One row as a bar: an empty cell repeats the field of `prec` (the bar before it,
// nullptr for the first row). Nothing when a field is not valid (*campo names it) or
// the bar could not be saved to the history files (*campo empty).
std::optional<BarraStorico> BarraDaRiga(const Riga &riga, const BarraStorico *prec,
                                        int annoOggi = dataora::AnnoCorrente(), QString *campo = nullptr);

// Rows of `tabella` in stored order, all of them or the first `limite` when above 0.
// False with *errore when the query fails or a column is missing.
bool LeggiTabella(QSqlDatabase &db, const char *tabella, std::vector<Riga> &righe, QString *errore, int limite = 0);

struct TabelleScaricate {
    std::array<std::vector<Riga>, 5> Righe{};  // index 1..4: 5M, 15M, 1H, 1D
    std::array<bool, 5> Lette{};               // the query ran and every row was read
    QString Errore;                            // first failure, for diagnostics
    bool Presenti = false;                     // a download has run since the last copy
};

// What the download tells and asks of the session around it.
class AmbienteScarico {
public:
    virtual ~AmbienteScarico() = default;
    // Before each table, with its loading step (4..7).
    virtual void Avanzamento(int passo) = 0;
    // A short breath before each table, a longer wait before a retry.
    virtual void Pausa(double secondi) = 0;
};

// Scarica_Storico_Dal_Server: never throws; failures leave a table unread. With
// `riprova` (while reconnecting) a failed open or query is tried once more.
TabelleScaricate Scarica_Storico_Dal_Server(const QString &stringaConnessione, AmbienteScarico &ambiente,
                                            bool riprova = false);
TabelleScaricate Scarica_Storico_Dal_Server(const QString &stringaConnessione);

// Carica_Storico_Da_Server: true when all four tables hold exactly the series'
// bar counts and every row converts to a bar the history files can hold
// (storico::Barra_Registrabile); then the four series are replaced. On false the
// series are untouched and *problema says what failed.
bool Carica_Storico_Da_Server(StatoMercato &m, const TabelleScaricate &t, QString *problema = nullptr,
                              int annoOggi = dataora::AnnoCorrente());

}  // namespace scarico
