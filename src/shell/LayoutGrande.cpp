#include "shell/LayoutGrande.h"

#include "Stato.h"
#include "cycle/DurataTesto.h"
#include "indicators/TabellaIndicatori.h"
#include "platform/VbRuntime.h"

#include <QMetaType>
#include <algorithm>
#include <limits>

namespace layout {

namespace {

double NonNegativo(double x) { return std::max(0.0, x); }

bool GradoValido(int grado) { return grado >= 0 && grado <= costanti::Max_Grado; }

// A stored period is a number or a text; numbers read as the runtime writes them.
QString TestoVariante(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return vb::CStr(v.toDouble());
    default:
        return v.toString();
    }
}

}  // namespace

LayoutGrande Layout_Grande(int grafico, double frameH, double frameW, const Rettangolo &strumenti,
                           const std::array<Rettangolo, 4> &pannelli,
                           const std::array<SlotGrafico, 4> &confGrafici, const MisureRiquadro &misure)
{
    LayoutGrande l;
    if (grafico < 0 || grafico > 3)
        return l;
    l.valido = true;
    l.grafico = grafico;
    l.Frm_Strumenti = {100, 200, NonNegativo(strumenti.Width), NonNegativo(strumenti.Height)};

    Rettangolo &p = l.Frm_Graf;
    p.Top = l.Frm_Strumenti.Top + 100;
    p.Left = l.Frm_Strumenti.Left + l.Frm_Strumenti.Width + 100;
    p.Height = NonNegativo(frameH - 400);
    p.Width = NonNegativo(frameW - 100 - p.Left);

    static constexpr std::array<double, 5> leftPulsanti{600, 1000, 1400, 1800, 2200};
    for (size_t b = 0; b < 5; ++b)
        l.Pulsanti[b] = {leftPulsanti[b], 100, misure.Lato_Pulsante, misure.Lato_Pulsante};
    // Moving or enlarging the panel again makes no sense while it is the only one.
    l.Pulsanti_Abilitati = {true, false, false, true, true};

    l.Led_Agg_Storico_RT = {p.Width - 100 - misure.Larghezza_Led, 100, misure.Larghezza_Led, misure.Larghezza_Led};
    l.Hsc_Graf = {100, p.Height - 100 - misure.Altezza_Hsc, NonNegativo(p.Width - 200), misure.Altezza_Hsc};

    for (size_t s = 0; s < 4; ++s) {
        const Rettangolo &pannello = int(s) == grafico ? p : pannelli[s];
        l.Hsc_Graf_Y[s] = {pannello.Width - 100 - misure.Larghezza_Hsc_Y, 500, misure.Larghezza_Hsc_Y,
                           NonNegativo(pannello.Height - 900)};
        l.Hsc_Graf_Y_Visibile[s] = confGrafici[s].in_uso == 1;
        l.Pic_Graf[s] = {0, 0, NonNegativo(pannello.Width), NonNegativo(pannello.Height)};
    }
    const Rettangolo &pic = l.Pic_Graf[size_t(grafico)];
    l.Graf_Battleplan = {-30, -30, pic.Width + 500, pic.Height + 280};
    l.Vista = Vista_Grafico(pic, l.Graf_Battleplan, l.Pulsanti, l.Led_Agg_Storico_RT, l.Hsc_Graf,
                            l.Hsc_Graf_Y[size_t(grafico)]);
    return l;
}

DisposizioneDurata Disposizione_Durata(int grado, double topP1, double topM1)
{
    DisposizioneDurata d;
    if (grado >= 6 && grado <= 9) {
        d.invariata = false;
        d.terzi_visibili = true;
        d.Top_P2 = topP1 - 155;
        d.Top_M2 = topM1 - 155;
        d.Top_P3 = topP1 + 170;
        d.Top_M3 = topM1 + 170;
    } else if (grado >= 10 && grado <= 12) {
        d.invariata = false;
        d.terzi_visibili = false;
        d.Top_P2 = topP1;
        d.Top_M2 = topM1;
    }
    return d;
}

QString Testo_Time_Frame(int grado)
{
    if (grado >= 0 && grado <= 3)
        return QStringLiteral("1 Giorno");
    if (grado >= 4 && grado <= 5)
        return QStringLiteral("1 ora");
    if (grado >= 6 && grado <= 9)
        return QStringLiteral("15 min.");
    if (grado >= 10 && grado <= 12)
        return QStringLiteral("5 min.");
    return {};
}

QString Testo_Prop_Battl(double proporzione, const QString &formatoLocale)
{
    if (proporzione == 1.0)
        return QStringLiteral("Standard");
    const bool ue = formatoLocale == QLatin1String("UE");
    return vb::Format(proporzione, QStringLiteral("0.0"), ue ? QLatin1Char(',') : QLatin1Char('.'));
}

ContenutoStrumenti Contenuto_Strumenti(const Stato &stato, int grado)
{
    ContenutoStrumenti c;
    if (!GradoValido(grado))
        return c;
    c.valido = true;
    const size_t d = size_t(grado);
    const StatoCicli &cicli = stato.cicli;
    const StatoIndicatori &ind = stato.indicatori;

    const long long zoom = vb::CLng(cicli.Zoom[d]);
    c.Sld_Zoom = int(std::clamp<long long>(zoom, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    c.Sld_Compr = cicli.Compressione[d];
    c.Text_Prop_Battl = Testo_Prop_Battl(cicli.Prop_Battleplan[d], stato.shell.Formato_Locale);
    c.Text_Time_Frame = Testo_Time_Frame(grado);
    c.Opt_Val_Indicatori = ind.Modo_Adattivo[d] == 1 ? 1 : 0;
    // The volume indicator has no data on the daily degrees of underlying 5.
    c.Chk_Ind_19_Visibile = !(stato.archivio.Sottostante_Corrente == 5 && grado <= 3);
    for (size_t k = 0; k < c.Chk_Ind_Adattivi.size(); ++k)
        c.Chk_Ind_Adattivi[k] = ind.Ind_Attivo[d][k] == 1 ? 1 : 0;
    c.Text_Val_Ind = {TestoVariante(ind.Periodo_Utente_1[d]), TestoVariante(ind.Periodo_Utente_2[d])};
    c.Text_Dur = ciclo::Converti_Durata_Testo(cicli, stato.archivio, grado, vb::CInt(cicli.Durata[d]));
    c.Cmb_Sottocicli = QString::number(cicli.Sottocicli[d]);
    c.Cmb_Tempi = QString::number(cicli.Tempi[d]);
    c.Text_Tend = vb::CStr(cicli.Tendenza[d]);

    // Each swatch in the colour its item is drawn in.
    for (int k = 0; k < indicatori::Num_Item; ++k)
        c.Lbl_Color_ind[size_t(k)] = cicli.Colori[size_t(indicatori::Colore_Item(k))];
    return c;
}

}  // namespace layout
