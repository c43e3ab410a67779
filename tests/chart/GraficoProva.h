#pragma once

// Set-up shared by the chart tests: fixed axes and straight lines.

#include "chart/GraficoControllo.h"

#include <QString>

namespace prova {

inline constexpr ColoreWin Nero = 0x000000;
inline constexpr ColoreWin Rosso = 0x0000FF;  // 0x00BBGGRR
inline constexpr ColoreWin Verde = 0x00FF00;

// X 1 fixed 0..100, Y 1 fixed 0..28, Y 2 (price) fixed as given.
inline void prepara(GraficoControllo &g, double prezzoMin, double prezzoMax)
{
    g.Svuota_Grafico();
    g.Aggiungi_Asse_Y(2);
    g.Colore_Sfondo_Grafico(Nero);
    g.Seleziona_Asse_X(1);
    g.Scala_Fissa_Asse(1);
    g.Minimo_Asse(0);
    g.Massimo_Asse(100);
    g.Seleziona_Asse_Y(1);
    g.Scala_Fissa_Asse(1);
    g.Minimo_Asse(0);
    g.Massimo_Asse(28);
    g.Seleziona_Asse_Y(2);
    g.Scala_Fissa_Asse(1);
    g.Minimo_Asse(prezzoMin);
    g.Massimo_Asse(prezzoMax);
}

inline void linea(GraficoControllo &g, int asseY, double x0, double y0, double x1, double y1, ColoreWin c,
                  int spessore = 3)
{
    g.Seleziona_Asse_Y(asseY);
    g.Nuova_Serie(QString());
    g.Stile_Serie(c, spessore, 1);
    g.Aggiungi_Punto(x0, y0);
    g.Aggiungi_Punto(x1, y1);
}

}  // namespace prova
