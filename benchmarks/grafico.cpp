// Building and painting one chart slot offscreen: the largest chart a slot can
// carry (X extent 4584, about 28 full-length series, 128,000 points), which a
// scroll-bar drag redraws at every step, and a short-term chart (degree 10)
// that real-time prices redraw.

#include "Bench.h"
#include "GraficoBench.h"

#include "Stato.h"
#include "chart/ModelloGrafico.h"
#include "chart/RenderGrafico.h"
#include "cycle/Battleplan.h"
#include "cycle/Colori.h"
#include "cycle/ControlliGrafici.h"
#include "cycle/TempiFuturi.h"
#include "shell/DisegnaGrafico.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>

namespace {

void prepara(Stato &s, int grado, double durata, double scostamento)
{
    PreparaSessioneBench(s);
    StatoCicli &c = s.cicli;
    const size_t g = size_t(grado);
    c.Durata[g] = durata;
    c.Scostamento_Ciclo[g] = scostamento;
    c.Barre_Ciclo[g] = int(durata + scostamento);
    c.Tempi[g] = 20;
    c.Sottocicli[g] = 6;
    c.Prop_Battleplan[g] = 1.5;
    c.Zoom[g] = 7;
    c.Posizione_Asse_Y[g] = 50;
    c.Griglia_1[g] = 1;
    c.Griglia_2[g] = 1;
    c.Conf_Grafici[0] = {1, grado, 0};
    ciclo::Calcola_Battleplan(c, grado);
    ciclo::Calcola_Tempi_Futuri_Grado(c, s.mercato, grado);
}

// The indicator lines a fully loaded chart carries: 11 on the price axis and
// 15 in the five panes, one point per bar of the extent, read from arrays
// computed beforehand as the indicator engine leaves them.
struct Valori {
    std::vector<std::vector<double>> serie;
    explicit Valori(int estensione) : serie(26, std::vector<double>(size_t(estensione) + 1))
    {
        for (int k = 0; k < 26; ++k)
            for (int i = 1; i <= estensione; ++i)
                serie[size_t(k)][size_t(i)] = k < 11 ? 20000 + 300 * std::sin((i + k * 13) / 70.0)
                                                     : std::sin((i + k * 7) / 25.0);
    }
};

void indicatori(GraficoControllo &g, const Valori &valori, int estensione)
{
    for (int k = 0; k < 26; ++k) {
        const int asse = k < 11 ? 2 : 3 + (k - 11) / 3;
        if (asse > 2 && (k - 11) % 3 == 0)
            g.Aggiungi_Asse_Y(asse);
        g.Seleziona_Asse_Y(asse);
        g.Seleziona_Asse_X(2);
        g.Nuova_Serie(QString());
        g.Stile_Serie(0x00A0A0u + ColoreWin(k) * 0x050301u, 1, 1);
        const std::vector<double> &v = valori.serie[size_t(k)];
        for (int i = 1; i <= estensione; ++i)
            g.Aggiungi_Punto(i, v[size_t(i)]);
    }
    for (int asse = 3; asse <= 7; ++asse) {
        g.Seleziona_Asse_Y(asse);
        g.Scala_Fissa_Asse(1);
        g.Minimo_Asse(-1);
        g.Massimo_Asse(4);
    }
}

void misura(const QString &nome, int grado, double durata, double scostamento, QSize dimensione)
{
    auto stato = std::make_unique<Stato>();
    prepara(*stato, grado, durata, scostamento);
    ControlliBench controlli;
    controlli.y.Imposta_Min(100);
    controlli.y.Imposta_Max(1);
    controlli.y.Imposta_Valore(50);
    QImage immagine(dimensione, QImage::Format_RGB32);
    const Valori valori(int(durata + scostamento));
    size_t punti = 0;
    MisuraMediana(nome + QStringLiteral("_costruzione"), [&] {
        finestra::Disegna_Grafico(*stato, controlli, 0, grado);
        indicatori(controlli.grafico, valori, int(durata + scostamento));
    });
    MisuraMediana(nome + QStringLiteral("_pittura"), [&] {
        QPainter p(&immagine);
        render_grafico::Disegna(controlli.grafico, p, QRectF(immagine.rect()));
    });
    MisuraMediana(nome, [&] {
        finestra::Disegna_Grafico(*stato, controlli, 0, grado);
        indicatori(controlli.grafico, valori, int(durata + scostamento));
        QPainter p(&immagine);
        render_grafico::Disegna(controlli.grafico, p, QRectF(immagine.rect()));
        punti = 0;
        for (const SerieGrafico &s : controlli.grafico.serie())
            punti += s.punti.size();
    });
    StampaBench(nome + QStringLiteral("_punti"), double(punti), QStringLiteral("points"));
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    misura(QStringLiteral("grafico_massimo"), 6, 3584, 1000, QSize(1600, 820));
    misura(QStringLiteral("grafico_grado10"), 10, 672, 700, QSize(900, 480));
    return 0;
}
