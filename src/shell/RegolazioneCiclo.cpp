#include "shell/RegolazioneCiclo.h"

#include "Stato.h"
#include "cycle/Battleplan.h"
#include "cycle/ControlliGrafici.h"
#include "cycle/DurataTesto.h"
#include "cycle/ModelloCiclo.h"
#include "cycle/SalvaParametro.h"
#include "cycle/TempiFuturi.h"
#include "drawing/OggettiGrafici.h"
#include "platform/VbRuntime.h"
#include "shell/LayoutGrande.h"

#include <QScopedValueRollback>
#include <cmath>

namespace regolazione {

namespace {

double UnDecimale(double x) { return std::round(x * 10) / 10; }

}  // namespace

std::optional<double> Durata_Passo(PassoDurata passo, int grado, double D, double minimo, double massimo,
                                   bool primoSottostante, int barre15MGiorno)
{
    if (grado < 0 || grado > costanti::Max_Grado)
        return std::nullopt;
    const bool giornaliero = grado <= 3, orario = grado >= 4 && grado <= 5, quindici = grado >= 6 && grado <= 9;
    const double orarioPiccolo = primoSottostante ? 9 : 14;
    const double orarioGrande = primoSottostante ? 90 : 140;
    double x = D;
    switch (passo) {
    case PassoDurata::M1:
        if (!(D > minimo))
            return std::nullopt;
        return D - 1;
    case PassoDurata::P1:
        if (!(D < massimo))
            return std::nullopt;
        return D + 1;
    case PassoDurata::M2:
        x = giornaliero ? vb::Int(D - 10) : orario ? D - orarioPiccolo : quindici ? vb::Int(D - 4) : vb::Int(D - 12);
        break;
    case PassoDurata::M3:
        if (!giornaliero && !orario && !quindici)
            return std::nullopt;
        x = giornaliero ? vb::Int(D - 50) : orario ? D - orarioGrande : D - barre15MGiorno;
        break;
    case PassoDurata::P2:
        x = giornaliero ? vb::Int(D + 10) : orario ? D + orarioPiccolo : quindici ? D + 4 : vb::Int(D + 12);
        break;
    case PassoDurata::P3:
        if (!giornaliero && !orario && !quindici)
            return std::nullopt;
        x = giornaliero ? vb::Int(D + 50) : orario ? D + orarioGrande : D + barre15MGiorno;
        break;
    }
    const bool minore = passo == PassoDurata::M2 || passo == PassoDurata::M3;
    if (minore)
        return x <= minimo ? minimo : x;
    return x < massimo ? x : massimo;
}

std::optional<double> Prop_Passo(double p, int passo)
{
    if (passo < 0) {
        if (!(p > 1.0))
            return std::nullopt;
        const double q = UnDecimale(p - 0.1);
        return q < 1.1 ? 1.0 : q;
    }
    if (!(p < Max_Prop))
        return std::nullopt;
    return std::min(UnDecimale(p + 0.1), Max_Prop);
}

QString Testo_Combo_Valido(const QString &testo, int attuale, int massimo)
{
    const std::optional<double> n = vb::LeggiNumero(testo);
    if (!n || *n < 1 || *n > massimo)
        return QString::number(attuale);
    return testo;
}

}  // namespace regolazione

using namespace regolazione;

int RegolazioneCiclo::Grado() const
{
    const StatoCicli &c = m_stato.cicli;
    if (c.Grafico_Corrente < 0 || c.Grafico_Corrente >= costanti::Num_Slot)
        return -1;
    return c.Grado_Corrente >= 0 && c.Grado_Corrente <= costanti::Max_Grado ? c.Grado_Corrente : -1;
}

bool RegolazioneCiclo::Salva(archivio::Codice_Modifica codice, int grado, QString &errore)
{
    return ciclo::Salva_Parametro(m_stato.shell, m_stato.archivio, m_stato.cicli, codice, grado, &errore);
}

void RegolazioneCiclo::Ridisegna(int grado)
{
    for (int s = 0; s < costanti::Num_Slot; ++s) {
        const SlotGrafico &slot = m_stato.cicli.Conf_Grafici[size_t(s)];
        if (slot.in_uso == 1 && slot.grado == grado)
            m_ambiente.Disegna_Grafico(s, grado);
    }
}

template <typename T>
void RegolazioneCiclo::Applica(T &valore, T nuovo, archivio::Codice_Modifica codice, int grado)
{
    const T prima = valore;
    valore = nuovo;
    if (QString errore; !Salva(codice, grado, errore)) {
        valore = prima;
        m_ambiente.Mostra_Errore(errore);  // after the value is back: the controls show it
        return;
    }
    ciclo::Calcola_Battleplan(m_stato.cicli, grado);
    Ridisegna(grado);
}

// ---------------------------------------------------------------- proportion, trend

