#pragma once

// Helpers of the indicator tests: a session state whose degree series start with
// given closes, and short reads of output rows.

#include "Stato.h"
#include "cycle/PosizioneBarra.h"
#include "indicators/ContestoIndicatori.h"

#include <QRandomGenerator>
#include <memory>
#include <vector>

namespace prova {

inline std::unique_ptr<Stato> NuovoStato()
{
    auto stato = std::make_unique<Stato>();
    stato->shell.Blocco_Grafici = false;
    stato->archivio.Sottostante_Corrente = 1;
    return stato;
}

// Bars 1.. of the degree's series take `chiusure` (bar 1 first); later bars repeat
// the last one given, so every window reads a number.
inline void Chiusure(Stato &stato, int grado, const std::vector<double> &chiusure,
                     const std::vector<double> &volumi = {})
{
    SerieStorico &serie = posizione::SerieDelGrado(stato.mercato, grado);
    for (int i = 1; i <= serie.capacita(); ++i) {
        const size_t k = std::min(size_t(i - 1), chiusure.size() - 1);
        serie.barra(i).chiusura = chiusure[k];
        serie.barra(i).volume = volumi.empty() ? 0.0 : volumi[std::min(size_t(i - 1), volumi.size() - 1)];
    }
}

// A random walk over the whole series of the degree.
inline void Cammino(Stato &stato, int grado, quint32 seme)
{
    QRandomGenerator gen(seme);
    SerieStorico &serie = posizione::SerieDelGrado(stato.mercato, grado);
    double prezzo = 20000.0;
    for (int i = serie.capacita(); i >= 1; --i) {
        prezzo += gen.generateDouble() * 40.0 - 20.0;
        serie.barra(i).chiusura = prezzo;
        serie.barra(i).volume = 100.0 + gen.bounded(900);
    }
}

inline void Durate(Stato &stato, int grado, double durata, double barreCalcolo, int modo = 1)
{
    stato.cicli.Durata[size_t(grado)] = durata;
    stato.cicli.Durata_Standard[size_t(grado)] = durata;
    stato.cicli.Barre_Calcolo[size_t(grado)] = barreCalcolo;
    stato.indicatori.Modo_Adattivo[size_t(grado)] = modo;
}

// The first cell at or after `da` that does not hold `marca`, 0 when all do up to 5000.
inline int PrimaNonMarca(const double *riga, int da, double marca)
{
    for (int i = da; i <= indicatori::Ultima_Cella; ++i)
        if (riga[i] != marca)
            return i;
    return 0;
}

// Index of the last cell before the tail of `marca` that runs to cell 5000.
inline int UltimoValore(const double *riga, double marca)
{
    int i = indicatori::Ultima_Cella;
    while (i >= 1 && riga[i] == marca)
        --i;
    return i;
}

}  // namespace prova
