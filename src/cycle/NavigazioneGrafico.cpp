#include "cycle/NavigazioneGrafico.h"

#include "archive/StatoArchivio.h"
#include "cycle/Battleplan.h"
#include "cycle/ControlliGrafici.h"
#include "cycle/ModelloCiclo.h"
#include "cycle/SalvaParametro.h"
#include "cycle/StatoCicli.h"
#include "cycle/TempiFuturi.h"
#include "platform/StatoProgramma.h"
#include "platform/VbRuntime.h"

#include <QScopedValueRollback>

#include <algorithm>

namespace {

// Only the daily degrees take long enough to recompute to deserve the banner.
constexpr int Ultimo_Grado_Banner = 2;

// The change handlers ignore the echo while the flag is set; the previous value
// comes back afterwards so that a caller already holding it keeps its protection.
using BloccoAggiornamento = QScopedValueRollback<bool>;

struct Estremi {
    int minimo = 0;
    int massimo = 10;
};

// The sliders range over 0..10 when the window has none to ask.
Estremi EstremiSlider(const BarraScorrimento *s)
{
    if (!s)
        return {};
    return {std::min(s->Min(), s->Max()), s->Estremo_Alto()};
}

bool SlotValido(int slot) { return slot >= 0 && slot < costanti::Num_Slot; }
bool GradoValido(int grado) { return grado >= 0 && grado <= costanti::Max_Grado; }

}  // namespace

bool NavigazioneGrafico::Bloccato() const
{
    return m_programma.Blocco_Grafici || m_programma.Blocco_Aggiornamento;
}

int NavigazioneGrafico::Grado_Slot(int slot) const
{
    if (!SlotValido(slot))
        return -1;
    const int grado = m_cicli.Conf_Grafici[size_t(slot)].grado;
    return GradoValido(grado) ? grado : -1;
}

int NavigazioneGrafico::Grado_Corrente_Valido() const
{
    const int grado = m_cicli.Grado_Corrente;
    return GradoValido(grado) && SlotValido(m_cicli.Grafico_Corrente) ? grado : -1;
}

bool NavigazioneGrafico::Salva(archivio::Codice_Modifica codice, int grado)
{
    QString errore;
    if (m_ambiente.Salva_Parametro(m_programma, m_archivio, m_cicli, codice, grado, errore))
        return true;
    m_ambiente.Mostra_Errore(errore);
    return false;
}

NavigazioneGrafico::InizioCiclo NavigazioneGrafico::Foto_Inizio(int slot, int grado)
{
    InizioCiclo foto{m_cicli.Barre_Ciclo[size_t(grado)], m_cicli.Barre_Ciclo[size_t(grado)], -1};
    if (BarraScorrimento *hsc = m_ambiente.Controlli().Hsc_Graf(slot)) {
        foto.valore = hsc->Valore();
        foto.massimo = hsc->Max();
    }
    return foto;
}

void NavigazioneGrafico::Ripristina_Inizio(int slot, int grado, const InizioCiclo &foto)
{
    if (BarraScorrimento *hsc = m_ambiente.Controlli().Hsc_Graf(slot)) {
        {
            const BloccoAggiornamento blocco(m_programma.Blocco_Aggiornamento, true);
            hsc->Imposta_Max(foto.massimo);
            hsc->Imposta_Valore(foto.valore);
        }
        // The objects move back by the same bars they moved by.
        m_ambiente.Sposta_Disegni_AsseX();
    }
    m_cicli.Barre_Ciclo[size_t(grado)] = foto.barre;
    ciclo::Calcola_Data_Inizio_Ciclo(m_cicli, m_mercato, grado);
}

// ---------------------------------------------------------------- scroll bars

