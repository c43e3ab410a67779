#include "drawing/GraficoOggetti.h"

void Scrivi_Testi_Utente(ContestoGrafico &, const StatoDisegno &) {}
