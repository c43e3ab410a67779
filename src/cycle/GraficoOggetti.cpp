#include "cycle/SezioniGrafico.h"

void Disegna_Linee_Utente(ContestoGrafico &) {}
