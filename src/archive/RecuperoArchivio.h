#pragma once

// What can still be read of a damaged archive file, to build its repaired copy.

#include "archive/CreaArchivi.h"
#include "archive/DescrizioneArchivio.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QSqlQuery;
class QTemporaryFile;

namespace archivio {

// What an SQLite file's first 100 bytes say of its size: the page size, and the page
// count when SQLite keeps it valid (the change counter at 24 matches the number at 92).
struct Intestazione {
    qint64 pagina = 0;
    std::optional<qint64> pagine;
    bool wal = false;  // the file alone does not hold every page
};
// From the file's first bytes; nothing when they are not an SQLite header.
std::optional<Intestazione> LeggiIntestazione(const QByteArray &primi);

// Reads table by table: each of the program's rows by its key alone, then by row-id
// ranges, keeping what a read gives before it fails and halving the rest until the
// unreadable rows are isolated. Of a file cut inside a page, the rows of that page whose
// bytes are all there are read from the bytes themselves. The file is opened read-only
// and never changed. `intestazione` is what the file's header gave when it was checked.
class Recupero {
public:
    Recupero(const QString &percorso, FileArchivio file, const std::optional<Intestazione> &intestazione);
    ~Recupero();
    Recupero(const Recupero &) = delete;
    Recupero &operator=(const Recupero &) = delete;

    using Righe = std::map<qint64, std::vector<QVariant>>;

    // Copies the readable rows of t into the table of the same name in c, which is new and
    // empty; a column the old table lacks takes its default. False only when writing fails.
    bool Copia(const DefinizioneTabella &t, Connessione &c, QStringList &errori, const QString &nomeFile);
    // Another program held the file while it was read: what was read is not all there is.
    bool Occupato() const { return m_occupato; }
    // Lets go of the file (and of its copy), once every table is copied.
    void Chiudi();
    // How the trader's account of the repair ends, after "… e ricreato": what came back.
    QString Esito() const;

    // A row of the page a cut went through, as its bytes give it.
    struct RigaLetta {
        qint64 rowid;
        std::vector<QVariant> campi;  // in the order the table declares its columns
    };

private:
    QSqlDatabase db() const;
    QStringList colonneVecchie(const DefinizioneTabella &t, QStringList &dichiarate);
    void leggiTabella(const DefinizioneTabella &t, const QStringList &vecchie, Righe &righe);
    void aggiungiRigheTagliate(const QStringList &vecchie, const QStringList &dichiarate, Righe &righe) const;
    static bool scrivi(const DefinizioneTabella &t, Connessione &c, const QStringList &vecchie, const Righe &righe,
                       QString &errore);
    bool leggi(const QString &tabella, const QStringList &colonne, qint64 da, qint64 a, Righe &righe,
               std::optional<qint64> *ultimo = nullptr);
    void recupera(const QString &tabella, const QStringList &colonne, qint64 da, qint64 a, Righe &righe);
    QString pagineIntere(const QString &percorso);
    void leggiPaginaTagliata(const QString &percorso);
    void fallita(const QSqlQuery &q);

    std::unique_ptr<QTemporaryFile> m_copia;
    QString m_nome;
    bool m_aperto = false;
    bool m_occupato = false;
    int m_recuperate = 0;
    DatiArchivio m_perse;
    std::optional<Intestazione> m_intestazione;
    // The table owning the page a cut went through, and that page's whole rows.
    QString m_tabellaTagliata;
    std::vector<RigaLetta> m_righeTagliate;
};

}  // namespace archivio
