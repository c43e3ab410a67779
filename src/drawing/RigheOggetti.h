#pragma once

// What the three grids of the objects panel show for one degree: one row per
// object in use, in slot order, with its slot, its colour code and the text of
// each column (column 3 on; a point without a date leaves its cells empty). An
// object waiting for its bars is listed too, with the dates and prices its archive
// row holds, and whether it will never come back.

#include <QStringList>
#include <vector>

struct StatoProgramma;
struct StatoMercato;
struct StatoCicli;
struct StatoDisegno;

namespace disegno {

struct RigaOggetto {
    int slot = 0;
    int colore = 0;
    QStringList celle;  // celle[0] is column 3
    bool in_attesa = false;  // its bars are not on the chart: not drawn, deleted only here
    bool non_tornera = false;  // waiting with a point on no bar of the history: it never comes back
};

// Lines: start date, time, price, spacer, end date, time, price (columns 3..9).
std::vector<RigaOggetto> Righe_Linee(const StatoProgramma &programma, const StatoMercato &mercato,
                                     const StatoCicli &cicli, const StatoDisegno &disegno, int grado);
// Texts: date, time, price, the text (columns 3..6).
std::vector<RigaOggetto> Righe_Testi(const StatoProgramma &programma, const StatoMercato &mercato,
                                     const StatoCicli &cicli, const StatoDisegno &disegno, int grado);
// Distances: as lines, then a spacer and the duration (columns 3..11).
std::vector<RigaOggetto> Righe_Distanze(const StatoProgramma &programma, const StatoMercato &mercato,
                                        const StatoCicli &cicli, const StatoDisegno &disegno, int grado);

}  // namespace disegno
