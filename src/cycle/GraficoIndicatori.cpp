#include "cycle/SezioniGrafico.h"

void Disegna_Indicatori(ContestoGrafico &) {}

void Imposta_Assi_Indicatori(ContestoGrafico &) {}
