#include "shell/LayoutGrafici.h"

#include "platform/VbRuntime.h"

#include <algorithm>

namespace layout {

namespace {

double NonNegativo(double x) { return std::max(0.0, x); }

bool Ue(const QString &formatoLocale) { return formatoLocale == QLatin1String("UE"); }

}  // namespace

Rettangolo Layout_Senza_Storico(double W, double H, const Rettangolo &frmDatiSot)
{
    Rettangolo r;
    r.Top = 100;
    r.Left = frmDatiSot.Left + 80 + frmDatiSot.Width;
    r.Height = NonNegativo(H - 750);
    r.Width = NonNegativo(W - 350 - r.Left);
    return r;
}

Rettangolo Layout_Con_Storico(double H, const Rettangolo &frmDatiSot, const Rettangolo &frmStorico)
{
    Rettangolo r;
    r.Top = 100;
    r.Left = frmDatiSot.Left + 80 + frmDatiSot.Width;
    r.Height = NonNegativo(H - 750);
    r.Width = NonNegativo(frmStorico.Left - r.Left - 100);
    return r;
}

LayoutStorico Layout_Storico(double W, double H, double topBattleplan, const QString &formatoLocale, int tab)
{
    const bool ue = Ue(formatoLocale);
    LayoutStorico l;
    l.Frm_Storico.Height = NonNegativo(H - 750);
    l.Frm_Storico.Width = ue ? 2800 : 2850;
    l.Frm_Storico.Top = topBattleplan;
    l.Frm_Storico.Left = W - 250 - l.Frm_Storico.Width;
    if (tab < 0 || tab > 3)
        return l;
    l.tab_valida = true;
    l.TabPage.Top = 300;
    l.TabPage.Left = ue ? 100 : 200;
    l.TabPage.Height = NonNegativo(l.Frm_Storico.Height - 200 - l.TabPage.Top);
    l.TabPage.Width = ue ? 2570 : 2650;
    l.Griglia.Top = 350;
    l.Griglia.Left = 10;
    l.Griglia.Height = NonNegativo(l.TabPage.Height - 350);
    l.Griglia.Width = NonNegativo(l.TabPage.Width - 10);
    l.Colonne = ue ? std::array<double, 3>{830, 630, 830} : std::array<double, 3>{800, 800, 800};
    return l;
}

std::array<int, 3> Colonne_Storico_Nello_Spazio(std::array<int, 3> larghezze, const std::array<int, 3> &testi,
                                                int spazio)
{
    int eccesso = larghezze[0] + larghezze[1] + larghezze[2] - spazio;
    // Times and dates have fixed forms; the close keeps its room for the widest prices.
    for (size_t c : {size_t(1), size_t(0), size_t(2)}) {
        const int tolto = std::clamp(larghezze[c] - testi[c], 0, std::max(0, eccesso));
        larghezze[c] -= tolto;
        eccesso -= tolto;
    }
    return larghezze;
}

LayoutRidotto Layout_Ridotto(double frameH, double frameW, const std::array<SlotGrafico, 4> &confGrafici,
                             const MisureRiquadro &misure)
{
    LayoutRidotto l;
    const int H = std::max(0, vb::CInt((frameH - 250 - 100 - 100) / 2));
    const int W = std::max(0, vb::CInt((frameW - 100 - 100 - 100) / 2));
    l.Altezza_Riquadro = H;
    l.Larghezza_Riquadro = W;
    l.Top_Riquadri = {250, 250, 350 + H, 350 + H};
    l.Left_Riquadri = {100, 200 + W, 100, 200 + W};

    static constexpr std::array<double, 5> leftPulsanti{300, 650, 1000, 1350, 1700};
    for (size_t s = 0; s < 4; ++s) {
        LayoutPannello &p = l.Pannelli[s];
        const SlotGrafico &slot = confGrafici[s];
        p.in_uso = slot.in_uso == 1;
        const int pos = slot.posizione >= 0 && slot.posizione <= 3 ? slot.posizione : int(s);
        p.Frm_Graf = {double(l.Left_Riquadri[size_t(pos)]), double(l.Top_Riquadri[size_t(pos)]), double(W), double(H)};

        p.Lbl_In_Caricamento = {(W - misure.Larghezza_Etichetta) / 2, (H - misure.Altezza_Etichetta) / 2,
                                misure.Larghezza_Etichetta, misure.Altezza_Etichetta};
        for (size_t b = 0; b < 5; ++b)
            p.Pulsanti[b] = {leftPulsanti[b], 100, misure.Lato_Pulsante, misure.Lato_Pulsante};
        p.Led_Agg_Storico_RT = {W - 100 - misure.Larghezza_Led, 100, misure.Larghezza_Led, misure.Larghezza_Led};
        p.Hsc_Graf = {100, (H - 100) - misure.Altezza_Hsc, NonNegativo(W - 200), misure.Altezza_Hsc};
        p.Hsc_Graf_Y = {W - 100 - misure.Larghezza_Hsc_Y, 500, misure.Larghezza_Hsc_Y, NonNegativo(H - 900.0)};
        p.Pic_Graf = {0, 0, double(W), double(H)};
        p.Graf_Battleplan = {-30, -30, p.Pic_Graf.Width + 500, p.Pic_Graf.Height + 280};
        p.Vista = Vista_Grafico(p.Pic_Graf, p.Graf_Battleplan, p.Pulsanti, p.Led_Agg_Storico_RT, p.Hsc_Graf,
                                p.Hsc_Graf_Y);
    }
    return l;
}

VistaGrafico Vista_Grafico(const Rettangolo &pic, const Rettangolo &graf, const std::array<Rettangolo, 5> &pulsanti,
                           const Rettangolo &led, const Rettangolo &hsc, const Rettangolo &hscY)
{
    // The chart and what the picture box shows of it, in the panel's coordinates.
    const double left = pic.Left + graf.Left, top = pic.Top + graf.Top;
    const double right = left + graf.Width, bottom = top + graf.Height;
    const double leftVista = std::max(left, pic.Left), topVista = std::max(top, pic.Top);
    const double rightVista = std::min(right, pic.Left + pic.Width);
    const double bottomVista = std::min(bottom, pic.Top + pic.Height);

    double fondoStriscia = led.Top + led.Height, fineTasti = 0;
    for (const Rettangolo &b : pulsanti) {
        fondoStriscia = std::max(fondoStriscia, b.Top + b.Height);
        fineTasti = std::max(fineTasti, b.Left + b.Width);
    }
    VistaGrafico v;
    v.Coperta = {NonNegativo(leftVista - left), NonNegativo(std::max(topVista, fondoStriscia) - top),
                 NonNegativo(right - std::min(rightVista, hscY.Left)), NonNegativo(bottom - std::min(bottomVista, hsc.Top))};
    v.Testata = {NonNegativo(std::max(leftVista, fineTasti) - left), NonNegativo(topVista - top),
                 NonNegativo(right - std::min(rightVista, led.Left)), 0};
    return v;
}

AzioneResize Azione_Resize(bool bloccoGrafici, bool minimizzata, double W, double H)
{
    if (bloccoGrafici || minimizzata)
        return AzioneResize::Nessuna;
    if (W < Larghezza_Minima || H < Altezza_Minima)
        return AzioneResize::Correggi;
    return AzioneResize::Ridisponi;
}

}  // namespace layout
