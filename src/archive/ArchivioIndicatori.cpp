#include "archive/ArchivioIndicatori.h"

#include "archive/Archivio.h"
#include "archive/ScrittoreArchivio.h"
#include "archive/StatoArchivio.h"
#include "platform/VbRuntime.h"

#include <cmath>

namespace archivio {

namespace {

QString Tabella(int grado) { return QStringLiteral("TAB%1").arg(grado); }

QString Interruttore(const QString &valore)
{
    const auto n = vb::LeggiNumero(valore);
    return n && *n >= 1 ? QStringLiteral("1") : QStringLiteral("0");
}

// A user period indexes the indicator loops: only a whole count of bars within
// the longest series is kept.
QString Periodo(const QString &valore)
{
    const QString t = valore.trimmed();
    if (t.isEmpty())
        return QStringLiteral("0");
    const auto n = vb::LeggiNumero(t);
    if (!n || *n < 0 || *n > costanti::Barre_Storico_15M || std::floor(*n) != *n)
        return QStringLiteral("0");
    return t;
}

}  // namespace

int Chiave_Indicatore(int item)
{
    if (item >= 0 && item <= 7)
        return item;
    if (item >= 8 && item <= 18)
        return item + 1;
    if (item == 19)
        return 22;
    return -1;
}

int Colonna_Chiave(int k)
{
    if (k >= 0 && k <= 5)
        return k + 1;
    if (k == 6 || k == 7)
        return k + 3;
    if (k == 8)
        return 11;
    if (k >= 9 && k <= 19)
        return k + 3;
    if (k == 20)
        return 7;
    if (k == 21)
        return 8;
    if (k == 22)
        return 23;
    return 0;
}

bool Carica_Indicatori(StatoArchivio &archivio, QString *errore)
{
    for (auto &u : archivio.Tab_Indicatori)
        for (auto &colonna : u)
            colonna.fill(QStringLiteral("0"));

    archivio::ConnessioneInAttesa conn(archivio::FileArchivio::Sistema2);
    if (!conn.Aperta()) {
        if (errore)
            *errore = conn.Errore();
        return false;
    }
    bool ok = true;
    for (int d = 0; d <= costanti::Max_Grado; ++d) {
        if (!conn.TabellaEsiste(Tabella(d))) {
            ok = false;
            if (errore)
                *errore = QStringLiteral("Tabella %1 mancante in Sistema2.dat").arg(Tabella(d));
            continue;
        }
        const auto righe = conn.LeggiTabella(Tabella(d));
        for (const auto &[id, riga] : righe) {
            if (id < 1 || id > costanti::Num_Sottostanti)
                continue;
            for (int n = 1; n <= 23; ++n) {
                const auto it = riga.find(QStringLiteral("C%1").arg(n));
                const QString valore = it == riga.end() ? QString() : it->second;
                archivio.Tab_Indicatori[size_t(id)][size_t(n - 1)][size_t(d + 1)] =
                    (n == 7 || n == 8) ? Periodo(valore) : Interruttore(valore);
            }
        }
    }
    return ok;
}

bool Scrivi_Indicatore(const StatoArchivio &archivio, int grado, int k, const QString &valore, QString *errore)
{
    const int colonna = Colonna_Chiave(k);
    const int sott = archivio.Sottostante_Corrente;
    if (colonna == 0 || grado < 0 || grado > costanti::Max_Grado || sott < 1 || sott > costanti::Num_Sottostanti)
        return false;

    return Salva({{FileArchivio::Sistema2, Tabella(grado), sott, {{QStringLiteral("C%1").arg(colonna), valore}}}},
                 errore);
}

}  // namespace archivio
