#pragma once

// Geometry of the working window in twips, computed apart from the widgets: the
// chart frame with and without the history panel, the history panel itself, the
// four-chart grid and the resize rule. Positions are relative to the container,
// sizes never negative.

#include "cycle/StatoCicli.h"

#include <QString>
#include <array>

struct Rettangolo {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
    bool operator==(const Rettangolo &) const = default;
};

// Insets from the four edges of a control.
struct Margini {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    bool operator==(const Margini &) const = default;
};

namespace layout {

// The smallest window (outer size) that shows every control whole: as wide as
// the objects panel reaches (left 1000 + width 17100), as high as the one-chart
// layout's lower slider reaches (LayoutGrande.h) above the frame's 750 margin.
inline constexpr double Larghezza_Minima = 18100;
inline constexpr double Altezza_Minima = 10960;

// Chart frame Frm_Battleplan without the history panel (W, H: outer window size).
Rettangolo Layout_Senza_Storico(double W, double H, const Rettangolo &frmDatiSot);
// Chart frame beside the history panel, which must already be placed.
Rettangolo Layout_Con_Storico(double H, const Rettangolo &frmDatiSot, const Rettangolo &frmStorico);

struct LayoutStorico {
    Rettangolo Frm_Storico;
    bool tab_valida = false;  // false: tab control and grids keep their geometry
    Rettangolo TabPage;
    Rettangolo Griglia;       // relative to the tab control
    std::array<double, 3> Colonne{};  // widths of data columns 1, 2, 3
};
LayoutStorico Layout_Storico(double W, double H, double topBattleplan, const QString &formatoLocale, int tab);
// The three data columns of a history grid (pixels) narrowed to lie together within
// `spazio`, the view beside the vertical scroll bar: the time, then the date, then
// the close column gives up what its texts (`testi`, the width each needs) leave
// free. What the texts need beyond `spazio` stays, and the grid scrolls sideways.
std::array<int, 3> Colonne_Storico_Nello_Spazio(std::array<int, 3> larghezze, const std::array<int, 3> &testi,
                                                int spazio);

// Sizes of the per-panel controls that come from the form's design.
struct MisureRiquadro {
    double Altezza_Etichetta = 300, Larghezza_Etichetta = 2000;  // Lbl_In_Caricamento
    double Larghezza_Led = 150;                                  // Led_Agg_Storico_RT
    double Altezza_Hsc = 255;                                    // Hsc_Graf
    double Larghezza_Hsc_Y = 255;                                // Hsc_Graf_Y
    double Lato_Pulsante = 300;                                  // the five panel buttons
};

// What of a panel's chart stays in sight, as insets from the chart's edges. The
// picture box clips the chart, the buttons and the lamp cover a strip along its
// top, the scroll bars its bottom and its right: Coperta is all of that. The
// title may use the top strip between the last button and the lamp: Testata's
// Left, Top and Right (the strip ends where Coperta's top begins).
struct VistaGrafico {
    Margini Coperta;
    Margini Testata;
    bool operator==(const VistaGrafico &) const = default;
};
// pic relative to the panel, graf relative to pic, the rest relative to the panel;
// the buttons at the left of the top strip, the lamp at its right.
VistaGrafico Vista_Grafico(const Rettangolo &pic, const Rettangolo &graf, const std::array<Rettangolo, 5> &pulsanti,
                           const Rettangolo &led, const Rettangolo &hsc, const Rettangolo &hscY);

struct LayoutPannello {
    Rettangolo Frm_Graf;
    Rettangolo Lbl_In_Caricamento;  // Width/Height as designed
    std::array<Rettangolo, 5> Pulsanti;  // Cmd_Foto, Cmd_Sposta, Cmd_GRaf_P, Cmd_GRaf_M, Cmd_Coord
    Rettangolo Led_Agg_Storico_RT;
    Rettangolo Hsc_Graf;
    Rettangolo Hsc_Graf_Y;
    Rettangolo Pic_Graf;
    Rettangolo Graf_Battleplan;     // relative to Pic_Graf, overhanging it
    VistaGrafico Vista;             // of Graf_Battleplan
    bool in_uso = false;
};

struct LayoutRidotto {
    int Altezza_Riquadro = 0;
    int Larghezza_Riquadro = 0;
    std::array<int, 4> Top_Riquadri{};
    std::array<int, 4> Left_Riquadri{};
    std::array<LayoutPannello, 4> Pannelli;
};
// frameH, frameW: the chart frame's current size. A stored grid position outside
// 0..3 takes the slot's own number.
LayoutRidotto Layout_Ridotto(double frameH, double frameW, const std::array<SlotGrafico, 4> &confGrafici,
                             const MisureRiquadro &misure = {});

enum class AzioneResize {
    Nessuna,     // busy, or minimized: lay out nothing
    Correggi,    // below the minimum: set back to Larghezza_Minima x Altezza_Minima
    Ridisponi,   // lay out the chart area at the current size
};
AzioneResize Azione_Resize(bool bloccoGrafici, bool minimizzata, double W, double H);

}  // namespace layout