void RegolazioneCiclo::Cmd_Prop_Battl_M1_Click()
{
    const int d = Grado();
    if (d < 0)
        return;
    double &p = m_stato.cicli.Prop_Battleplan[size_t(d)];
    const std::optional<double> nuova = Prop_Passo(p, -1);
    if (!nuova)
        return;
    Applica(p, *nuova, archivio::Codice_Modifica::Prop_Battleplan, d);
    m_ambiente.Mostra_Prop_Battl(layout::Testo_Prop_Battl(p, m_stato.shell.Formato_Locale));
}

void RegolazioneCiclo::Cmd_Prop_Battl_P1_Click()
{
    const int d = Grado();
    if (d < 0)
        return;
    double &p = m_stato.cicli.Prop_Battleplan[size_t(d)];
    const std::optional<double> nuova = Prop_Passo(p, +1);
    if (!nuova)
        return;
    Applica(p, *nuova, archivio::Codice_Modifica::Prop_Battleplan, d);
    m_ambiente.Mostra_Prop_Battl(layout::Testo_Prop_Battl(p, m_stato.shell.Formato_Locale));
}

void RegolazioneCiclo::Text_Prop_Battl_DblClick()
{
    const int d = Grado();
    if (d < 0)
        return;
    m_ambiente.Fuoco_Grafico(m_stato.cicli.Grafico_Corrente);
    double &p = m_stato.cicli.Prop_Battleplan[size_t(d)];
    Applica(p, 1.0, archivio::Codice_Modifica::Prop_Battleplan, d);
    m_ambiente.Mostra_Prop_Battl(layout::Testo_Prop_Battl(p, m_stato.shell.Formato_Locale));
}

void RegolazioneCiclo::Cmd_Tend_M_Click()
{
    const int d = Grado();
    if (d < 0)
        return;
    double &t = m_stato.cicli.Tendenza[size_t(d)];
    if (!(t > Min_Tendenza))
        return;
    Applica(t, std::max(t - 1, Min_Tendenza), archivio::Codice_Modifica::Tendenza, d);
    m_ambiente.Mostra_Tend(vb::CStr(t));
}

void RegolazioneCiclo::Cmd_Tend_P_Click()
{
    const int d = Grado();
    if (d < 0)
        return;
    double &t = m_stato.cicli.Tendenza[size_t(d)];
    if (!(t < Max_Tendenza))
        return;
    Applica(t, std::min(t + 1, Max_Tendenza), archivio::Codice_Modifica::Tendenza, d);
    m_ambiente.Mostra_Tend(vb::CStr(t));
}

void RegolazioneCiclo::Text_Tend_DblClick()
{
    const int d = Grado();
    if (d < 0)
        return;
    m_ambiente.Fuoco_Grafico(m_stato.cicli.Grafico_Corrente);
    double &t = m_stato.cicli.Tendenza[size_t(d)];
    Applica(t, 0.0, archivio::Codice_Modifica::Tendenza, d);
    m_ambiente.Mostra_Tend(vb::CStr(t));
}

// ---------------------------------------------------------------- sub-cycles, "Tempi"

namespace {

// An entry of a list 1..massimo, as the list writes it; nullopt for anything else.
std::optional<int> Voce(const QString &testo, int massimo)
{
    const std::optional<double> n = vb::LeggiNumero(testo);
    if (!n)
        return std::nullopt;
    const std::optional<int> v = vb::CIntChecked(*n);
    if (!v || *v < 1 || *v > massimo)
        return std::nullopt;
    return v;
}

}  // namespace

void RegolazioneCiclo::Cmb_Sottocicli_Click(const QString &testo)
{
    const int d = Grado();
    const std::optional<int> v = Voce(testo, Max_Sottocicli);
    if (d < 0 || !v)
        return;
    Applica(m_stato.cicli.Sottocicli[size_t(d)], *v, archivio::Codice_Modifica::Sottocicli, d);
}

void RegolazioneCiclo::Cmb_Tempi_Click(const QString &testo)
{
    const int d = Grado();
    const std::optional<int> v = Voce(testo, Max_Tempi);
    if (d < 0 || !v)
        return;
    Applica(m_stato.cicli.Tempi[size_t(d)], *v, archivio::Codice_Modifica::Tempi, d);
}

QString RegolazioneCiclo::Cmb_Sottocicli_Change(const QString &testo) const
{
    const int d = Grado();
    if (m_stato.shell.Blocco_Grafici || d < 0)
        return testo;
    return Testo_Combo_Valido(testo, m_stato.cicli.Sottocicli[size_t(d)], Max_Sottocicli);
}

QString RegolazioneCiclo::Cmb_Tempi_Change(const QString &testo) const
{
    const int d = Grado();
    if (m_stato.shell.Blocco_Grafici || d < 0)
        return testo;
    return Testo_Combo_Valido(testo, m_stato.cicli.Tempi[size_t(d)], Max_Tempi);
}

// ---------------------------------------------------------------- duration

