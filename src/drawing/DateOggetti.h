#pragma once

// The dates of the drawing objects' points for the objects panel: each bar
// position goes through the one bar-position mapping, so a point is dated with
// the bar it is drawn on, a distance's as much as a line's.

#include <QDate>

struct StatoMercato;
struct StatoCicli;
struct StatoDisegno;

namespace disegno {

struct DataPunto {
    bool valida = false;  // false: the position lies beyond the history and the future axis
    QDate data;
    bool con_ora = false;  // daily degrees show no time, but for a text on the future axis
    int minuti = 0;
};

struct DateOggetto {
    DataPunto inizio;
    DataPunto fine;  // unused for a text
};

DataPunto Data_Posizione(const StatoMercato &mercato, const StatoCicli &cicli, int grado, int x,
                         bool oraFuturaGiornaliera = false);

// A degree or slot out of range gives points without a date.
DateOggetto Calcola_Date_Linea(const StatoMercato &mercato, const StatoCicli &cicli, const StatoDisegno &disegno,
                               int grado, int slot);
DateOggetto Calcola_Date_Testo(const StatoMercato &mercato, const StatoCicli &cicli, const StatoDisegno &disegno,
                               int grado, int slot);
DateOggetto Calcola_Date_Distanza(const StatoMercato &mercato, const StatoCicli &cicli,
                                  const StatoDisegno &disegno, int grado, int slot);

}  // namespace disegno
