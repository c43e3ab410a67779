// One hundred consecutive clicks of a duration button on the largest chart, as
// holding the button down makes them: each click saves the cycle start and the
// duration, recomputes the captions, future axis and curve, and rebuilds and
// paints the slot showing the degree. The figure is the median click.

#include "Bench.h"
#include "GraficoBench.h"

#include "Stato.h"
#include "archive/CreaArchivi.h"
#include "cycle/BarreGrafico.h"
#include "cycle/Battleplan.h"
#include "cycle/ModelloCiclo.h"
#include "cycle/TempiFuturi.h"
#include "chart/RenderGrafico.h"
#include "shell/DisegnaGrafico.h"
#include "shell/RegolazioneCiclo.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

class Ambiente : public AmbienteRegolazione {
public:
    explicit Ambiente(Stato &s) : stato(s), immagine(1600, 820, QImage::Format_RGB32) {}
    ControlliGrafici &Controlli() override { return controlli; }
    void Disegna_Grafico(int grafico, int grado) override
    {
        if (!disegna)
            return;
        finestra::Disegna_Grafico(stato, controlli, grafico, grado);
        QPainter p(&immagine);
        render_grafico::Disegna(controlli.grafico, p, QRectF(immagine.rect()));
        ++disegni;
    }
    void Aggiorna_Etichette_Gradi() override {}
    void Ferma_Timer_Indicatori() override {}
    void Arma_Timer_Indicatori() override {}
    void Fuoco_Grafico(int) override {}
    void Mostra_Prop_Battl(const QString &) override {}
    void Mostra_Tend(const QString &) override {}
    void Mostra_Dur(const QString &) override {}
    void Mostra_Errore(const QString &) override {}

    Stato &stato;
    ControlliBench controlli;
    QImage immagine;
    int disegni = 0;
    bool disegna = true;
};

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir cartella;
    qputenv("WAVELORE_HOME", cartella.path().toUtf8());
    if (!archivio::Crea_Archivi().ok) {
        std::fprintf(stderr, "archive files not created\n");
        return 1;
    }

    auto stato = std::make_unique<Stato>();
    Stato &s = *stato;
    s.shell.Blocco_Grafici = false;
    s.archivio.Sottostante_Corrente = 2;
    StatoCicli &c = s.cicli;
    ciclo::Inizializza_Tabelle_Cicli(c);
    PreparaSessioneBench(s);
    // Degree 6 at its longest duration with the largest compression: the largest chart.
    const int grado = 6;
    c.Durata_Minima[grado] = 16 * 56;
    c.Barre_Calcolo[grado] = 64 * 56;
    c.Durata_Standard[grado] = 32 * 56;
    c.Durata[grado] = c.Barre_Calcolo[grado];
    c.Compressione[grado] = 10;
    c.Scostamento_Ciclo[grado] = 10 * c.Compressione_Grado[grado];
    c.Barre_Ciclo[grado] = int(c.Durata[grado] + c.Scostamento_Ciclo[grado]);
    c.Tempi[grado] = 20;
    c.Sottocicli[grado] = 6;
    c.Prop_Battleplan[grado] = 1.5;
    c.Zoom[grado] = 7;
    c.Posizione_Asse_Y[grado] = 50;
    c.Griglia_1[grado] = 1;
    c.Griglia_2[grado] = 1;
    c.Conf_Grafici[0] = {1, grado, 0};
    c.Grafico_Corrente = 0;
    c.Grado_Corrente = grado;
    s.indicatori.Modo_Adattivo[grado] = 0;
    ciclo::Calcola_Battleplan(c, grado);
    ciclo::Calcola_Data_Inizio_Ciclo(c, s.mercato, grado);
    ciclo::Calcola_Tempi_Futuri_Grado(c, s.mercato, grado);

    Ambiente ambiente(s);
    ciclo::Imposta_Barre_Grafico(s.shell, c, ambiente.controlli, 0, grado);
    s.disegno.Barre_Ciclo_Oggetti[grado] = c.Barre_Ciclo[grado];
    RegolazioneCiclo regolazione(s, ambiente);

    // Shorter steps take the longer path: the cycle start follows the scroll bar
    // standing at its far end and is saved too.
    const auto passo = [&] { regolazione.Cmd_Dur_Click(regolazione::PassoDurata::M1); };
    const auto misura = [&](const QString &nome) {
        const int disegni = ambiente.disegni;
        const double durata = c.Durata[grado];
        for (int i = 0; i < 3; ++i)
            passo();
        std::vector<double> tempi;
        for (int i = 0; i < 100; ++i) {
            QElapsedTimer t;
            t.start();
            passo();
            tempi.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        if (c.Durata[grado] != durata - 103 || (ambiente.disegna && ambiente.disegni != disegni + 103)) {
            std::fprintf(stderr, "the steps did not all act\n");
            return false;
        }
        std::sort(tempi.begin(), tempi.end());
        StampaBench(nome, tempi[tempi.size() / 2], QStringLiteral("ms"));
        return true;
    };
    if (!misura(QStringLiteral("controlli_durata_passo")))
        return 1;
    // The saves and recomputations alone.
    ambiente.disegna = false;
    if (!misura(QStringLiteral("controlli_durata_passo_senza_disegno")))
        return 1;
    return 0;
}
