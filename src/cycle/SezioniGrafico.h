#pragma once

// The sections of Disegna_Grafico, in the order they run. Each receives the
// drawing context of one slot; a section that fails is skipped and the ones
// after it still run, and the final redraw always happens (shell/DisegnaGrafico.cpp).
// The cycle's own sections are declared here; the indicator sections (profile,
// indicators, their axes) in indicators/GraficoIndicatori.h and the user's
// objects (lines, texts) in drawing/GraficoOggetti.h, each with its own state.
//
// Axes current when each section starts:
//   Disegna_Profilo_Volumi       Y axis 2 (price), X axis 3
//   Disegna_Filigrana            selects Y 1, X 1 itself
//   Disegna_Curva_Battleplan,
//   Disegna_Suddivisioni,
//   Disegna_Separatori_Giorno    X 1, Y 1
//   Disegna_Linee_Utente         X 2, Y 2 (the frame has already made the choice:
//                                Seleziona_Asse_Y(2), Aggiungi_Asse_X(""), Seleziona_Asse_X(2))
//   Disegna_Serie_Prezzo         X 2, Y 2; calls Disegna_Ultimo_Prezzo for degrees 8..12
//   Disegna_Indicatori           X 2, Y 2; adds Y axes 3..7 itself
//   Imposta_Titolo_Assi          selects what it configures; ends with Y 2 current
//   Imposta_Scala_Prezzo         Y 2; fills P_Basso / P_Alto
//   Imposta_Assi_Indicatori      selects Y 3..7; the frame makes Y 1 and X 1 current afterwards
//   Scrivi_Testi_Ciclo,
//   Scrivi_Testi_Utente          X 1, Y 1

#include "chart/GraficoControllo.h"

#include <QString>

class SerieStorico;
struct StatoArchivio;
struct StatoCicli;
struct StatoMercato;
struct StatoProgramma;

struct ContestoGrafico {
    const StatoProgramma &programma;
    const StatoArchivio &archivio;
    const StatoMercato &mercato;
    const StatoCicli &cicli;
    GraficoControllo &ctl;  // Graf_Battleplan(grafico); a refused call is skipped
    int grafico = 0;        // slot 0..3
    int grado = 0;          // degree 0..12, checked by the frame

    double Estensione_Grafico = 0.0;  // Durata + Scostamento_Ciclo of the degree

    // Read from the window controls when the drawing starts.
    int Sld_Zoom_Max = 10;
    int Hsc_Graf_Y_Valore = 50;
    int Hsc_Graf_Y_Max = 100;

    // Read back from the chart by Imposta_Titolo_Assi (Y axis 1) and
    // Imposta_Scala_Prezzo (Y axis 2) for the texts placed by price.
    double Y1_Basso = 0.0;
    double Y1_Alto = 28.0;
    double P_Basso = 0.0;
    double P_Alto = 0.0;

    // Colori(indice), or the title colour Colori(81) for an index outside the table.
    ColoreWin Colore(int indice) const;
    // The history series of the degree's timeframe.
    const SerieStorico &Serie() const;
};

void Disegna_Filigrana(ContestoGrafico &c);
void Disegna_Curva_Battleplan(ContestoGrafico &c);
void Disegna_Suddivisioni(ContestoGrafico &c);
void Disegna_Separatori_Giorno(ContestoGrafico &c);
void Disegna_Serie_Prezzo(ContestoGrafico &c);
// The real-time last price; Disegna_Serie_Prezzo calls it for degrees 8..12 only.
void Disegna_Ultimo_Prezzo(ContestoGrafico &c);
void Imposta_Titolo_Assi(ContestoGrafico &c);
void Imposta_Scala_Prezzo(ContestoGrafico &c);
void Scrivi_Testi_Ciclo(ContestoGrafico &c);
