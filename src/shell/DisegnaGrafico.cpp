#include "shell/DisegnaGrafico.h"

#include "Stato.h"
#include "cycle/ControlliGrafici.h"
#include "cycle/SezioniGrafico.h"
#include "drawing/GraficoOggetti.h"
#include "indicators/GraficoIndicatori.h"
#include "platform/NomiGradi.h"

#include <QDebug>
#include <exception>

namespace finestra {

namespace {

// One section: whatever it throws stays inside it, so the next one still runs.
template <typename F>
void sezione(const char *nome, F &&lavoro)
{
    try {
        lavoro();
    } catch (const std::exception &e) {
        qDebug() << "chart section" << nome << "skipped:" << e.what();
    } catch (...) {
        qDebug() << "chart section" << nome << "skipped";
    }
}

// Shows the chart at the end whatever happened before. The chart's calls do
// not throw: one it refuses is simply skipped.
struct RidisegnoFinale {
    GraficoControllo &ctl;
    ~RidisegnoFinale()
    {
        ctl.Ridisegna_Grafico();
        ctl.Visibile(true);
    }
};

}  // namespace

void Disegna_Grafico(Stato &stato, ControlliGrafici &controlli, int grafico, int grado)
{
    if (grafico < 0 || grafico >= costanti::Num_Slot)
        return;
    GraficoControllo *controllo = controlli.Graf_Battleplan(grafico);
    if (stato.cicli.Conf_Grafici[size_t(grafico)].in_uso != 1) {
        if (controllo)
            controllo->Visibile(false);
        controlli.Mostra_Comandi_Slot(grafico, false);
        return;
    }
    // Callers always pass a valid degree; a bad one leaves the chart as it is.
    if (!controllo || grado < 0 || grado > costanti::Max_Grado)
        return;
    GraficoControllo *ctl = controllo;

    ctl->Visibile(false);
    ctl->Svuota_Grafico();
    RidisegnoFinale finale{*ctl};

    const size_t g = size_t(grado);
    stato.cicli.Titoli_Grafici[size_t(grafico)] = stato.cicli.Sottostante + nomi_gradi::Titolo(grado);

    ContestoGrafico c{stato.shell, stato.archivio, stato.mercato, stato.cicli, *ctl, grafico, grado};
    c.Sld_Zoom_Max = controlli.Sld_Zoom_Max();
    if (BarraScorrimento *y = controlli.Hsc_Graf_Y(grafico)) {
        c.Hsc_Graf_Y_Valore = y->Valore();
        c.Hsc_Graf_Y_Max = y->Estremo_Alto();
    }

    ctl->Prepara_Grafico(QString());
    c.Estensione_Grafico = stato.cicli.Durata[g] + stato.cicli.Scostamento_Ciclo[g];
    ctl->Aggiungi_Asse_Y(2);
    ctl->Aggiungi_Asse_X(3);

    if (stato.indicatori.Ind_Attivo[g][19] == 1)
        sezione("volume profile", [&] { indicatori::Disegna_Profilo_Volumi(c, stato.indicatori); });
    sezione("watermark", [&] { ciclo::Disegna_Filigrana(c); });
    sezione("curve", [&] { ciclo::Disegna_Curva_Battleplan(c); });
    sezione("subdivisions", [&] { ciclo::Disegna_Suddivisioni(c); });
    sezione("day separators", [&] { ciclo::Disegna_Separatori_Giorno(c); });
    sezione("axis choice", [&] {
        ctl->Seleziona_Asse_Y(2);
        ctl->Aggiungi_Asse_X(GraficoControllo::Prossimo_Asse);
        ctl->Seleziona_Asse_X(2);
    });
    sezione("user lines", [&] { disegno::Disegna_Linee_Utente(c, stato.disegno); });
    sezione("price", [&] { ciclo::Disegna_Serie_Prezzo(c); });
    sezione("indicators", [&] { indicatori::Disegna_Indicatori(c, stato.indicatori); });
    sezione("title and axes", [&] { ciclo::Imposta_Titolo_Assi(c); });
    sezione("price range", [&] { ciclo::Imposta_Scala_Prezzo(c); });
    sezione("indicator axes", [&] { indicatori::Imposta_Assi_Indicatori(c, stato.indicatori); });
    sezione("text axes", [&] {
        ctl->Seleziona_Asse_Y(1);
        ctl->Seleziona_Asse_X(1);
    });
    sezione("cycle texts", [&] { ciclo::Scrivi_Testi_Ciclo(c); });
    sezione("user texts", [&] { disegno::Scrivi_Testi_Utente(c, stato.disegno); });
}

}  // namespace finestra