void NavigazioneGrafico::Hsc_Graf_Change(int slot)
{
    if (Bloccato())
        return;
    const int d = Grado_Slot(slot);
    BarraScorrimento *hsc = SlotValido(slot) ? m_ambiente.Controlli().Hsc_Graf(slot) : nullptr;
    if (d < 0 || !hsc)
        return;
    StatoCicli &c = m_cicli;
    c.Grado_Corrente = d;
    c.Grafico_Corrente = slot;
    InizioCiclo foto = Foto_Inizio(slot, d);
    foto.valore = foto.barre;  // the bar already moved: back to the stored start
    // The objects follow the cycle start while Barre_Ciclo still holds the old position.
    m_ambiente.Sposta_Disegni_AsseX();
    c.Barre_Ciclo[size_t(d)] = hsc->Valore();
    ciclo::Calcola_Data_Inizio_Ciclo(c, m_mercato, d);
    if (!Salva(archivio::Codice_Modifica::Inizio_Ciclo, d))
        Ripristina_Inizio(slot, d, foto);
    ciclo::Calcola_Tempi_Futuri_Grado(c, m_mercato, d);
    if (m_ambiente.Profilo_Volumi_Attivo(d))
        m_ambiente.Calcola_Profilo_Volumi(d, slot);
    m_ambiente.Disegna_Grafico(slot, d);
}

void NavigazioneGrafico::Hsc_Graf_Y_Change(int slot)
{
    if (Bloccato())
        return;
    const int d = Grado_Slot(slot);
    BarraScorrimento *hsc = SlotValido(slot) ? m_ambiente.Controlli().Hsc_Graf_Y(slot) : nullptr;
    if (d < 0 || !hsc)
        return;
    int &posizione = m_cicli.Posizione_Asse_Y[size_t(d)];
    const int prima = posizione;
    posizione = hsc->Valore();
    if (!Salva(archivio::Codice_Modifica::Posizione_Asse_Y, d)) {
        posizione = prima;
        const BloccoAggiornamento blocco(m_programma.Blocco_Aggiornamento, true);
        hsc->Imposta_Valore(prima);
    }
    m_ambiente.Disegna_Grafico(slot, d);
}

// ---------------------------------------------------------------- zoom

void NavigazioneGrafico::Sld_Zoom_Change()
{
    if (Bloccato())
        return;
    const int d = Grado_Corrente_Valido();
    BarraScorrimento *sld = m_ambiente.Sld_Zoom();
    if (d < 0 || !sld)
        return;
    double &zoom = m_cicli.Zoom[size_t(d)];
    const double prima = zoom;
    zoom = sld->Valore();
    if (!Salva(archivio::Codice_Modifica::Zoom, d)) {
        zoom = prima;
        const BloccoAggiornamento blocco(m_programma.Blocco_Aggiornamento, true);
        sld->Imposta_Valore(vb::CIntChecked(prima).value_or(sld->Min()));
    }
    m_ambiente.Disegna_Grafico(m_cicli.Grafico_Corrente, d);
}

void NavigazioneGrafico::Passo_Zoom(int passo)
{
    const int d = Grado_Corrente_Valido();
    if (d < 0)
        return;
    BarraScorrimento *sld = m_ambiente.Sld_Zoom();
    const Estremi e = EstremiSlider(sld);
    double &zoom = m_cicli.Zoom[size_t(d)];
    if (passo < 0 ? zoom <= e.minimo : zoom >= e.massimo)
        return;
    // A stored fractional zoom must not step past the slider's ends.
    const double prima = zoom;
    zoom = std::clamp(zoom + passo, double(e.minimo), double(e.massimo));
    if (!Salva(archivio::Codice_Modifica::Zoom, d))
        zoom = prima;
    if (sld) {
        const BloccoAggiornamento blocco(m_programma.Blocco_Aggiornamento, true);
        sld->Imposta_Valore(vb::CIntChecked(zoom).value_or(e.minimo));
    }
    m_ambiente.Disegna_Grafico(m_cicli.Grafico_Corrente, d);
}

// The zoom buttons answer also while the charts are held.
void NavigazioneGrafico::Cmd_Zoom_M_Click() { Passo_Zoom(-1); }
void NavigazioneGrafico::Cmd_Zoom_P_Click() { Passo_Zoom(+1); }

// ---------------------------------------------------------------- compression

void NavigazioneGrafico::Sld_Compr_Change()
{
    if (Bloccato())
        return;
    const int d = Grado_Corrente_Valido();
    BarraScorrimento *sld = m_ambiente.Sld_Compr();
    if (d < 0 || !sld)
        return;
    const int v = sld->Valore();
    const int attuale = m_cicli.Compressione[size_t(d)];
    if (v == attuale)
        return;
    if (d <= Ultimo_Grado_Banner)
        m_ambiente.Mostra_Caricamento_Indicatore(d, m_cicli.Grafico_Corrente);
    Applica_Compressione(d, v, v < attuale);
}

