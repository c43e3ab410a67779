#pragma once

// One copy of the program per folder: an operating-system lock held on the lock
// file for the whole run. The kernel lets it go when the process ends, however it
// ends, so a lock left by a copy that died keeps nobody out and nothing is guessed
// from the file's content; the owner is written only once the lock is held.

#include <QString>

class BloccoIstanza {
public:
    enum class Esito {
        Preso,       // this copy holds the lock until it ends
        In_Uso,      // a live copy holds it
        Impossibile  // no lock can be made there (Errore says why)
    };

    BloccoIstanza() = default;
    ~BloccoIstanza();  // lets the lock go; the file stays
    BloccoIstanza(const BloccoIstanza &) = delete;
    BloccoIstanza &operator=(const BloccoIstanza &) = delete;

    Esito Prendi(const QString &percorso);
    QString Errore() const { return m_errore; }

private:
    void Scrivi_Proprietario();

    int m_fd = -1;
    QString m_errore;
};
