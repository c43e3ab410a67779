#include "indicators/SommeFinestra.h"

#include <cstring>
#include <vector>

namespace indicatori {

namespace {

template <typename V, int Corsie, int Accumulatori>
[[gnu::always_inline]] inline int medieABlocchi(const double *x, int n, int p, double *out)
{
    constexpr int Blocco = Corsie * Accumulatori;
    const double divisore = double(p);
    int i = 0;
    for (; i + Blocco <= n; i += Blocco) {
        V acc[Accumulatori];
        for (int a = 0; a < Accumulatori; ++a)
            acc[a] = V{} ;
        const double *base = x + i;
        for (int j = 0; j < p; ++j) {
            for (int a = 0; a < Accumulatori; ++a) {
                V v;
                std::memcpy(&v, base + j + a * Corsie, sizeof(V));
                acc[a] += v;
            }
        }
        for (int a = 0; a < Accumulatori; ++a) {
            acc[a] /= divisore;
            std::memcpy(out + i + a * Corsie, &acc[a], sizeof(V));
        }
    }
    return i;
}

void medieCoda(const double *x, int da, int n, int p, double *out)
{
    const double divisore = double(p);
    for (int i = da; i < n; ++i) {
        double somma = 0.0;
        for (int j = 0; j < p; ++j)
            somma += x[i + j];
        out[i] = somma / divisore;
    }
}

using V2 = double __attribute__((vector_size(16)));
using V4 = double __attribute__((vector_size(32)));

__attribute__((target("avx2"))) int medieAvx2(const double *x, int n, int p, double *out)
{
    return medieABlocchi<V4, 4, 8>(x, n, p, out);
}

int medieSse2(const double *x, int n, int p, double *out) { return medieABlocchi<V2, 2, 6>(x, n, p, out); }

bool haAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

}  // namespace

void MedieFinestra(const double *x, int n, int p, double *out)
{
    if (n <= 0 || p <= 0)
        return;
    const int fatti = haAvx2() ? medieAvx2(x, n, p, out) : medieSse2(x, n, p, out);
    medieCoda(x, fatti, n, p, out);
}

void MedieFinestraSse2(const double *x, int n, int p, double *out)
{
    if (n <= 0 || p <= 0)
        return;
    medieCoda(x, medieSse2(x, n, p, out), n, p, out);
}

void MedieFinestraSemplice(const double *x, int n, int p, double *out)
{
    if (n <= 0 || p <= 0)
        return;
    medieCoda(x, 0, n, p, out);
}

void EstremiFinestra(const double *x, int n, int p, double *minimi, double *massimi)
{
    if (n <= 0)
        return;
    if (p < 1)
        p = 1;
    // Indices into x; the window of cell i is [i, i + p - 1]. Walking from the far
    // end lets each queue drop the indices that left the window at its front.
    const int ultimo = n + p - 2;
    std::vector<int> qmin(size_t(ultimo) + 1), qmax(size_t(ultimo) + 1);
    int testaMin = 0, codaMin = 0, testaMax = 0, codaMax = 0;
    for (int k = ultimo; k >= 0; --k) {
        while (codaMin > testaMin && x[qmin[size_t(codaMin - 1)]] >= x[k])
            --codaMin;
        qmin[size_t(codaMin++)] = k;
        while (codaMax > testaMax && x[qmax[size_t(codaMax - 1)]] <= x[k])
            --codaMax;
        qmax[size_t(codaMax++)] = k;
        if (k < n) {
            while (qmin[size_t(testaMin)] > k + p - 1)
                ++testaMin;
            while (qmax[size_t(testaMax)] > k + p - 1)
                ++testaMax;
            minimi[k] = x[qmin[size_t(testaMin)]];
            massimi[k] = x[qmax[size_t(testaMax)]];
        }
    }
}

}  // namespace indicatori
