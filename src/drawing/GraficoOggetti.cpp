#include "drawing/GraficoOggetti.h"

#include "drawing/StatoDisegno.h"

ColoreWin Colore_Oggetto(const ContestoGrafico &c, int codice)
{
    return c.Colore(codice >= 1 && codice < costanti::Num_Colori ? codice : -1);
}

// Only objects with a position (found flag set) are drawn.
void Disegna_Linee_Utente(ContestoGrafico &c, const StatoDisegno &disegno)
{
    const auto segmento = [&c](const auto &o, int spessore, int stile) {
        if (!o.in_uso || !o.trovata)
            return;
        c.ctl.Nuova_Serie(QString());
        c.ctl.Stile_Serie(Colore_Oggetto(c, o.colore), spessore, stile);
        c.ctl.Tipo_Punto_Serie(0);
        c.ctl.Aggiungi_Punto(o.barra_inizio, o.prezzo_inizio);
        c.ctl.Aggiungi_Punto(o.barra_fine, o.prezzo_fine);
    };
    const size_t d = size_t(c.grado);
    for (int i = 1; i <= costanti::Max_Linee; ++i)
        segmento(disegno.Linee[d][size_t(i)], 2, 1);
    for (int i = 1; i <= costanti::Max_Distanze; ++i)
        segmento(disegno.Distanze[d][size_t(i)], 1, 2);
}
