#include "SlotGraficoProva.h"

#include <cstdlib>

#include "Stato.h"
#include "chart/RenderGrafico.h"
#include "cycle/BarreGrafico.h"
#include "cycle/Battleplan.h"
#include "cycle/Colori.h"
#include "cycle/ModelloCiclo.h"
#include "cycle/PosizioneBarra.h"
#include "cycle/TempiFuturi.h"
#include "shell/DisegnaGrafico.h"

#include <QPainter>
#include <cmath>
#include <cstdlib>

ControlliMemoria::ControlliMemoria()
{
    for (auto &g : grafici)
        g.impostaDimensione(QSize(900, 520));
}

double ChiusuraDiProva(int riga, int minutiBarra)
{
    const double k = riga * (minutiBarra / 15.0);
    return 20000.0 + 300.0 * std::sin(k / 40.0) + 60.0 * std::sin(k / 7.0) + (riga % 3) * 5.0;
}

namespace {

QDate giornoPrima(QDate d)
{
    do
        d = d.addDays(-1);
    while (d.dayOfWeek() > 5);
    return d;
}

// Bars stamped from opening + one bar up to closing, newest first.
void riempi(SerieStorico &serie, int minutiBarra)
{
    const int apertura = 8 * 60, chiusura = 22 * 60;
    QDate data = DataUltimaBarra();
    int minuti = minutiBarra == 0 ? 0 : chiusura;
    for (int riga = 1; riga <= serie.capacita(); ++riga) {
        BarraStorico &b = serie.barra(riga);
        b.data = data;
        b.minuti = minuti;
        b.chiusura = ChiusuraDiProva(riga, minutiBarra == 0 ? 30 : minutiBarra);
        b.volume = 100 + riga % 17;
        if (minutiBarra == 0) {
            data = giornoPrima(data);
        } else {
            minuti -= minutiBarra;
            if (minuti <= apertura) {
                data = giornoPrima(data);
                minuti = chiusura;
            }
        }
    }
}

}  // namespace

void RicalcolaCiclo(Stato &stato, int grado)
{
    ciclo::Calcola_Battleplan(stato.cicli, grado);
    ciclo::Calcola_Data_Inizio_Ciclo(stato.cicli, stato.mercato, grado);
    ciclo::Calcola_Tempi_Futuri_Grado(stato.cicli, stato.mercato, grado);
}

void PreparaStatoGrafico(Stato &stato, int slot, int grado, int aspetto)
{
    riempi(stato.mercato.Storico_1D, 0);
    riempi(stato.mercato.Storico_1H, 60);
    riempi(stato.mercato.Storico_15M, 15);
    riempi(stato.mercato.Storico_5M, 5);

    StatoCicli &c = stato.cicli;
    stato.archivio.Sottostante_Corrente = 2;
    stato.archivio.Aspetto = aspetto;
    c.Sottostante = QStringLiteral("Dax");
    c.Barre_15M_Giorno = 56;
    c.Fattore_Durata = 15;
    c.Inizio_Sessione = QTime(8, 0);
    stato.mercato.Fine_Sessione = QTime(22, 0);
    ciclo::Imposta_Colori(c, aspetto);

    const size_t g = size_t(grado);
    c.Durata[g] = 200;
    c.Scostamento_Ciclo[g] = 50;
    c.Barre_Ciclo[g] = 150;
    c.Tempi[g] = 2;
    c.Sottocicli[g] = 2;
    c.Tendenza[g] = 0;
    c.Prop_Battleplan[g] = 1.5;
    c.Zoom[g] = 7;
    c.Posizione_Asse_Y[g] = 50;
    c.Griglia_1[g] = 1;
    c.Griglia_2[g] = 1;
    c.Modo_Linea_Storico[g] = 0;
    c.Conf_Grafici[size_t(slot)] = {1, grado, slot};
    RicalcolaCiclo(stato, grado);
}

QImage DisegnaSlotInImmagine(Stato &stato, int slot, int grado, QSize dimensione,
                             render_grafico::Disposizione *disposizione)
{
    ControlliMemoria controlli;
    ciclo::Imposta_Barre_Grafico(stato.shell, stato.cicli, controlli, slot, grado);
    finestra::Disegna_Grafico(stato, controlli, slot, grado);
    QImage immagine(dimensione, QImage::Format_RGB32);
    immagine.fill(Qt::magenta);
    QPainter p(&immagine);
    if (GraficoControllo *g = controlli.Graf_Battleplan(slot))
        render_grafico::Disegna(static_cast<GraficoRegistratore &>(*g), p, QRectF(immagine.rect()), disposizione);
    return immagine;
}

bool ContieneColore(const QImage &immagine, QRgb colore, int tolleranza)
{
    for (int y = 0; y < immagine.height(); ++y)
        for (int x = 0; x < immagine.width(); ++x) {
            const QRgb p = immagine.pixel(x, y);
            if (std::abs(qRed(p) - qRed(colore)) <= tolleranza && std::abs(qGreen(p) - qGreen(colore)) <= tolleranza
                && std::abs(qBlue(p) - qBlue(colore)) <= tolleranza)
                return true;
        }
    return false;
}
