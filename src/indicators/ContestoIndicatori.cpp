#include "indicators/ContestoIndicatori.h"

#include "cycle/PosizioneBarra.h"
#include "cycle/StatoCicli.h"
#include "indicators/SommeFinestra.h"
#include "indicators/StatoIndicatori.h"
#include "platform/VbRuntime.h"

#include <algorithm>
#include <cmath>

namespace indicatori {

int PeriodoDaDurata(double durata, int divisore)
{
    const double p = std::floor(durata / double(divisore));
    if (!std::isfinite(p) || p < -32768.0 || p > 32767.0)
        return -1;
    return int(p);
}

int BarreCalcolate(int p, double barreCalcolo, int barre)
{
    int n = 0;
    if (double(p) + barreCalcolo >= double(barre))
        n = barre - p;
    else
        n = vb::CInt(barreCalcolo);
    // Never past the oldest bar a window of p bars can start from.
    return std::clamp(n, 0, std::max(0, barre - p));
}

void Coda(double *riga, int da, double marca)
{
    for (int i = std::max(da, 1); i <= Ultima_Cella; ++i)
        riga[i] = marca;
}

ContestoIndicatori::ContestoIndicatori(const StatoMercato &mercato, const StatoCicli &cicli,
                                       const StatoIndicatori &indicatori, int grado)
    : m_grado(grado)
{
    const SerieStorico &serie = posizione::SerieDelGrado(mercato, grado);
    m_barre = std::min(serie.capacita(), Ultima_Cella);
    m_chiusure.assign(size_t(m_barre) + 1, 0.0);
    for (int i = 1; i <= m_barre; ++i)
        m_chiusure[size_t(i)] = serie.barra(i).chiusura;
    const auto g = size_t(grado);
    m_durata = indicatori.Modo_Adattivo[g] != 0 ? cicli.Durata[g] : cicli.Durata_Standard[g];
    m_barreCalcolo = cicli.Barre_Calcolo[g];
}

ContestoIndicatori::ContestoIndicatori(int grado, std::vector<double> chiusure, double durata,
                                       double barreCalcolo)
    : m_grado(grado), m_barre(int(chiusure.size())), m_durata(durata), m_barreCalcolo(barreCalcolo)
{
    m_chiusure.reserve(chiusure.size() + 1);
    m_chiusure.push_back(0.0);
    m_chiusure.insert(m_chiusure.end(), chiusure.begin(), chiusure.end());
}

const std::vector<double> &ContestoIndicatori::MediaMobile(int p)
{
    auto trovata = m_mobili.find(p);
    if (trovata != m_mobili.end())
        return trovata->second;
    const int n = barreCalcolate(p);
    std::vector<double> media(size_t(n) + 1, 0.0);
    if (p >= 1 && n > 0)
        MedieFinestra(m_chiusure.data() + 1, n, p, media.data() + 1);
    return m_mobili.emplace(p, std::move(media)).first->second;
}

const std::vector<double> &ContestoIndicatori::MediaCentrata(int p)
{
    auto trovata = m_centrate.find(p);
    if (trovata != m_centrate.end())
        return trovata->second;
    const int n = barreCalcolate(p);
    std::vector<double> media(size_t(n) + 1, 0.0);
    const int q = p / 2;
    if (p >= 2 && n > 0) {
        // From cell q on the window S(i) .. S(i + p - 1) of the padded series is the
        // trailing window of bar i - q + 1, added in the same order: reuse it.
        const std::vector<double> &mobile = MediaMobile(p);
        for (int i = q; i <= n; ++i)
            media[size_t(i)] = mobile[size_t(i - q + 1)];
        // The first q - 1 cells reach past the newest bar: sum them over the series
        // padded with copies of the newest close, S(j) = C(max(1, j - q + 1)).
        const int iniziali = std::min(q - 1, n);
        if (iniziali > 0) {
            std::vector<double> s(size_t(iniziali + p - 1));
            for (int j = 1; j <= iniziali + p - 1; ++j)
                s[size_t(j - 1)] = m_chiusure[size_t(std::max(1, j - q + 1))];
            MedieFinestra(s.data(), iniziali, p, media.data() + 1);
        }
    }
    return m_centrate.emplace(p, std::move(media)).first->second;
}

}  // namespace indicatori
