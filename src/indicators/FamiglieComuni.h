#pragma once

// Steps shared by several indicator families.

#include <vector>

namespace indicatori {

class ContestoIndicatori;

// Raw cells 1..n-1 are the change of `media` (cells 1..n) from one bar to the
// next older one; smoothed cells 1..n-q their trailing mean over q bars. A
// smoothing window under one bar leaves the smoothed row empty.
void Velocita(const std::vector<double> &media, int n, int q, double *grezza, double *lisciata);

// The centred mean of period p, or no cells when p cannot be centred (p < 2
// would read past the oldest bar) or is not shorter than the series.
const std::vector<double> &MediaCentrataValida(ContestoIndicatori &c, int p);

}  // namespace indicatori
