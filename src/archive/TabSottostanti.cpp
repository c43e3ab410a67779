#include "archive/TabSottostanti.h"

#include "platform/Costanti.h"

namespace archivio {

namespace {

struct Predefinito {
    const char *nome;
    int barre15M;
    int fattore;
    QTime inizio;
    QTime fine;
    const char *durata;
    const char *formato;
    int barre1H;
};

}  // namespace

void Inizializza_Tab_Sottostanti(StatoArchivio &stato)
{
    // Session times are built as time values, never parsed from locale-dependent text.
    static const Predefinito righe[costanti::Num_Sottostanti] = {
        {"FtseMib", 46, 15, QTime(9, 0), QTime(20, 30), "11h30m", "0", 11},
        {"Dax", 56, 15, QTime(8, 0), QTime(22, 0), "14h", "0.0", 14},
        {"Eurostoxx", 56, 15, QTime(8, 0), QTime(22, 0), "14h", "0", 14},
        {"Bund", 56, 15, QTime(8, 0), QTime(22, 0), "14h", "0.00", 14},
        {"Mini S&P", 56, 15, QTime(8, 0), QTime(22, 0), "14h", "0.00", 14},
        {"Mini Nasdaq", 56, 15, QTime(8, 0), QTime(22, 0), "14h", "0.00", 14},
        {"Euro FX", 56, 15, QTime(8, 0), QTime(22, 0), "14h", "0.0000", 14},
    };
    stato.Tab_Sottostanti = {};
    for (int u = 1; u <= costanti::Num_Sottostanti; ++u) {
        const Predefinito &p = righe[u - 1];
        RigaSottostante &r = stato.Tab_Sottostanti[size_t(u)];
        r.Nome = QString::fromUtf8(p.nome);
        r.Barre_15M_Giorno = p.barre15M;
        r.Fattore_Durata = p.fattore;
        r.Inizio_Sessione = p.inizio;
        r.Fine_Sessione = p.fine;
        r.Durata_Sessione = QString::fromUtf8(p.durata);
        r.Formato_Prezzo = QString::fromUtf8(p.formato);
        r.Barre_1H_Giorno = p.barre1H;
    }
}

int Riga_Sottostante(const StatoArchivio &stato, const QString &nome)
{
    for (int u = 1; u <= costanti::Num_Sottostanti; ++u)
        if (stato.Tab_Sottostanti[size_t(u)].Nome == nome)
            return u;
    return 0;
}

}  // namespace archivio
