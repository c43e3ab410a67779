#pragma once

// The user's objects in a chart slot's drawing (order and axes in
// cycle/SezioniGrafico.h).

#include "cycle/SezioniGrafico.h"

struct StatoDisegno;

// An object's colour: the entry 1..100 its code names, or for a code naming none
// the default, the colour of an index outside the table.
ColoreWin Colore_Oggetto(const ContestoGrafico &c, int codice);

// The user's lines and distances.
void Disegna_Linee_Utente(ContestoGrafico &c, const StatoDisegno &disegno);
// The user's texts and the distance labels.
void Scrivi_Testi_Utente(ContestoGrafico &c, const StatoDisegno &disegno);
