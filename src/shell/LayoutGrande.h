#pragma once

// The one-chart layout "GRANDE" computed apart from the widgets: one panel
// enlarged beside the tool frame, and what the tool frame shows for the current
// degree. Twips, relative to the container, sizes never negative.

#include "shell/LayoutGrafici.h"

#include <QString>
#include <array>
#include <cstdint>

struct Stato;

namespace layout {

// Design sizes of the tool frame and of the two sliders placed under it.
inline constexpr double Larghezza_Strumenti = 3000;
// Top to bottom: the line tools, the cycle controls, the indicator panel, the timeframe box.
inline constexpr double Top_Controlli_Ciclo = 2050;
inline constexpr double Altezza_Controlli_Ciclo = 1950;
inline constexpr double Top_Indicatori = Top_Controlli_Ciclo + Altezza_Controlli_Ciclo;
inline constexpr double Altezza_Indicatori = 4760;
inline constexpr double Altezza_Strumenti = Top_Indicatori + Altezza_Indicatori + 400;
inline constexpr Rettangolo Sld_Zoom_Grande{100, 200 + Altezza_Strumenti + 150, Larghezza_Strumenti, 300};
inline constexpr Rettangolo Sld_Compr_Grande{100, 200 + Altezza_Strumenti + 550, Larghezza_Strumenti, 300};
// The chart frame is the window's height less 750: the lower slider fits at the minimum.
static_assert(Sld_Compr_Grande.Top + Sld_Compr_Grande.Height <= Altezza_Minima - 750);

struct LayoutGrande {
    bool valido = false;  // false: slot outside 0..3, the layout changes nothing
    int grafico = 0;
    Rettangolo Frm_Strumenti;
    Rettangolo Frm_Graf;                   // the enlarged panel
    std::array<Rettangolo, 5> Pulsanti;    // Cmd_Foto, Cmd_Sposta, Cmd_GRaf_P, Cmd_GRaf_M, Cmd_Coord
    std::array<bool, 5> Pulsanti_Abilitati{};
    Rettangolo Led_Agg_Storico_RT;
    Rettangolo Hsc_Graf;
    // Every slot's vertical bar and picture box follow that panel's own size: the
    // hidden panels keep the size of the layout before.
    std::array<Rettangolo, 4> Hsc_Graf_Y;
    std::array<bool, 4> Hsc_Graf_Y_Visibile{};
    std::array<Rettangolo, 4> Pic_Graf;
    Rettangolo Graf_Battleplan;            // of the enlarged panel, relative to its picture box
    VistaGrafico Vista;                    // of that chart
};

// frameH, frameW: the chart frame's size; strumenti: the tool frame's design size
// (Width, Height); pannelli: the four panels as they stand before the layout.
LayoutGrande Layout_Grande(int grafico, double frameH, double frameW, const Rettangolo &strumenti,
                           const std::array<Rettangolo, 4> &pannelli,
                           const std::array<SlotGrafico, 4> &confGrafici, const MisureRiquadro &misure = {});

// The six duration buttons of the tool frame, placed by the degree's timeframe
// around the design tops of Cmd_Dur_P1 and Cmd_Dur_M1.
struct DisposizioneDurata {
    bool invariata = true;      // daily and hourly degrees: the buttons stay as they are
    bool terzi_visibili = false;  // Cmd_Dur_P3, Cmd_Dur_M3
    double Top_P2 = 0, Top_M2 = 0, Top_P3 = 0, Top_M3 = 0;
};
DisposizioneDurata Disposizione_Durata(int grado, double topP1, double topM1);

// "1 Giorno", "1 ora", "15 min.", "5 min." by the degree's timeframe; "" outside 0..12.
QString Testo_Time_Frame(int grado);
// "Standard" for exactly 1, otherwise one decimal with the regional decimal sign
// ("UE": a comma).
QString Testo_Prop_Battl(double proporzione, const QString &formatoLocale);

// What the tool frame shows for one degree.
struct ContenutoStrumenti {
    bool valido = false;  // false: degree outside 0..12, the tool frame keeps its values
    int Sld_Zoom = 0;
    int Sld_Compr = 0;
    QString Text_Prop_Battl;
    QString Text_Time_Frame;
    int Opt_Val_Indicatori = 0;  // the selected option, 0 or 1
    bool Chk_Ind_19_Visibile = true;
    std::array<int, 20> Chk_Ind_Adattivi{};
    std::array<QString, 2> Text_Val_Ind;
    QString Text_Dur;
    QString Cmb_Sottocicli;
    QString Cmb_Tempi;
    QString Text_Tend;
    std::array<std::uint32_t, 20> Lbl_Color_ind{};
};
ContenutoStrumenti Contenuto_Strumenti(const Stato &stato, int grado);

}  // namespace layout
