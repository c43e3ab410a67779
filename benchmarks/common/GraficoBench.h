#pragma once

// One chart slot without a window, and the history the chart benchmarks draw.

#include "Stato.h"
#include "chart/ModelloGrafico.h"
#include "cycle/Colori.h"
#include "cycle/ControlliGrafici.h"
#include "market/SerieStorico.h"

#include <QDate>
#include <QTime>
#include <cmath>

// Slot 0 only, its content kept in a ModelloGrafico.
class ControlliBench : public ControlliGrafici {
public:
    GraficoControllo *Graf_Battleplan(int slot) override { return slot == 0 ? &grafico : nullptr; }
    BarraScorrimento *Hsc_Graf(int) override { return &x; }
    BarraScorrimento *Hsc_Graf_Y(int) override { return &y; }
    void Mostra_Comandi_Slot(int, bool) override {}
    int Sld_Zoom_Max() const override { return 10; }

    ModelloGrafico grafico;
    BarraValori x, y;
};

// A full 08:00-22:00 weekday series ending on Friday 5 December 2025, its close
// two waves round 20000.
inline void RiempiSerieBench(SerieStorico &serie, int minutiBarra)
{
    QDate data(2025, 12, 5);
    int minuti = 22 * 60;
    for (int r = 1; r <= serie.capacita(); ++r) {
        BarraStorico &b = serie.barra(r);
        b.data = data;
        b.minuti = minuti;
        b.chiusura = 20000 + 400 * std::sin(r / 90.0) + 80 * std::sin(r / 9.0);
        minuti -= minutiBarra;
        if (minuti <= 8 * 60) {
            do
                data = data.addDays(-1);
            while (data.dayOfWeek() > 5);
            minuti = 22 * 60;
        }
    }
}

// "Dax", 08:00-22:00 with 56 quarter-hours a day, both intraday series full
// and the first colour scheme.
inline void PreparaSessioneBench(Stato &s)
{
    RiempiSerieBench(s.mercato.Storico_15M, 15);
    RiempiSerieBench(s.mercato.Storico_5M, 5);
    StatoCicli &c = s.cicli;
    c.Sottostante = QStringLiteral("Dax");
    c.Barre_15M_Giorno = 56;
    c.Fattore_Durata = 15;
    c.Inizio_Sessione = QTime(8, 0);
    s.mercato.Fine_Sessione = QTime(22, 0);
    ciclo::Imposta_Colori(c, 0);
}
