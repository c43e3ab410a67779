// Full recompute of every indicator item for the four chart slots at the largest
// cycle settings (the longest durations, Barre_Calcolo at its upper bound).

#include "Bench.h"

#include "Stato.h"
#include "indicators/MotoreIndicatori.h"

#include <QRandomGenerator>

namespace {

void riempi(SerieStorico &serie, quint32 seme)
{
    QRandomGenerator gen(seme);
    double prezzo = 20000.0;
    for (int i = serie.capacita(); i >= 1; --i) {
        prezzo += gen.generateDouble() * 40.0 - 20.0;
        serie.barra(i).chiusura = prezzo;
        serie.barra(i).volume = 100.0 + gen.bounded(900);
    }
}

}  // namespace

int main()
{
    auto stato = std::make_unique<Stato>();
    stato->shell.Blocco_Grafici = true;
    stato->archivio.Sottostante_Corrente = 1;
    riempi(stato->mercato.Storico_1D, 1);
    riempi(stato->mercato.Storico_1H, 2);
    riempi(stato->mercato.Storico_15M, 3);
    riempi(stato->mercato.Storico_5M, 4);

    // Slot, degree, longest duration (= Barre_Calcolo) of that degree.
    const int gradi[4] = {0, 1, 4, 6};
    const double durate[4] = {2600, 2048, 3584, 3584};
    for (int s = 0; s < 4; ++s) {
        const auto d = size_t(gradi[s]);
        stato->cicli.Conf_Grafici[size_t(s)] = {1, gradi[s], s};
        stato->cicli.Durata[d] = durate[s];
        stato->cicli.Durata_Standard[d] = durate[s] / 2;
        stato->cicli.Barre_Calcolo[d] = durate[s];
        stato->cicli.Barre_Ciclo[d] = int(durate[s]);
        stato->indicatori.Modo_Adattivo[d] = 1;
        stato->indicatori.Periodo_Utente_1[d] = QStringLiteral("200");
        stato->indicatori.Periodo_Utente_2[d] = QStringLiteral("1000");
        for (int k = 0; k <= 19; ++k)
            stato->indicatori.Ind_Attivo[d][size_t(k)] = 1;
    }
    MotoreIndicatori motore(stato->shell, stato->archivio, stato->mercato, stato->cicli, stato->indicatori);
    MisuraMediana(QStringLiteral("indicatori_quattro_slot"), [&] { motore.Aggiorna_Indicatori_Grafici(); });
    return 0;
}
