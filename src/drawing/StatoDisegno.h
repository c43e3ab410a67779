#pragma once

#include "platform/Costanti.h"

#include <QString>
#include <array>
#include <map>

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
    bool trovata = false;
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

// A stored row as read back, column name to text; empty for none.
using RigaOggetto = std::map<QString, QString>;

struct StatoDisegno {
    SlotOggetti<Linea> Linee{};
    SlotOggetti<Testo> Testi{};
    SlotOggetti<Distanza> Distanze{};
    // The rows whose bars were out of reach at load, kept as stored: each object takes
    // its slot as soon as its bars are on the chart. Until then it holds the slot (no
    // new object goes there) and is listed in the objects panel, which can delete it.
    SlotOggetti<RigaOggetto> Linee_In_Attesa{};
    SlotOggetti<RigaOggetto> Testi_In_Attesa{};
    SlotOggetti<RigaOggetto> Distanze_In_Attesa{};

    // The chosen tool: "" none, "LINEA30".."LINEA33", "CAN_L", "TESTO30".., "CAN_T",
    // "DISTA30".., "CAN_D"; the placement tools end with their colour code.
    QString Modo_Disegno;
    int Numero_Puntatore = 0;  // 0 none, 1..15 the tool pointers

    // Last mouse position over a chart: X in bars, Y on the first Y axis (0..28).
    double Mouse_X_Graf = 0.0;
    double Mouse_Y_Graf = 0.0;
    // Elements 1 and 2: the first point of a line or distance being placed and the
    // end of its rubber band, in chart units.
    std::array<double, 3> Punto_X{};
    std::array<double, 3> Punto_Y{};
    bool Primo_Punto_Attivo = false;
    // Per degree, the cycle position the objects' bar positions were last aligned
    // with: a change of Barre_Ciclo the objects did not follow is made up for by
    // Riallinea_Disegni.
    std::array<int, costanti::Num_Gradi> Barre_Ciclo_Oggetti{};

    // Slot and degree the pending first point was clicked on.
    int Grafico_Primo_Punto = -1;
    int Grado_Primo_Punto = -1;

    // The text being written: its anchor (bar, first-axis Y) and the last content
    // of the entry box that passed its checks.
    double Punto_X_Testo = 0.0;
    double Punto_Y_Testo = 0.0;
    QString Testo_Precedente;
};
