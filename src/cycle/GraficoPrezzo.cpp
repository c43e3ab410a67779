#include "cycle/EtichetteAsseX.h"
#include "cycle/PosizioneBarra.h"
#include "cycle/SezioniGrafico.h"
#include "cycle/StatoCicli.h"
#include "platform/DataOra.h"
#include "platform/StatoProgramma.h"
#include "platform/VbRuntime.h"

#include <cmath>

namespace ciclo {

namespace {

QString etichettaBarra(const ContestoGrafico &c, int riga)
{
    const SerieStorico &serie = c.Serie();
    if (!serie.valida(riga) || !serie.barra(riga).data.isValid())
        return {};
    const BarraStorico &b = serie.barra(riga);
    QString testo = dataora::ScriviData(b.data, c.programma.Formato_Data);
    if (!posizione::GradoGiornaliero(c.grado))
        testo += QStringLiteral("\r\n") + dataora::ScriviOra(b.minuti, c.programma.Formato_Ora);
    return testo;
}

}  // namespace

QString Componi_Etichette_Asse_X(double estensione, int barreCiclo, const std::function<QString(int)> &etichetta)
{
    QString testo;
    if (barreCiclo <= 0)
        return testo;
    const auto passo = vb::CIntChecked(vb::Int(estensione / 5));
    // Without a step (an extent under 5 bars) only the newest bar is labelled.
    const int s = passo ? *passo : 0;
    const int scarto = s > 0 ? barreCiclo - (barreCiclo / s) * s : 0;
    testo.reserve(barreCiclo + 16 * (s > 0 ? barreCiclo / s + 1 : 1));
    if (scarto != 0) {
        int k = 0;
        for (int x = 1; x <= barreCiclo; ++x) {
            if (x == scarto + k * s) {
                testo += etichetta(barreCiclo + 1 - x);
                ++k;
            } else {
                testo += QLatin1Char(',');
            }
        }
    } else {
        testo += QString(barreCiclo - 1, QLatin1Char(','));
        testo += etichetta(1);
    }
    return testo;
}

void Disegna_Serie_Prezzo(ContestoGrafico &c)
{
    const size_t g = size_t(c.grado);
    const StatoCicli &cicli = c.cicli;
    const int barre = cicli.Barre_Ciclo[g];
    const double E = c.Estensione_Grafico;

    const QString etichette =
        Componi_Etichette_Asse_X(E, barre, [&](int riga) { return etichettaBarra(c, riga); });
    c.ctl.Seleziona_Asse_X(2);
    c.ctl.Etichette_Asse_X(E - barre, E, E - 1, 0, 2, etichette);

    c.ctl.Nuova_Serie(QStringLiteral("Sottostante"));
    const ColoreWin colore = c.Colore(83);
    switch (cicli.Modo_Linea_Storico[g]) {
    case 0:
        c.ctl.Stile_Serie(colore, 1, 1);
        c.ctl.Tipo_Marcatore_Serie(3);
        c.ctl.Tipo_Punto_Serie(3);
        c.ctl.Colore_Marcatore_Serie(colore);
        c.ctl.Dimensione_Marcatore_Serie(0.8);
        break;
    case 1:
        c.ctl.Stile_Serie(colore, 1, 2);
        c.ctl.Tipo_Marcatore_Serie(0);
        c.ctl.Tipo_Punto_Serie(3);
        c.ctl.Colore_Marcatore_Serie(colore);
        c.ctl.Dimensione_Marcatore_Serie(0.8);
        break;
    case 2:
        c.ctl.Stile_Serie(colore, 3, 1);
        c.ctl.Tipo_Punto_Serie(0);
        break;
    default:
        break;
    }

    // Rows past the loaded history have no close: they add no point.
    const SerieStorico &serie = c.Serie();
    for (int x = 1; x <= barre; ++x) {
        const int riga = barre + 1 - x;
        if (serie.valida(riga) && serie.barra(riga).data.isValid())
            c.ctl.Aggiungi_Punto(x, serie.barra(riga).chiusura);
    }

    if (c.grado >= 8)
        Disegna_Ultimo_Prezzo(c);
}

}  // namespace ciclo
