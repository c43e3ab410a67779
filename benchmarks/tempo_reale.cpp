// One real-time quote while real-time charts are on: the redraw of the four
// slots when all of them show the short-term degrees 8, 10, 11 and 12, each
// built and painted offscreen, as the last-price handler does it per quote.

#include "Bench.h"
#include "GraficoBench.h"
#include "InterfacceVuote.h"

#include "Stato.h"
#include "chart/ModelloGrafico.h"
#include "chart/RenderGrafico.h"
#include "cycle/Battleplan.h"
#include "cycle/ControlliGrafici.h"
#include "cycle/GraficoTempoReale.h"
#include "cycle/TempiFuturi.h"
#include "shell/DisegnaGrafico.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <array>
#include <memory>

namespace {

class QuattroSlot : public ControlliGrafici {
public:
    GraficoControllo *Graf_Battleplan(int s) override { return s >= 0 && s < 4 ? &grafici[size_t(s)] : nullptr; }
    BarraScorrimento *Hsc_Graf(int) override { return &x; }
    BarraScorrimento *Hsc_Graf_Y(int) override { return &y; }
    void Mostra_Comandi_Slot(int, bool) override {}
    int Sld_Zoom_Max() const override { return 10; }

    std::array<ModelloGrafico, 4> grafici;
    BarraValori x, y;
};

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    auto stato = std::make_unique<Stato>();
    PreparaSessioneBench(*stato);
    stato->archivio.Grafico_RT = 1;
    stato->shell.Modalita = QStringLiteral("ONLINE");
    stato->shell.Blocco_Grafici = false;
    StatoCicli &c = stato->cicli;
    const std::array<int, 4> gradi{8, 10, 11, 12};
    for (int s = 0; s < 4; ++s) {
        const int g = gradi[size_t(s)];
        c.Durata[size_t(g)] = 672;
        c.Scostamento_Ciclo[size_t(g)] = 700;
        c.Barre_Ciclo[size_t(g)] = 1372;
        c.Tempi[size_t(g)] = 20;
        c.Sottocicli[size_t(g)] = 6;
        c.Prop_Battleplan[size_t(g)] = 1.5;
        c.Zoom[size_t(g)] = 7;
        c.Posizione_Asse_Y[size_t(g)] = 50;
        c.Conf_Grafici[size_t(s)] = {1, g, s};
        ciclo::Calcola_Battleplan(c, g);
        ciclo::Calcola_Tempi_Futuri_Grado(c, stato->mercato, g);
    }
    QuattroSlot controlli;
    controlli.y.Imposta_Min(100);
    controlli.y.Imposta_Max(1);
    controlli.y.Imposta_Valore(50);
    QImage immagine(QSize(640, 360), QImage::Format_RGB32);

    struct Ridisegno : AmbienteGraficoRTVuoto {
        Stato &stato;
        QuattroSlot &controlli;
        QImage &immagine;
        Ridisegno(Stato &s, QuattroSlot &c, QImage &i) : stato(s), controlli(c), immagine(i) {}
        void Disegna_Grafico(int s, int g) override
        {
            finestra::Disegna_Grafico(stato, controlli, s, g);
            QPainter p(&immagine);
            render_grafico::Disegna(controlli.grafici[size_t(s)], p, QRectF(immagine.rect()));
        }
    } a(*stato, controlli, immagine);
    int tick = 0;
    MisuraMediana(QStringLiteral("tempo_reale_quotazione"), [&] {
        stato->mercato.Ultimo_Prezzo = 20000.0 + (++tick % 50);
        ciclo::Text_Last_Change(stato->shell, stato->archivio, stato->cicli, a);
    });
    return 0;
}
