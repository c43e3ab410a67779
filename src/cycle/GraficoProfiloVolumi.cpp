#include "cycle/SezioniGrafico.h"

void Disegna_Profilo_Volumi(ContestoGrafico &) {}
