#pragma once

#include "platform/Costanti.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <array>
#include <cstdint>
#include <vector>

template <typename T>
using PerGrado = std::array<T, costanti::Num_Gradi>;

// One future bar: a daily degree leaves the time at midnight (0 minutes).
struct TempoFuturo {
    QDate data;
    int minuti = 0;
};

// One chart slot: whether it is used, the degree it shows, its place in the 2 x 2 grid.
struct SlotGrafico {
    int in_uso = 0;
    int grado = 0;
    int posizione = 0;
};

struct StatoCicli {
    // Per-degree constants, counted in trading days.
    PerGrado<double> Durata_Nominale_Grado{};
    PerGrado<double> Durata_Min_Grado{};
    PerGrado<double> Durata_Max_Grado{};
    PerGrado<double> Compressione_Grado{};
    double Fase_Battleplan = -1.5708;

    // Current underlying's row.
    QString Sottostante;
    int Barre_15M_Giorno = 0;
    double Fattore_Durata = 0.0;
    QTime Inizio_Sessione;
    QString Durata_Sessione;

    // Per-degree settings.
    PerGrado<int> Sottocicli{};
    PerGrado<double> Durata{};
    PerGrado<double> Tendenza{};
    PerGrado<int> Compressione{};
    PerGrado<double> Zoom{};
    PerGrado<int> Tempi{};
    PerGrado<double> Prop_Battleplan{};
    PerGrado<int> Posizione_Asse_Y{};
    PerGrado<int> Modo_Mouse_Grado{};
    PerGrado<int> Griglia_1{};
    PerGrado<int> Griglia_2{};
    PerGrado<int> Modo_Linea_Storico{};
    PerGrado<int> Mostra_Coordinate{};
    PerGrado<int> Barre_Ciclo{};
    PerGrado<QDate> Data_Inizio_Ciclo{};
    PerGrado<int> Ora_Inizio_Ciclo{};  // minutes since midnight
    PerGrado<double> Scostamento_Ciclo{};
    PerGrado<double> Durata_Minima{};
    PerGrado<double> Barre_Calcolo{};
    PerGrado<double> Durata_Standard{};

    // Future time axis per degree, entry k (1-based) is the k-th bar after the newest.
    PerGrado<std::vector<TempoFuturo>> Tempi_Futuri{};

    // Battleplan curve per degree, filled by Calcola_Battleplan: element i is the
    // value at chart position i (1..N), element 0 unused.
    PerGrado<std::vector<double>> Battleplan{};

    std::array<SlotGrafico, costanti::Num_Slot> Conf_Grafici{};
    int Grafico_Corrente = 0;
    int Grado_Corrente = 0;
    std::array<QString, costanti::Num_Slot> Titoli_Grafici{};

    // Windows colour values 0x00BBGGRR of the current scheme.
    std::array<std::uint32_t, costanti::Num_Colori> Colori{};
};
