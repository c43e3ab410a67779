#pragma once

#include "platform/Costanti.h"

#include <QString>
#include <array>

// Bar positions follow the one chart mapping: x = 1 is the cycle-start bar,
// x = Barre_Ciclo the newest bar, beyond it the future time axis.
struct Linea {
    bool in_uso = false;
    bool trovata = false;
    int barra_inizio = 0;
    double prezzo_inizio = 0.0;
    int barra_fine = 0;
    double prezzo_fine = 0.0;
    int colore = 0;
};

struct Testo {
    bool in_uso = false;
    bool trovato = false;
    int barra = 0;
    double prezzo = 0.0;
    int colore = 0;
    QString testo;
};

struct Distanza {
    bool in_uso = false;
    bool trovata = false;
    int barra_inizio = 0;
    double prezzo_inizio = 0.0;
    int barra_fine = 0;
    double prezzo_fine = 0.0;
    int colore = 0;
    int barra_etichetta = 0;
    double prezzo_etichetta = 0.0;
    QString durata;
};

template <typename T>
using SlotOggetti = std::array<std::array<T, 16>, costanti::Num_Gradi>;  // [degree][slot 1..15]

struct StatoDisegno {
    SlotOggetti<Linea> Linee{};
    SlotOggetti<Testo> Testi{};
    SlotOggetti<Distanza> Distanze{};
};
