// Every degree's Battleplan curve and future time axis, at the largest ranges the
// settings allow (longest duration, full compression).

#include "Bench.h"

#include "Stato.h"
#include "archive/TabSottostanti.h"
#include "cycle/Battleplan.h"
#include "cycle/ModelloCiclo.h"
#include "cycle/TempiFuturi.h"
#include "simulatore/GeneratoreStorico.h"
#include "market/StoricoLocale.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Stato s;
    s.archivio.Sottostante_Corrente = 2;
    archivio::Inizializza_Tab_Sottostanti(s.archivio);
    generatore::Parametri p;
    p.sottostante = s.archivio.Tab_Sottostanti[2];
    p.ultimoGiorno = QDate(2026, 12, 4);
    const storico::SetStorico set = generatore::Genera(p);
    storico::CopiaSetStorico(s.mercato, set);

    StatoCicli &c = s.cicli;
    ciclo::Inizializza_Tabelle_Cicli(c);
    const RigaSottostante &r = s.archivio.Tab_Sottostanti[2];
    c.Barre_15M_Giorno = r.Barre_15M_Giorno;
    c.Fattore_Durata = r.Fattore_Durata;
    c.Inizio_Sessione = r.Inizio_Sessione;
    s.mercato.Fine_Sessione = r.Fine_Sessione;
    for (int d = 0; d <= 12; ++d) {
        const auto g = size_t(d);
        c.Durata[g] = std::floor(c.Durata_Max_Grado[g] * ciclo::BarrePerGiorno(s.archivio, s.cicli, d));
        c.Compressione[g] = 10;
        c.Scostamento_Ciclo[g] = 10 * c.Compressione_Grado[g];
        c.Barre_Ciclo[g] = 1;
        c.Sottocicli[g] = 6;
        c.Tempi[g] = 20;
        c.Tendenza[g] = 3;
        c.Prop_Battleplan[g] = 1.3;
    }
    MisuraMediana(QStringLiteral("modello_ciclo"), [&] {
        ciclo::Calcola_Battleplan_Tutti(c);
        ciclo::Calcola_Tempi_Futuri(c, s.mercato);
    });
    return 0;
}
