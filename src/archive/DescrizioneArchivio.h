#pragma once

// What rows of the archive hold, said as a trader knows them: "le distanze del Dax,
// grado Kalvo +4", "le impostazioni dei grafici di ogni mercato". The repair notices
// name what was reset this way, never a table.

#include "archive/Archivio.h"

#include <QString>
#include <QStringList>
#include <map>
#include <set>
#include <vector>

namespace archivio {

class DatiArchivio {
public:
    explicit DatiArchivio(FileArchivio file) : m_file(file) {}

    // One row of a table of the file.
    void Aggiungi(const QString &tabella, int id);
    bool Vuoto() const { return m_gruppi.empty(); }
    // The rows added, grouped by what they hold, markets and degrees joined; at most
    // `massimo` groups are named.
    QString Testo(int massimo = 6) const;

private:
    // What a table holds, in the order the texts name them.
    enum class Genere { Avvio, Cicli, Grafici, Indicatori, Linee, Testi, Distanze, Altro };

    bool aggiungiImpostazione(const QString &tabella, int id);
    bool aggiungiOggetto(const QString &tabella, int id);
    static QStringList vociPerMercato(Genere genere, const std::map<int, std::set<int>> &mercati);
    static QString quali(const std::vector<int> &mercati, const std::set<int> &gradi);

    FileArchivio m_file;
    // kind -> market (0 for none) -> degrees (-1 for none)
    std::map<Genere, std::map<int, std::set<int>>> m_gruppi;
    std::set<QString> m_altre;  // tables the program does not know
};

}  // namespace archivio