void NavigazioneGrafico::Applica_Compressione(int grado, int v, bool minore)
{
    StatoCicli &c = m_cicli;
    const size_t d = size_t(grado);
    const int slot = c.Grafico_Corrente;
    const int compressionePrima = c.Compressione[d];
    const InizioCiclo foto = Foto_Inizio(slot, grado);
    c.Compressione[d] = v;
    c.Scostamento_Ciclo[d] = v * c.Compressione_Grado[d];

    const int barrePrima = c.Barre_Ciclo[d];
    BarraScorrimento *hsc = m_ambiente.Controlli().Hsc_Graf(slot);
    const std::optional<int> estensione = vb::CIntChecked(c.Durata[d] + c.Scostamento_Ciclo[d]);
    if (hsc && estensione) {
        const int r = *estensione;
        if (minore) {
            {
                const BloccoAggiornamento blocco(m_programma.Blocco_Aggiornamento, true);
                const bool al_massimo = hsc->Valore() == hsc->Max();
                hsc->Imposta_Max(r);
                // A newest bar left beyond the shorter range stands at its new end.
                if (al_massimo || !hsc->Contiene(hsc->Valore()))
                    hsc->Imposta_Valore(r);
            }
            m_ambiente.Sposta_Disegni_AsseX();
            c.Barre_Ciclo[d] = hsc->Valore();
        } else {
            const BloccoAggiornamento blocco(m_programma.Blocco_Aggiornamento, true);
            hsc->Imposta_Max(r);
        }
    }

    ciclo::Calcola_Data_Inizio_Ciclo(c, m_mercato, grado);
    // One report for the pair: the second save is not tried once the archive refused the first.
    const bool inizio = Salva(archivio::Codice_Modifica::Inizio_Ciclo, grado);
    if (!inizio || !Salva(archivio::Codice_Modifica::Compressione, grado)) {
        c.Compressione[d] = compressionePrima;
        c.Scostamento_Ciclo[d] = compressionePrima * c.Compressione_Grado[d];
        Ripristina_Inizio(slot, grado, foto);
        if (BarraScorrimento *sld = m_ambiente.Sld_Compr()) {
            const BloccoAggiornamento blocco(m_programma.Blocco_Aggiornamento, true);
            sld->Imposta_Valore(compressionePrima);
        }
        // A start the archive took is written back to the one restored.
        QString ignorato;
        if (inizio)
            (void)m_ambiente.Salva_Parametro(m_programma, m_archivio, m_cicli, archivio::Codice_Modifica::Inizio_Ciclo,
                                             grado, ignorato);
    }
    ciclo::Calcola_Tempi_Futuri_Grado(c, m_mercato, grado);
    ciclo::Calcola_Battleplan(c, grado);
    // The profile covers the bars from the cycle start: it follows a start that
    // the shorter range moved, as it does when the scroll bar moves it.
    if (c.Barre_Ciclo[d] != barrePrima && m_ambiente.Profilo_Volumi_Attivo(grado))
        m_ambiente.Calcola_Profilo_Volumi(grado, slot);
    m_ambiente.Disegna_Grafico(slot, grado);
}

void NavigazioneGrafico::Passo_Compressione(int passo)
{
    if (Bloccato())
        return;
    const int d = Grado_Corrente_Valido();
    if (d < 0)
        return;
    BarraScorrimento *sld = m_ambiente.Sld_Compr();
    const Estremi e = EstremiSlider(sld);
    const int attuale = m_cicli.Compressione[size_t(d)];
    if (passo < 0 ? attuale <= e.minimo : attuale >= e.massimo)
        return;
    // One step from the degree's own compression, whatever the slider shows. The
    // write is not shielded: the slider's change handling runs for it first.
    int v = std::clamp(attuale + passo, e.minimo, e.massimo);
    if (sld) {
        sld->Imposta_Valore(v);
        v = sld->Valore();
        // The slider's change handling put back a step the archive refused: reported once.
        if (v == attuale)
            return;
    } else if (d <= Ultimo_Grado_Banner) {
        m_ambiente.Mostra_Caricamento_Indicatore(d, m_cicli.Grafico_Corrente);
    }
    Applica_Compressione(d, v, passo < 0);
}

void NavigazioneGrafico::Cmd_Compr_M_Click() { Passo_Compressione(-1); }
void NavigazioneGrafico::Cmd_Compr_P_Click() { Passo_Compressione(+1); }
