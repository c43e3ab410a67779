#pragma once

// The one mapping between chart positions and bars, shared by the drawing, the
// readout, the drawing objects and their store. Position x of degree d shows
// history row Barre_Ciclo(d) + 1 - x for 1 <= x <= Barre_Ciclo(d) (x = 1 the
// cycle-start bar, x = Barre_Ciclo the newest) and future entry x - Barre_Ciclo(d)
// beyond it.

#include "cycle/StatoCicli.h"
#include "market/StatoMercato.h"

#include <QString>

namespace posizione {

enum class Dove { Nessuna, Storico, Futuro };

struct Barra {
    Dove dove = Dove::Nessuna;
    int indice = 0;  // history row (1 newest) or future entry (1-based)
};

// The bar at position x; positions left of the cycle start (x < 1) read the older
// rows of the series, as far as it goes.
Barra DaX(const StatoCicli &cicli, const StatoMercato &mercato, int grado, int x);
int XDaRiga(const StatoCicli &cicli, int grado, int riga);
// History row of position x, whatever its range (rows past the series or below 1 included).
int RigaDaX(const StatoCicli &cicli, int grado, int x);
int XDaFuturo(const StatoCicli &cicli, int grado, int entrata);

// Date and time shown at position x; false when x maps to no bar.
bool TempoDaX(const StatoCicli &cicli, const StatoMercato &mercato, int grado, int x, QDate &data, int &minuti);

// Degrees 0-3 daily, 4-5 hourly, 6-9 15-minute, 10-12 5-minute.
const SerieStorico &SerieDelGrado(const StatoMercato &mercato, int grado);
SerieStorico &SerieDelGrado(StatoMercato &mercato, int grado);
bool GradoGiornaliero(int grado);

}  // namespace posizione
