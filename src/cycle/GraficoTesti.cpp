#include "cycle/SezioniGrafico.h"

void Scrivi_Testi_Utente(ContestoGrafico &) {}
