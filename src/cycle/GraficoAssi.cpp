#include "archive/StatoArchivio.h"
#include "cycle/SezioniGrafico.h"
#include "cycle/StatoCicli.h"

namespace ciclo {

void Imposta_Titolo_Assi(ContestoGrafico &c)
{
    GraficoControllo &g = c.ctl;
    const size_t d = size_t(c.grado);
    const StatoCicli &cicli = c.cicli;

    g.Colore_Sfondo_Grafico(c.Colore(80));
    g.Titolo_Grafico(cicli.Titoli_Grafici[size_t(c.grafico)], QStringLiteral("Font=Arial|9|bold|"), c.Colore(81), -7,
                     1, 1);

    g.Seleziona_Asse_X(1);
    g.Colore_Asse(c.Colore(88));
    g.Griglia_Asse(true);
    g.Suddivisioni_Asse(cicli.Tempi[d] * cicli.Sottocicli[d]);
    g.Colore_Etichette_Asse(c.Colore(84));
    g.Font_Asse(QStringLiteral("Font=Arial|8||"));
    g.Formato_Asse(QStringLiteral("0"));
    g.Scala_Fissa_Asse(1);
    g.Minimo_Asse(1);
    g.Massimo_Asse(c.Estensione_Grafico);

    g.Seleziona_Asse_X(2);
    g.Colore_Asse(c.Colore(88));
    g.Colore_Etichette_Asse(c.Colore(84));
    g.Font_Asse(QStringLiteral("Font=Arial|8|bold|"));
    g.Colore_Griglia_Asse(c.Colore(81));

    g.Seleziona_Asse_X(3);

    g.Seleziona_Asse_Y(1);
    g.Colore_Asse(c.Colore(88));
    g.Griglia_Asse(true);
    g.Colore_Etichette_Asse(c.Colore(84));
    g.Font_Asse(QStringLiteral("Font=Arial|8||"));
    g.Formato_Asse(QStringLiteral("0.0"));
    g.Scala_Fissa_Asse(1);
    g.Minimo_Asse(0);
    g.Massimo_Asse(28);
    c.Y1_Basso = g.Minimo_Asse();
    c.Y1_Alto = g.Massimo_Asse();

    g.Seleziona_Asse_Y(2);
    g.Colore_Asse(c.Colore(88));
    g.Griglia_Asse(false);
    g.Colore_Etichette_Asse(c.Colore(84));
    g.Colore_Griglia_Asse(c.Colore(81));
    g.Font_Asse(QStringLiteral("Font=Arial|8|bold|"));
    g.Formato_Asse(c.archivio.Sottostante_Corrente == 7 ? QStringLiteral("0.000") : QStringLiteral("0"));
}

}  // namespace ciclo
