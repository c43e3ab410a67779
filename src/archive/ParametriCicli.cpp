#include "archive/ParametriCicli.h"

#include "archive/Archivio.h"
#include "archive/ScrittoreArchivio.h"
#include "archive/StatoArchivio.h"
#include "platform/DataOra.h"
#include "platform/VbRuntime.h"

#include <cmath>
#include <optional>

namespace archivio {

namespace {

QString col(int n) { return QStringLiteral("C%1").arg(n); }
QString intero(int v) { return QString::number(v); }

// The checks of one stored column.
// Intervallo keeps any number within the bounds; Scelta only the whole ones (a
// choice among options, where 1.5 means none of them).
enum class Controllo { Intervallo, Scelta, Positivo, Data, Ora };
struct RegolaColonna {
    int colonna;    // C<n> of TAB<d>
    int posizione;  // in Tab_Cicli
    Controllo controllo;
    double minimo, massimo;
    int predefinito;
};
constexpr RegolaColonna Regole[] = {
    {1, 1, Controllo::Intervallo, 1, 6, 2},
    {2, 2, Controllo::Positivo, 0, 0, 100},
    {3, 3, Controllo::Intervallo, -10, 10, 0},
    {4, 11, Controllo::Intervallo, 1, 20, 2},
    {5, 5, Controllo::Intervallo, 0, 10, 0},
    {6, 10, Controllo::Intervallo, 0, 10, 5},
    {7, 15, Controllo::Intervallo, 1, 2, 1},
    {8, 16, Controllo::Intervallo, 1, 100, 50},
    {9, 19, Controllo::Scelta, 0, 1, 1},
    {10, 20, Controllo::Scelta, 0, 1, 1},
    {11, 21, Controllo::Scelta, 0, 1, 0},
    {12, 17, Controllo::Data, 0, 0, 0},
    {13, 18, Controllo::Ora, 0, 0, 0},
    {14, 22, Controllo::Scelta, 0, 2, 0},
    {15, 23, Controllo::Scelta, 0, 1, 0},
};

const QString Ora_Predefinita = QStringLiteral("10.00.00");

bool accettato(const RegolaColonna &r, const QString &valore, const QString &formatoData)
{
    if (valore.trimmed().isEmpty())
        return false;
    switch (r.controllo) {
    case Controllo::Data: return dataora::LeggiData(valore, formatoData).has_value();
    case Controllo::Ora: return dataora::LeggiOra(valore).has_value();
    default: break;
    }
    const auto x = vb::LeggiNumero(valore);
    if (!x || !std::isfinite(*x))
        return false;
    switch (r.controllo) {
    case Controllo::Positivo: return *x > 0;
    case Controllo::Scelta: return *x == std::floor(*x) && *x >= r.minimo && *x <= r.massimo;
    default: return *x >= r.minimo && *x <= r.massimo;
    }
}

// A whole number from `minimo` to `massimo`, read from stored text.
std::optional<int> interoNelIntervallo(const QString &valore, int minimo, int massimo)
{
    const auto x = vb::LeggiNumero(valore);
    if (!x || *x != std::floor(*x) || *x < minimo || *x > massimo)
        return std::nullopt;
    return int(*x);
}

}  // namespace

DestinazioneCodice Destinazione(Codice_Modifica codice, int indice)
{
    const auto grado = [indice](int colonna) -> DestinazioneCodice {
        if (indice < 0 || indice > costanti::Max_Grado)
            return {};
        return {QStringLiteral("TAB%1").arg(indice), col(colonna)};
    };
    const auto slot = [indice](int primaColonna) -> DestinazioneCodice {
        if (indice < 0 || indice >= costanti::Num_Slot)
            return {};
        return {QStringLiteral("TABGRAF"), col(primaColonna + indice)};
    };
    // No default: a code added to the enum and not placed here fails the build.
    switch (codice) {
    case Codice_Modifica::Sottostante_Corrente: return {QStringLiteral("TABAVV"), col(1)};
    case Codice_Modifica::Sottocicli: return grado(1);
    case Codice_Modifica::Durata: return grado(2);
    case Codice_Modifica::Tendenza: return grado(3);
    case Codice_Modifica::Tempi: return grado(4);
    case Codice_Modifica::Compressione: return grado(5);
    case Codice_Modifica::Zoom: return grado(6);
    case Codice_Modifica::Prop_Battleplan: return grado(7);
    case Codice_Modifica::Posizione_Asse_Y: return grado(8);
    case Codice_Modifica::Modo_Mouse_Grado: return grado(9);
    case Codice_Modifica::Griglia_1: return grado(10);
    case Codice_Modifica::Griglia_2: return grado(11);
    case Codice_Modifica::Inizio_Ciclo: return grado(12);
    case Codice_Modifica::Modo_Linea_Storico: return grado(14);
    case Codice_Modifica::Mostra_Coordinate: return grado(15);
    case Codice_Modifica::Slot_In_Uso: return slot(1);
    case Codice_Modifica::Grado_Slot: return slot(5);
    case Codice_Modifica::Posizioni_Slot: return {QStringLiteral("TABGRAF"), col(9)};
    }
    return {};  // a letter no setting has
}

bool Carica_Parametri(StatoArchivio &archivio, const QString &formatoData, const QDate &oggi)
{
    const QString dataPredefinita = dataora::ScriviData(oggi.addDays(-1), formatoData);
    auto &tab = archivio.Tab_Cicli;
    for (auto &u : tab)
        for (auto &pos : u)
            pos.fill(QString());

    ConnessioneInAttesa conn(FileArchivio::Sistema3);
    const bool aperta = conn.Aperta();
    static const Riga vuota;

    for (int d = 0; d <= costanti::Max_Grado; ++d) {
        const std::map<int, Riga> righe = aperta ? conn.LeggiTabella(QStringLiteral("TAB%1").arg(d)) : std::map<int, Riga>{};
        for (int u = 1; u <= costanti::Num_Sottostanti; ++u) {
            const auto it = righe.find(u);
            const Riga &riga = it != righe.end() ? it->second : vuota;
            for (const RegolaColonna &r : Regole) {
                const auto v = riga.find(col(r.colonna));
                const QString valore = v != riga.end() ? v->second : QString();
                QString &cella = tab[size_t(u)][size_t(r.posizione)][size_t(d + 1)];
                if (accettato(r, valore, formatoData))
                    cella = valore;
                else if (r.controllo == Controllo::Data)
                    cella = dataPredefinita;
                else if (r.controllo == Controllo::Ora)
                    cella = Ora_Predefinita;
                else
                    cella = intero(r.predefinito);
            }
        }
    }

    const std::map<int, Riga> grafici = aperta ? conn.LeggiTabella(QStringLiteral("TABGRAF")) : std::map<int, Riga>{};
    for (int u = 1; u <= costanti::Num_Sottostanti; ++u) {
        const auto it = grafici.find(u);
        const Riga &riga = it != grafici.end() ? it->second : vuota;
        auto valore = [&](int n) {
            const auto v = riga.find(col(n));
            return v != riga.end() ? v->second : QString();
        };
        for (int j = 1; j <= costanti::Num_Slot; ++j) {
            const auto inUso = vb::LeggiNumero(valore(j));
            tab[size_t(u)][12][size_t(j)] = (inUso && *inUso == 1) ? QStringLiteral("1") : QStringLiteral("0");
            // Degree and grid position index arrays: only whole numbers in range are kept.
            const auto grado = interoNelIntervallo(valore(j + 4), 0, costanti::Max_Grado);
            tab[size_t(u)][13][size_t(j)] = grado ? valore(j + 4) : QStringLiteral("5");
            const auto posizione = interoNelIntervallo(valore(j + 8), 0, costanti::Num_Slot - 1);
            tab[size_t(u)][14][size_t(j)] = posizione ? valore(j + 8) : QStringLiteral("0");
        }
    }
    return aperta;
}

}  // namespace archivio
