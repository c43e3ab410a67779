// The drawing objects: loading the line, text and distance tables whose every row
// is in use, each point on the oldest bar of its series; filling the objects panel
// for a full degree; a long drag of a rubber band and pointer moves with the
// coordinate readout on over a chart (its picture is never rebuilt for either).

#include "Bench.h"
#include "InterfacceVuote.h"
#include "InterfacceVuoteUi.h"

#include "Stato.h"
#include "archive/CreaArchivi.h"
#include "chart/ui/GraficoWidget.h"
#include "cycle/ControlliGrafici.h"
#include "cycle/PosizioneBarra.h"
#include "drawing/OggettiGrafici.h"
#include "drawing/ui/BandaOverlay.h"
#include "drawing/ui/PannelloOggetti.h"
#include "drawing/ui/StrumentiFinestra.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWindow>
#include <QTemporaryDir>
#include <memory>

namespace {

void riempi(SerieStorico &serie, int minutiBarra)
{
    QDateTime t(QDate(2025, 12, 5), QTime(17, 0));
    for (int k = 1; k <= serie.capacita(); ++k) {
        serie.barra(k) = BarraStorico{t.date(), minutiBarra >= 1440 ? 0 : t.time().hour() * 60 + t.time().minute(),
                                      100.0, 1.0};
        t = t.addSecs(-qint64(minutiBarra) * 60);
    }
}

class Controlli : public ControlliGrafici {
public:
    std::array<GraficoWidget *, 4> grafici{};
    BarraValori x, y;
    GraficoControllo *Graf_Battleplan(int s) override { return s >= 0 && s < 4 ? grafici[size_t(s)] : nullptr; }
    BarraScorrimento *Hsc_Graf(int) override { return &x; }
    BarraScorrimento *Hsc_Graf_Y(int) override { return &y; }
    void Mostra_Comandi_Slot(int, bool) override {}
    int Sld_Zoom_Max() const override { return 10; }
};

class ContaDipinture : public QObject {
public:
    int dipinture = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            ++dipinture;
        return false;
    }
};

void caricaTabellaPiena(Stato &stato)
{
    for (int g = 0; g <= costanti::Max_Grado; ++g) {
        stato.cicli.Barre_Ciclo[size_t(g)] = 200;
        stato.cicli.Tempi_Futuri[size_t(g)].assign(6200, TempoFuturo{QDate(2030, 1, 1), 0});
        const int n = posizione::SerieDelGrado(stato.mercato, g).capacita();
        for (int s = 1; s <= costanti::Max_Linee; ++s) {
            stato.disegno.Linee[size_t(g)][size_t(s)] = Linea{true, true, 200 + 1 - n, 101.5, 200 + 2 - n, 102.5, 30};
            (void)disegno::Salva_Linea(stato.archivio, stato.mercato, stato.cicli, stato.disegno, g, s);
        }
    }
    MisuraMediana(QStringLiteral("carica_linee_195"), [&stato] {
        disegno::Carica_Linee(stato.archivio, stato.mercato, stato.cicli, stato.disegno);
    });
}

// 195 texts and 195 distances, every point on the oldest bar of its series.
void caricaTestiDistanze(Stato &stato)
{
    for (int g = 0; g <= costanti::Max_Grado; ++g) {
        const int n = posizione::SerieDelGrado(stato.mercato, g).capacita();
        for (int s = 1; s <= 15; ++s) {
            stato.disegno.Testi[size_t(g)][size_t(s)] = Testo{true, true, 200 + 1 - n, 101.5, 30, QStringLiteral("nota")};
            stato.disegno.Distanze[size_t(g)][size_t(s)] =
                Distanza{true, true, 200 + 1 - n, 101.5, 200 + 3 - n, 102.5, 32, 200 + 2 - n, 102, QStringLiteral("2g")};
            (void)disegno::Salva_Testo(stato.archivio, stato.mercato, stato.cicli, stato.disegno, g, s);
            (void)disegno::Salva_Distanza(stato.archivio, stato.mercato, stato.cicli, stato.disegno, g, s);
        }
    }
    MisuraMediana(QStringLiteral("carica_testi_distanze_195"), [&stato] {
        disegno::Carica_Testi(stato.archivio, stato.mercato, stato.cicli, stato.disegno);
        disegno::Carica_Distanze(stato.archivio, stato.mercato, stato.cicli, stato.disegno);
    });
}

using AmbienteVuoto = AmbienteStrumentiVuoto;

StatoStrumenti Parti(Stato &stato)
{
    return {stato.shell, stato.archivio, stato.mercato, stato.cicli, stato.disegno};
}

// The readout placed against the one chart.
class ServiziGrafico : public ServiziStrumentiVuoti {
public:
    explicit ServiziGrafico(QWidget *riquadro) : m_riquadro(riquadro) {}
    QWidget *Riquadro(int) override { return m_riquadro; }

private:
    QWidget *m_riquadro;
};

