#pragma once

// The inputs of one degree's indicator run, taken once at the start so that every
// item of the run sees the same series and settings, and the averages the items
// share (the trailing and centred means of one period are computed once per run).

#include "platform/Costanti.h"

#include <cstddef>
#include <map>
#include <vector>

struct StatoCicli;
struct StatoIndicatori;
struct StatoMercato;

namespace indicatori {

inline constexpr double Vuoto_Oscillatore = 10000000.0;  // no-value mark of velocities and oscillators
inline constexpr double Vuoto_Media = 0.0;                 // no-value mark of averages
inline constexpr int Ultima_Cella = costanti::Barre_Storico_15M;

// Common-frame rules, also used by the drawing and the tests.
// floor(durata / divisore) as a 16-bit value; -1 when it does not fit.
int PeriodoDaDurata(double durata, int divisore);
// Bars computed for a window of p bars on a series of `barre` bars.
int BarreCalcolate(int p, double barreCalcolo, int barre);
// Cells da .. Ultima_Cella of a row set to `marca`.
void Coda(double *riga, int da, double marca);

class ContestoIndicatori {
public:
    // Snapshot of degree `grado` (0..12) from the session state.
    ContestoIndicatori(const StatoMercato &mercato, const StatoCicli &cicli, const StatoIndicatori &indicatori,
                       int grado);
    // Snapshot from plain values (tests, benchmarks): chiusure[0] is bar 1.
    ContestoIndicatori(int grado, std::vector<double> chiusure, double durata, double barreCalcolo);

    int grado() const { return m_grado; }
    int barre() const { return m_barre; }           // B
    double durata() const { return m_durata; }      // D by the duration mode
    double barreCalcolo() const { return m_barreCalcolo; }
    double chiusura(int barra) const { return m_chiusure[std::size_t(barra)]; }  // 1..B
    const double *chiusure() const { return m_chiusure.data(); }           // [0] unused

    int periodo(int divisore) const { return PeriodoDaDurata(m_durata, divisore); }
    int barreCalcolate(int p) const { return BarreCalcolate(p, m_barreCalcolo, m_barre); }

    // Trailing mean of bars i .. i + p - 1, cells 1..N (N = barreCalcolate(p)),
    // index 0 unused. p must be >= 1.
    const std::vector<double> &MediaMobile(int p);
    // Centred mean of period p (shift q = p / 2, bars newer than bar 1 taken as
    // bar 1), cells 1..N. p must be >= 2.
    const std::vector<double> &MediaCentrata(int p);

private:
    int m_grado = 0;
    int m_barre = 0;
    double m_durata = 0.0;
    double m_barreCalcolo = 0.0;
    std::vector<double> m_chiusure;  // index 0 unused
    std::map<int, std::vector<double>> m_mobili;
    std::map<int, std::vector<double>> m_centrate;
};

}  // namespace indicatori
