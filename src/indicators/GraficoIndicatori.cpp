// The switched-on indicators on a degree's chart: the averages on the price axes,
// then five panes (Y axes 3..7) for the oscillators and velocities, and the
// ranges of those panes taken from the bars of the current cycle.

#include "indicators/GraficoIndicatori.h"

#include "cycle/StatoCicli.h"
#include "indicators/ContestoIndicatori.h"
#include "indicators/StatoIndicatori.h"
#include "indicators/TabellaIndicatori.h"

#include <algorithm>
#include <initializer_list>

namespace {

constexpr double Marca = indicatori::Vuoto_Oscillatore;
constexpr ColoreWin Bianco = 0x00FFFFFF;

enum class Salta { Zero, Marca, ZeroOMarca };

bool attivo(const ContestoGrafico &c, const StatoIndicatori &o, int item)
{
    return o.Ind_Attivo[size_t(c.grado)][size_t(item)] == 1;
}

int barreCiclo(const ContestoGrafico &c) { return c.cicli.Barre_Ciclo[size_t(c.grado)]; }

// Cell of history bar h of the degree's row; false past the row.
bool cella(const ContestoGrafico &c, const ArrayIndicatore &array, int h, double &v)
{
    if (h < 1 || h > indicatori::Ultima_Cella)
        return false;
    v = array(c.grado, h);
    return true;
}

// Chart position x (1 = cycle start) reads bar Barre_Ciclo + 1 - x; a bar without
// a value adds no point and the line joins the next one.
void serie(ContestoGrafico &c, const ArrayIndicatore &array, int colore, int spessore, Salta salta)
{
    c.ctl.Nuova_Serie(QString());
    c.ctl.Stile_Serie(c.Colore(colore), spessore, 1);
    c.ctl.Tipo_Punto_Serie(0);
    const int bc = barreCiclo(c);
    for (int x = 1; x <= bc; ++x) {
        double y = 0.0;
        if (!cella(c, array, bc + 1 - x, y))
            continue;
        const bool vuoto = (salta != Salta::Marca && y == 0.0) || (salta != Salta::Zero && y == Marca);
        if (!vuoto)
            c.ctl.Aggiungi_Punto(double(x), y);
    }
}

void lineaZero(ContestoGrafico &c, int colore, double fine)
{
    c.ctl.Nuova_Serie(QString());
    c.ctl.Stile_Serie(c.Colore(colore), 1, 2);
    c.ctl.Tipo_Punto_Serie(0);
    c.ctl.Aggiungi_Punto(1.0, 0.0);
    c.ctl.Aggiungi_Punto(fine, 0.0);
}

struct Intervallo {
    double basso;
    double alto;
    void allarga(double v, bool basso_, bool alto_)
    {
        if (basso_ && v < basso)
            basso = v;
        if (alto_ && v > alto)
            alto = v;
    }
};

void scansiona(const ContestoGrafico &c, const ArrayIndicatore &array, Intervallo &r, bool basso, bool alto)
{
    const int bc = barreCiclo(c);
    for (int i = 1; i <= bc; ++i) {
        double v = 0.0;
        if (cella(c, array, bc + 1 - i, v) && v != Marca)
            r.allarga(v, basso, alto);
    }
}

void fissaIntervallo(ContestoGrafico &c, const Intervallo &r)
{
    c.ctl.Minimo_Asse(r.basso);
    c.ctl.Massimo_Asse(r.basso + 2.5 * (r.alto - r.basso));
}

void attributiRiquadro(ContestoGrafico &c)
{
    c.ctl.Colore_Asse(c.Colore(88));
    c.ctl.Griglia_Asse(false);
    c.ctl.Colore_Etichette_Asse(c.Colore(11));
    c.ctl.Colore_Griglia_Asse(Bianco);
    c.ctl.Font_Asse(QStringLiteral("Font=Arial|8|bold|"));
    c.ctl.Formato_Asse(QStringLiteral("0"));
    c.ctl.Scala_Fissa_Asse(1);
}

}  // namespace

