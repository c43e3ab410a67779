#include "indicators/TabellaIndicatori.h"

#include "indicators/ContestoIndicatori.h"
#include "indicators/Indicatori.h"

namespace indicatori {

const std::array<VoceIndicatore, Num_Item> &TabellaIndicatori()
{
    static const std::array<VoceIndicatore, Num_Item> tabella{{
        {0, "Media 1 Ciclica", Calcola_Media_C2, Vuoto_Media, 50},
        {1, "Media 2 Ciclica", Calcola_Media_C4, Vuoto_Media, 51},
        {2, "Media 3 Ciclica", Calcola_Media_C8, Vuoto_Media, 52},
        {3, "Media 4 Ciclica", Calcola_Media_C16, Vuoto_Media, 53},
        {4, "Media a", Calcola_Media_Utente_1, Vuoto_Media, 54},
        {5, "Media a", Calcola_Media_Utente_2, Vuoto_Media, 55},
        {6, "IperC/Vend Ciclo", Calcola_Stocastico, Vuoto_Oscillatore, 56},
        {7, "Velocit\u00e0 1 Ciclica", Calcola_Velocita_C2, Vuoto_Oscillatore, 58},
        {8, "Media 1 Centrata", Calcola_Media_Centrata_C2, Vuoto_Media, 61},
        {9, "Media 2 Centrata", Calcola_Media_Centrata_C4, Vuoto_Media, 62},
        {10, "Media 3 Centrata", Calcola_Media_Centrata_C8, Vuoto_Media, 63},
        {11, "Media 4 Centrata", Calcola_Media_Centrata_C16, Vuoto_Media, 64},
        {12, "Velocit\u00e0 1 Centrata", Calcola_Velocita_Centrata_C2, Vuoto_Oscillatore, 65},
        {13, "Oscill. 1 Centrato", Calcola_Oscillatore_C4_C2, Vuoto_Oscillatore, 66},
        {14, "Oscill. 2 Centrato", Calcola_Oscillatore_C8_C4, Vuoto_Oscillatore, 67},
        {15, "Oscill. 3 Centrato", Calcola_Oscillatore_C16_C8, Vuoto_Oscillatore, 68},
        {16, "Indicatore Centrato", Calcola_Oscillatore_C8_C2, Vuoto_Oscillatore, 69},
        {17, "Velocit\u00e0 2 Ciclica", Calcola_Velocita_C4, Vuoto_Oscillatore, 59},
        {18, "Velocit\u00e0 3 Ciclica", Calcola_Velocita_C8, Vuoto_Oscillatore, 60},
        {19, "Indicatore Volumi", nullptr, 0.0, 87},
    }};
    return tabella;
}

int Colore_Item(int item)
{
    if (item < 0 || item >= Num_Item)
        return 0;
    return TabellaIndicatori()[size_t(item)].colore;
}

QString Didascalia(int item)
{
    if (item < 0 || item >= Num_Item)
        return {};
    return QString::fromUtf8(TabellaIndicatori()[size_t(item)].didascalia);
}

}  // namespace indicatori
