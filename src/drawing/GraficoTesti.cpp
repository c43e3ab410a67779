#include "drawing/GraficoOggetti.h"

#include "drawing/StatoDisegno.h"

#include <cmath>

// Texts and distance labels sit on Y axis 1 at the height their price has on the
// current price axis, so they follow zoom and vertical scroll. With a price axis of
// no height there is no such height: the label is left out.
void Scrivi_Testi_Utente(ContestoGrafico &c, const StatoDisegno &disegno)
{
    const double scala = c.P_Alto - c.P_Basso;
    const auto scrivi = [&c, scala](const QString &testo, int x, double prezzo, int colore) {
        c.ctl.Nuova_Serie(QString());
        if (testo.isEmpty() || scala == 0.0 || !std::isfinite(scala))
            return;
        const double y = (prezzo - c.P_Basso) / scala * (c.Y1_Alto - c.Y1_Basso) + c.Y1_Basso;
        if (!std::isfinite(y))
            return;
        c.ctl.Aggiungi_Testo(testo, x, y, 1, QStringLiteral("Font=Arial|8|bold|"), Colore_Oggetto(c, colore), 0, 0);
    };
    const size_t d = size_t(c.grado);
    for (int i = 1; i <= costanti::Max_Testi; ++i) {
        const Testo &t = disegno.Testi[d][size_t(i)];
        if (t.in_uso && t.trovata)
            scrivi(t.testo == QLatin1String("@") ? QString() : t.testo, t.barra, t.prezzo, t.colore);
    }
    for (int i = 1; i <= costanti::Max_Distanze; ++i) {
        const Distanza &di = disegno.Distanze[d][size_t(i)];
        if (di.in_uso && di.trovata)
            scrivi(di.durata, di.barra_etichetta, di.prezzo_etichetta, di.colore);
    }
}
