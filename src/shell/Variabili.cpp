#include "shell/Variabili.h"

#include "Stato.h"

namespace finestra {

void Inizializza_Variabili(Stato &stato)
{
    stato.shell.Blocco_Grafici = true;

    for (auto &tempi : stato.cicli.Tempi_Futuri)
        tempi.clear();

    StatoIndicatori &ind = stato.indicatori;
    for (auto &riga : ind.Ind_Attivo)
        riga.fill(0);
    for (ArrayIndicatore *a : {&ind.Ind_Media_C2, &ind.Ind_Media_C4, &ind.Ind_Media_C8, &ind.Ind_Media_C16,
                               &ind.Ind_Media_Utente_1, &ind.Ind_Media_Utente_2,
                               &ind.Ind_Velocita_C2, &ind.Ind_Velocita_C2_Media,
                               &ind.Ind_Velocita_C4, &ind.Ind_Velocita_C4_Media,
                               &ind.Ind_Velocita_C8, &ind.Ind_Velocita_C8_Media,
                               &ind.Ind_Stoc_Dist_Min, &ind.Ind_Stoc_Dist_Min_Media,
                               &ind.Ind_Stoc_Dist_Max, &ind.Ind_Stoc_Dist_Max_Media,
                               &ind.Ind_Centrata_C2, &ind.Ind_Centrata_C4, &ind.Ind_Centrata_C8,
                               &ind.Ind_Centrata_C16, &ind.Ind_Velocita_Centrata,
                               &ind.Ind_Velocita_Centrata_Media, &ind.Ind_Osc_C4_C2, &ind.Ind_Osc_C8_C4,
                               &ind.Ind_Osc_C16_C8, &ind.Ind_Osc_C8_C2})
        a->azzera();
}

}  // namespace finestra
