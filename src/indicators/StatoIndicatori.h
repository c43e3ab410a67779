#pragma once

#include "platform/Costanti.h"

#include <QVariant>
#include <array>
#include <vector>

// One per-degree indicator output: 13 degrees x bars 0..5000 (bar 1 newest).
class ArrayIndicatore {
public:
    static constexpr int Barre = costanti::Barre_Storico_15M + 1;
    ArrayIndicatore() : m_valori(size_t(costanti::Num_Gradi) * Barre, 0.0) {}
    double &operator()(int grado, int barra) { return m_valori[size_t(grado) * Barre + size_t(barra)]; }
    double operator()(int grado, int barra) const { return m_valori[size_t(grado) * Barre + size_t(barra)]; }
    double *riga(int grado) { return m_valori.data() + size_t(grado) * Barre; }
    const double *riga(int grado) const { return m_valori.data() + size_t(grado) * Barre; }
    void azzera() { std::fill(m_valori.begin(), m_valori.end(), 0.0); }

private:
    std::vector<double> m_valori;
};

// One price level of a volume-at-price profile.
struct LivelloVolume {
    double prezzo = 0.0;
    double volume = 0.0;
};

// The volume-at-price profile of one degree. Never computed (or cleared) means no
// levels; `sottostante` is the underlying the levels were computed for, so that a
// profile of another market is never shown.
struct ProfiloVolumi {
    std::vector<LivelloVolume> livelli;
    int sottostante = 0;
    bool calcolato() const { return !livelli.empty(); }
    void svuota()
    {
        livelli.clear();
        sottostante = 0;
    }
};

struct StatoIndicatori {
    // Ind_Attivo[d][k] = 1 when item k (0..20) is shown for degree d.
    std::array<std::array<int, costanti::Max_Indicatori + 1>, costanti::Num_Gradi> Ind_Attivo{};
    std::array<int, costanti::Num_Gradi> Modo_Adattivo{};
    std::array<QVariant, costanti::Num_Gradi> Periodo_Utente_1{};
    std::array<QVariant, costanti::Num_Gradi> Periodo_Utente_2{};

    ArrayIndicatore Ind_Media_C2, Ind_Media_C4, Ind_Media_C8, Ind_Media_C16;
    ArrayIndicatore Ind_Media_Utente_1, Ind_Media_Utente_2;
    ArrayIndicatore Ind_Velocita_C2, Ind_Velocita_C2_Media;
    ArrayIndicatore Ind_Velocita_C4, Ind_Velocita_C4_Media;
    ArrayIndicatore Ind_Velocita_C8, Ind_Velocita_C8_Media;
    ArrayIndicatore Ind_Stoc_Dist_Min, Ind_Stoc_Dist_Min_Media;
    ArrayIndicatore Ind_Stoc_Dist_Max, Ind_Stoc_Dist_Max_Media;
    ArrayIndicatore Ind_Centrata_C2, Ind_Centrata_C4, Ind_Centrata_C8, Ind_Centrata_C16;
    ArrayIndicatore Ind_Velocita_Centrata, Ind_Velocita_Centrata_Media;
    ArrayIndicatore Ind_Osc_C4_C2, Ind_Osc_C8_C4, Ind_Osc_C16_C8, Ind_Osc_C8_C2;

    // Profilo_Volumi_0 .. Profilo_Volumi_12 (item 19), one per degree.
    std::array<ProfiloVolumi, costanti::Num_Gradi> Profilo_Volumi{};
};
