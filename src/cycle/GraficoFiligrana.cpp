#include "cycle/SezioniGrafico.h"
#include "platform/Costanti.h"

namespace ciclo {

// Placed by percent of the plot so that it stays put whatever the ranges; it
// also leaves X 1 / Y 1 current for the cycle lines that follow.
void Disegna_Filigrana(ContestoGrafico &c)
{
    c.ctl.Seleziona_Asse_Y(1);
    c.ctl.Seleziona_Asse_X(1);
    c.ctl.Nuova_Serie(QString());
    const QString testo = QStringLiteral("Wavelore\u00AE\r\n") + QLatin1String(costanti::Indirizzo_Web);
    c.ctl.Aggiungi_Testo(testo, 50, 95, 1, QStringLiteral("Font=arial|14|bold|"), c.Colore(87), 0, 1);
}

}  // namespace ciclo