// The three grids of a degree holding fifteen objects of each kind.
void riempiPannello(Stato &stato)
{
    QWidget finestra;
    finestra.resize(1280, 720);
    AmbienteVuoto ambiente;
    stato.cicli.Grado_Corrente = 6;
    for (int s = 1; s <= 15; ++s)
        stato.disegno.Linee[6][size_t(s)] = Linea{true, true, 10 + s, 101.5, 250 + s, 102.5, 30};
    PannelloOggetti pannello(Parti(stato), ambiente, &finestra);
    finestra.show();
    pannello.Cmd_Oggetti_Graf_Click();
    MisuraMediana(QStringLiteral("pannello_oggetti_grado_pieno"), [&pannello] {
        pannello.Aggiorna_Griglia_Linee();
        pannello.Aggiorna_Griglia_Testi();
        pannello.Aggiorna_Griglia_Distanze();
    });
}

void trascinaBanda(Stato &stato)
{
    QWidget finestra;
    finestra.resize(1600, 820);
    Controlli controlli;
    for (int s = 0; s < 4; ++s)
        controlli.grafici[size_t(s)] = new GraficoWidget(&finestra);
    controlli.grafici[0]->setGeometry(0, 0, 1600, 820);
    GraficoWidget *g = controlli.grafici[0];
    g->Seleziona_Asse_X(1);
    g->Scala_Fissa_Asse(1);
    g->Minimo_Asse(0);
    g->Massimo_Asse(4584);
    g->Seleziona_Asse_Y(1);
    g->Scala_Fissa_Asse(1);
    g->Minimo_Asse(0);
    g->Massimo_Asse(28);
    for (int serie = 0; serie < 28; ++serie) {
        g->Nuova_Serie(QString());
        g->Stile_Serie(0x00FFFF, 1, 1);
        for (int i = 1; i <= 4584; ++i)
            g->Aggiungi_Punto(i, 14 + 10 * std::sin(i * 0.01 + serie));
    }
    g->Ridisegna_Grafico();
    finestra.show();
    for (int i = 0; i < 10 && !finestra.windowHandle()->isExposed(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    stato.disegno.Linee = {};
    stato.cicli.Conf_Grafici[0] = SlotGrafico{1, 6, 0};
    stato.cicli.Durata[6] = 4000;
    stato.cicli.Scostamento_Ciclo[6] = 584;
    StrumentiFinestra strumenti(Parti(stato), controlli, controlli.grafici);
    StrumentiGrafici &t = strumenti.Strumenti();
    t.Graf_Battleplan_MouseMove(0, 100, 5);
    t.Cmd_Line_Click(0);
    t.Graf_Battleplan_Click(0);
    g->repaint();
    const int complete = g->dipinture_complete();
    ContaDipinture conta;
    strumenti.Banda(0)->installEventFilter(&conta);
    int passo = 0;
    MisuraMediana(QStringLiteral("banda_100_movimenti"), [&] {
        for (int i = 0; i < 100; ++i, ++passo) {
            t.Graf_Battleplan_MouseMove(0, 200 + (passo % 4000), 5 + (passo % 20));
            QCoreApplication::processEvents();
        }
    });
    if (!strumenti.Banda(0)->Attiva() || g->dipinture_complete() != complete || conta.dipinture < 100)
        qWarning("the band was not drawn as an overlay (%d paints)", conta.dipinture);

    // A pointer move with the readout on, the moving box following it: the event and
    // the painting it causes, without a rebuild of the chart.
    t.Graf_Battleplan_KeyDown(0, Tasto_Esc);
    QCoreApplication::processEvents();
    strumenti.Prepara_Finestra(&finestra);
    QLineEdit fisso(&finestra);
    strumenti.Text_Coord_Graf = &fisso;
    strumenti.Imposta_Servizi(std::make_unique<ServiziGrafico>(g));
    stato.cicli.Mostra_Coordinate[6] = 1;
    stato.cicli.Barre_Ciclo[6] = 3000;
    stato.cicli.Tempi_Futuri[6].assign(6200, TempoFuturo{QDate(2030, 1, 1), 600});
    const int primaCoordinate = g->dipinture_complete();
    int mossa = 0;
    MisuraMediana(QStringLiteral("coordinate_movimento"), [&] {
        const QPointF punto(300 + (mossa % 900), 200 + (mossa % 300));
        ++mossa;
        QMouseEvent evento(QEvent::MouseMove, punto, g->mapToGlobal(punto), Qt::NoButton, Qt::NoButton,
                           Qt::NoModifier);
        QApplication::sendEvent(g, &evento);
        QCoreApplication::processEvents();
    });
    if (g->dipinture_complete() != primaCoordinate || !strumenti.Txt_Cord_Mob->isVisible() || fisso.text().isEmpty())
        qWarning("the readout did not follow the pointer without a rebuild of the chart");
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir cartella;
    qputenv("WAVELORE_HOME", cartella.path().toUtf8());
    QApplication app(argc, argv);
    archivio::Crea_Archivio(archivio::FileArchivio::Sistema1);
    auto stato = std::make_unique<Stato>();
    stato->shell.Blocco_Grafici = false;
    stato->archivio.Sottostante_Corrente = 1;
    riempi(stato->mercato.Storico_1D, 1440);
    riempi(stato->mercato.Storico_1H, 60);
    riempi(stato->mercato.Storico_15M, 15);
    riempi(stato->mercato.Storico_5M, 5);
    caricaTabellaPiena(*stato);
    caricaTestiDistanze(*stato);
    riempiPannello(*stato);
    trascinaBanda(*stato);
    return 0;
}
