#pragma once

// Window kernels shared by every indicator family.
//
// MedieFinestra keeps the one summation order the indicators are defined by:
// each window is summed from 0, oldest index last, x[i] + x[i+1] + ... + x[i+p-1],
// and only then divided by p. Speed comes from computing several windows side by
// side in vector lanes (each lane still adds its own window in that order), so
// every cell is bit-identical to the plain loop.

namespace indicatori {

// out[i] = (x[i] + ... + x[i + p - 1]) / p for i in [0, n). Reads x[0 .. n + p - 2].
void MedieFinestra(const double *x, int n, int p, double *out);

// The same, one window at a time: the reference the fast path must match exactly.
void MedieFinestraSemplice(const double *x, int n, int p, double *out);
// The same on 128-bit lanes only, the path of processors without AVX2.
void MedieFinestraSse2(const double *x, int n, int p, double *out);

// Lowest and highest of x[i .. i + p - 1] for i in [0, n), with sliding
// monotonic queues (exact: a minimum does not round). p < 1 counts as 1.
void EstremiFinestra(const double *x, int n, int p, double *minimi, double *massimi);

}  // namespace indicatori
