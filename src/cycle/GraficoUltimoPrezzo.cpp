#include "cycle/SezioniGrafico.h"

void Disegna_Ultimo_Prezzo(ContestoGrafico &) {}