void Disegna_Indicatori(ContestoGrafico &c, const StatoIndicatori &o)
{
    const double fineCiclo = double(barreCiclo(c));

    // Averages in price units, on the axes already current (X 2, Y 2).
    struct Media {
        int item;
        const ArrayIndicatore &array;
    };
    for (const Media &m : {Media{0, o.Ind_Media_C2}, Media{1, o.Ind_Media_C4}, Media{2, o.Ind_Media_C8},
                           Media{3, o.Ind_Media_C16}, Media{4, o.Ind_Media_Utente_1}, Media{5, o.Ind_Media_Utente_2},
                           Media{8, o.Ind_Centrata_C2}, Media{9, o.Ind_Centrata_C4}, Media{10, o.Ind_Centrata_C8},
                           Media{11, o.Ind_Centrata_C16}}) {
        if (attivo(c, o, m.item))
            serie(c, m.array, indicatori::Colore_Item(m.item), 1, Salta::Zero);
    }
    // Item 16 lives in price units too; a true 0 is not drawn either.
    if (attivo(c, o, 16))
        serie(c, o.Ind_Osc_C8_C2, indicatori::Colore_Item(16), 2, Salta::ZeroOMarca);

    // Five panes, their axes added whether or not anything is drawn on them.
    c.ctl.Aggiungi_Asse_Y(GraficoControllo::Prossimo_Asse);
    if (attivo(c, o, 6)) {
        lineaZero(c, 56, fineCiclo);
        serie(c, o.Ind_Stoc_Dist_Min, indicatori::Colore_Item(6), 1, Salta::Marca);
        serie(c, o.Ind_Stoc_Dist_Min_Media, indicatori::Colore_Item(6), 1, Salta::Marca);
        serie(c, o.Ind_Stoc_Dist_Max, 57, 1, Salta::Marca);
        serie(c, o.Ind_Stoc_Dist_Max_Media, 57, 1, Salta::Marca);
    }

    c.ctl.Aggiungi_Asse_Y(GraficoControllo::Prossimo_Asse);
    if (attivo(c, o, 7) || attivo(c, o, 17) || attivo(c, o, 18)) {
        lineaZero(c, 58, fineCiclo);
        if (attivo(c, o, 7)) {
            serie(c, o.Ind_Velocita_C2, indicatori::Colore_Item(7), 1, Salta::Marca);
            serie(c, o.Ind_Velocita_C2_Media, indicatori::Colore_Item(7), 1, Salta::Marca);
        }
        // Items 17 and 18 show only their smoothed rows.
        if (attivo(c, o, 17))
            serie(c, o.Ind_Velocita_C4_Media, indicatori::Colore_Item(17), 1, Salta::Marca);
        if (attivo(c, o, 18))
            serie(c, o.Ind_Velocita_C8_Media, indicatori::Colore_Item(18), 1, Salta::Marca);
    }

    c.ctl.Aggiungi_Asse_Y(GraficoControllo::Prossimo_Asse);
    if (attivo(c, o, 13) || attivo(c, o, 14) || attivo(c, o, 15)) {
        lineaZero(c, 66, fineCiclo);
        if (attivo(c, o, 13))
            serie(c, o.Ind_Osc_C4_C2, indicatori::Colore_Item(13), 1, Salta::Marca);
        if (attivo(c, o, 14))
            serie(c, o.Ind_Osc_C8_C4, indicatori::Colore_Item(14), 1, Salta::Marca);
        if (attivo(c, o, 15))
            serie(c, o.Ind_Osc_C16_C8, indicatori::Colore_Item(15), 1, Salta::Marca);
    }

    c.ctl.Aggiungi_Asse_Y(GraficoControllo::Prossimo_Asse);
    if (attivo(c, o, 12)) {
        lineaZero(c, 65, c.Estensione_Grafico);
        serie(c, o.Ind_Velocita_Centrata, indicatori::Colore_Item(12), 1, Salta::Marca);
        serie(c, o.Ind_Velocita_Centrata_Media, indicatori::Colore_Item(12), 1, Salta::Marca);
    }

    // The volume pane keeps its zero line; no computation feeds a volume series
    // into it (the profile itself is drawn on the price axis).
    c.ctl.Aggiungi_Asse_Y(GraficoControllo::Prossimo_Asse);
    if (attivo(c, o, 19))
        lineaZero(c, 65, c.Estensione_Grafico);
}

void Imposta_Assi_Indicatori(ContestoGrafico &c, const StatoIndicatori &o)
{
    // The ranges put each pane's curve in the lowest 40 % of the plot.
    c.ctl.Seleziona_Asse_Y(3);
    c.ctl.Colore_Asse(c.Colore(88));
    c.ctl.Scala_Fissa_Asse(1);
    Intervallo r{10000000.0, -1000000.0};
    scansiona(c, o.Ind_Stoc_Dist_Min, r, false, true);
    scansiona(c, o.Ind_Stoc_Dist_Max, r, true, false);
    fissaIntervallo(c, r);

    c.ctl.Seleziona_Asse_Y(4);
    attributiRiquadro(c);
    r = {10000000.0, -10000000.0};
    // The range follows the raw velocities, also where only the smoothed one is drawn.
    if (attivo(c, o, 7))
        scansiona(c, o.Ind_Velocita_C2, r, true, true);
    if (attivo(c, o, 17))
        scansiona(c, o.Ind_Velocita_C4, r, true, true);
    if (attivo(c, o, 18))
        scansiona(c, o.Ind_Velocita_C8, r, true, true);
    fissaIntervallo(c, r);

    c.ctl.Seleziona_Asse_Y(5);
    attributiRiquadro(c);
    r = {10000000.0, -1000000.0};
    if (attivo(c, o, 13))
        scansiona(c, o.Ind_Osc_C4_C2, r, true, true);
    if (attivo(c, o, 14))
        scansiona(c, o.Ind_Osc_C8_C4, r, true, true);
    if (attivo(c, o, 15))
        scansiona(c, o.Ind_Osc_C16_C8, r, true, true);
    fissaIntervallo(c, r);

    c.ctl.Seleziona_Asse_Y(6);
    attributiRiquadro(c);
    r = {10000000.0, -1000000.0};
    scansiona(c, o.Ind_Velocita_Centrata, r, true, true);
    fissaIntervallo(c, r);

    // The volume pane reads a series nothing fills: every bar of the cycle counts as 0.
    c.ctl.Seleziona_Asse_Y(7);
    attributiRiquadro(c);
    r = {10000000.0, -1000000.0};
    if (barreCiclo(c) >= 1)
        r.allarga(0.0, true, true);
    fissaIntervallo(c, r);
}
