#include "Stato.h"
#include "cycle/SezioniGrafico.h"

// Objects kept in their slot but not found on the degree's bars at load are not drawn:
// they have no position.
void Disegna_Linee_Utente(ContestoGrafico &c)
{
    const size_t d = size_t(c.grado);
    for (int i = 1; i <= costanti::Max_Linee; ++i) {
        const Linea &l = c.stato.disegno.Linee[d][size_t(i)];
        if (!l.in_uso || !l.trovata)
            continue;
        c.ctl.Nuova_Serie(QString());
        c.ctl.Stile_Serie(c.Colore(l.colore), 2, 1);
        c.ctl.Tipo_Punto_Serie(0);
        c.ctl.Aggiungi_Punto(l.barra_inizio, l.prezzo_inizio);
        c.ctl.Aggiungi_Punto(l.barra_fine, l.prezzo_fine);
    }
    for (int i = 1; i <= costanti::Max_Distanze; ++i) {
        const Distanza &di = c.stato.disegno.Distanze[d][size_t(i)];
        if (!di.in_uso || !di.trovata)
            continue;
        c.ctl.Nuova_Serie(QString());
        c.ctl.Stile_Serie(c.Colore(di.colore), 1, 2);
        c.ctl.Tipo_Punto_Serie(0);
        c.ctl.Aggiungi_Punto(di.barra_inizio, di.prezzo_inizio);
        c.ctl.Aggiungi_Punto(di.barra_fine, di.prezzo_fine);
    }
}