void RegolazioneCiclo::Cmd_Dur_Click(PassoDurata passo)
{
    const int d = Grado();
    if (d < 0)
        return;
    StatoCicli &c = m_stato.cicli;
    const size_t g = size_t(d);
    const std::optional<double> x =
        Durata_Passo(passo, d, c.Durata[g], c.Durata_Minima[g], c.Barre_Calcolo[g],
                     m_stato.archivio.Sottostante_Corrente == 1, c.Barre_15M_Giorno);
    if (!x)
        return;
    const double prima = c.Durata[g];
    c.Durata[g] = *x;
    Applica_Durata(d, passo == PassoDurata::M1 || passo == PassoDurata::M2 || passo == PassoDurata::M3, prima);
}

void RegolazioneCiclo::Text_Dur_Reimposta()
{
    const int d = Grado();
    if (d < 0)
        return;
    StatoCicli &c = m_stato.cicli;
    m_ambiente.Fuoco_Grafico(c.Grafico_Corrente);
    if (c.Durata[size_t(d)] == c.Durata_Standard[size_t(d)])
        return;
    const double prima = c.Durata[size_t(d)];
    c.Durata[size_t(d)] = c.Durata_Standard[size_t(d)];
    Applica_Durata(d, true, prima);
}

// A longer duration only widens the scroll bar's range. A shorter one (or the standard one)
// may leave the cycle start beyond the chart's range: the start and the drawing objects move
// with the scroll bar, and the new start is saved with the duration. A refused save puts
// the duration, the scroll bar, the start and the objects back as they were.
void RegolazioneCiclo::Applica_Durata(int grado, bool minore, double prima)
{
    StatoCicli &c = m_stato.cicli;
    const size_t g = size_t(grado);
    m_ambiente.Mostra_Dur(ciclo::Converti_Durata_Testo(c, m_stato.archivio, grado, vb::CInt(c.Durata[g])));
    BarraScorrimento *hsc = m_ambiente.Controlli().Hsc_Graf(c.Grafico_Corrente);
    const int barrePrima = c.Barre_Ciclo[g];
    const int valorePrima = hsc ? hsc->Valore() : 0;
    const int massimoPrima = hsc ? hsc->Max() : 0;
    const std::optional<int> estensione = vb::CIntChecked(c.Scostamento_Ciclo[g] + c.Durata[g]);
    if (hsc && estensione) {
        {
            const QScopedValueRollback<bool> blocco(m_stato.shell.Blocco_Aggiornamento, true);
            const bool al_massimo = hsc->Valore() == hsc->Max();
            // Both orders of the two writes end with value and maximum equal.
            hsc->Imposta_Max(*estensione);
            if (minore && (al_massimo || !hsc->Contiene(hsc->Valore())))
                hsc->Imposta_Valore(*estensione);
        }
        if (minore) {
            disegno::Sposta_Disegni_AsseX(m_stato.shell, c, m_stato.disegno, m_ambiente.Controlli());
            c.Barre_Ciclo[g] = hsc->Valore();
        }
    }
    if (minore)
        ciclo::Calcola_Data_Inizio_Ciclo(c, m_stato.mercato, grado);
    // One report for the pair: the duration is not tried once the archive refused the start.
    QString errore;
    const bool inizio = !minore || Salva(archivio::Codice_Modifica::Inizio_Ciclo, grado, errore);
    if (!inizio || !Salva(archivio::Codice_Modifica::Durata, grado, errore)) {
        c.Durata[g] = prima;
        if (hsc) {
            {
                const QScopedValueRollback<bool> blocco(m_stato.shell.Blocco_Aggiornamento, true);
                hsc->Imposta_Max(massimoPrima);
                hsc->Imposta_Valore(valorePrima);
            }
            if (minore)
                disegno::Sposta_Disegni_AsseX(m_stato.shell, c, m_stato.disegno, m_ambiente.Controlli());
        }
        c.Barre_Ciclo[g] = barrePrima;
        if (minore) {
            ciclo::Calcola_Data_Inizio_Ciclo(c, m_stato.mercato, grado);
            // A start the archive took is written back to the one restored.
            QString ignorato;
            if (inizio)
                (void)Salva(archivio::Codice_Modifica::Inizio_Ciclo, grado, ignorato);
        }
        m_ambiente.Mostra_Errore(errore);
    }
    Ricalcola_Durata(grado);
}

void RegolazioneCiclo::Ricalcola_Durata(int grado)
{
    StatoCicli &c = m_stato.cicli;
    m_ambiente.Aggiorna_Etichette_Gradi();
    ciclo::Calcola_Tempi_Futuri_Grado(c, m_stato.mercato, grado);
    ciclo::Calcola_Battleplan(c, grado);
    // Adaptive indicators follow the duration: one recomputation after a run of
    // clicks, which also redraws; until then the chart keeps its picture.
    m_ambiente.Ferma_Timer_Indicatori();
    if (m_stato.indicatori.Modo_Adattivo[size_t(grado)] == 1)
        m_ambiente.Arma_Timer_Indicatori();
    else
        Ridisegna(grado);
}
