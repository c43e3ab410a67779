#pragma once

// Capacities fixed for the whole run.
namespace costanti {
inline constexpr int Num_Sottostanti = 7;
inline constexpr int Max_Grado = 12;
inline constexpr int Num_Gradi = Max_Grado + 1;
inline constexpr int Num_Slot = 4;
inline constexpr int Barre_Storico_5M = 1500;
inline constexpr int Barre_Storico_15M = 5000;
inline constexpr int Barre_Storico_1H = 5000;
inline constexpr int Barre_Storico_1D = 3000;
inline constexpr int Max_Linee = 15;
inline constexpr int Max_Testi = 15;
inline constexpr int Max_Distanze = 15;
inline constexpr int Max_Indicatori = 20;
inline constexpr int Max_Tempi_Futuri = 6200;
inline constexpr int Num_Colori = 101;
inline constexpr int Porta_Server = 2010;

// The product's web address: window title, watermark, link and saved pictures.
inline constexpr const char *Indirizzo_Web = "www.wavelore.example";
}
