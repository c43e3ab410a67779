#pragma once

// One copy of the program per folder: operating-system locks held for the whole run.
// The kernel lets them go when the process ends, however it ends, so a lock left by a
// copy that died keeps nobody out and nothing is guessed from the file's content; the
// owner is written only once the lock is held.
//
// Every copy locks the program folder itself besides the lock file: a file that one copy
// cannot open (another user's, a folder in its place) still leaves both copies one
// object to meet on. The file is opened without following links, so a link put there
// never gets its target overwritten.

#include <QByteArray>
#include <QString>

class BloccoIstanza {
public:
    enum class Esito {
        Preso,         // this copy holds the lock until it ends (Errore may say what is wrong with the file)
        In_Uso,        // a live copy holds it
        Collegamento,  // the lock file is a symbolic link: it is not opened, and nothing is locked
        Impossibile    // no lock can be made there (Errore says why)
    };

    BloccoIstanza() = default;
    ~BloccoIstanza();  // lets the locks go; the file stays
    BloccoIstanza(const BloccoIstanza &) = delete;
    BloccoIstanza &operator=(const BloccoIstanza &) = delete;

    Esito Prendi(const QString &percorso);
    // In Italian, in the trader's words: why the file cannot carry the owner (taken
    // anyway), or why no lock could be made. Empty when the file is in order.
    QString Errore() const { return m_errore; }

private:
    // One try at the lock file.
    enum class Tentativo { Preso, In_Uso, Collegamento, Cambiato, Fallito };
    // False when a live copy holds the folder.
    bool Blocca_Cartella(const QByteArray &cartella);
    Tentativo Blocca_File(const QByteArray &nome);
    void Scrivi_Proprietario();
    void Lascia();

    int m_fd = -1;
    int m_cartella = -1;
    QString m_errore;
};
