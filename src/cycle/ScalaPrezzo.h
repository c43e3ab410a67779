#pragma once

class SerieStorico;

struct IntervalloPrezzo {
    double minimo = 0.0;
    double massimo = 0.0;
    bool valido = false;  // false when the series holds no bar to scan
};

namespace ciclo {

// The price axis range: lowest and highest close of the newest
// round(estensione) bars, widened (zoom < 7) or narrowed (zoom > 7) by
// (7 - zoom) steps of span / zoomMax on each side, the lower end kept at 0 or
// above, then moved by the vertical bar's distance from 50 in steps of
// span / barraMax; the upper end moves by that distance twice.
IntervalloPrezzo Calcola_Scala_Prezzo(const SerieStorico &serie, double estensione, double zoom, int zoomMax,
                                      int valoreBarra, int barraMax);

}  // namespace ciclo
