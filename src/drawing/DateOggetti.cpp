#include "drawing/DateOggetti.h"

#include "cycle/PosizioneBarra.h"
#include "drawing/StatoDisegno.h"

namespace disegno {

namespace {
bool valido(int grado, int slot) { return grado >= 0 && grado <= costanti::Max_Grado && slot >= 1 && slot <= 15; }
}  // namespace

DataPunto Data_Posizione(const StatoMercato &mercato, const StatoCicli &cicli, int grado, int x,
                         bool oraFuturaGiornaliera)
{
    DataPunto p;
    if (grado < 0 || grado > costanti::Max_Grado)
        return p;
    const posizione::Barra b = posizione::DaX(cicli, mercato, grado, x);
    const bool giornaliero = posizione::GradoGiornaliero(grado);
    if (b.dove == posizione::Dove::Storico) {
        const BarraStorico &s = posizione::SerieDelGrado(mercato, grado).barra(b.indice);
        p = DataPunto{s.data.isValid(), s.data, !giornaliero, s.minuti};
    } else if (b.dove == posizione::Dove::Futuro) {
        const TempoFuturo &f = cicli.Tempi_Futuri[size_t(grado)][size_t(b.indice - 1)];
        p = DataPunto{f.data.isValid(), f.data, !giornaliero || oraFuturaGiornaliera, f.minuti};
    }
    return p;
}

DateOggetto Calcola_Date_Linea(const StatoMercato &mercato, const StatoCicli &cicli, const StatoDisegno &disegno,
                               int grado, int slot)
{
    if (!valido(grado, slot))
        return {};
    const Linea &l = disegno.Linee[size_t(grado)][size_t(slot)];
    return {Data_Posizione(mercato, cicli, grado, l.barra_inizio), Data_Posizione(mercato, cicli, grado, l.barra_fine)};
}

DateOggetto Calcola_Date_Testo(const StatoMercato &mercato, const StatoCicli &cicli, const StatoDisegno &disegno,
                               int grado, int slot)
{
    if (!valido(grado, slot))
        return {};
    return {Data_Posizione(mercato, cicli, grado, disegno.Testi[size_t(grado)][size_t(slot)].barra, true), {}};
}

DateOggetto Calcola_Date_Distanza(const StatoMercato &mercato, const StatoCicli &cicli,
                                  const StatoDisegno &disegno, int grado, int slot)
{
    if (!valido(grado, slot))
        return {};
    const Distanza &d = disegno.Distanze[size_t(grado)][size_t(slot)];
    return {Data_Posizione(mercato, cicli, grado, d.barra_inizio), Data_Posizione(mercato, cicli, grado, d.barra_fine)};
}

}  // namespace disegno
