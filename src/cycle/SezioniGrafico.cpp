#include "cycle/SezioniGrafico.h"

#include "cycle/PosizioneBarra.h"
#include "cycle/StatoCicli.h"

ColoreWin ContestoGrafico::Colore(int indice) const
{
    const auto &colori = cicli.Colori;
    if (indice >= 0 && indice < int(colori.size()))
        return colori[size_t(indice)];
    return colori[81];
}

const SerieStorico &ContestoGrafico::Serie() const { return posizione::SerieDelGrado(mercato, grado); }
