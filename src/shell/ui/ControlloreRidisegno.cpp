#include "shell/ui/ControlloreRidisegno.h"

#include "Stato.h"
#include "drawing/OggettiGrafici.h"
#include "indicators/MotoreIndicatori.h"
#include "shell/DisegnaGrafico.h"
#include "shell/FinestraLavoro.h"
#include "shell/ui/AreaGrafici.h"

ControlloreRidisegno::ControlloreRidisegno(Stato &stato, AreaGrafici &area, MotoreIndicatori &motore,
                                           QObject *parent)
    : QObject(parent), m_stato(stato), m_area(area), m_motore(motore)
{
    setObjectName(QStringLiteral("ControlloreRidisegno"));
    for (QTimer *t : {&Timer_Disegno, &Timer_Indicatori})
        t->setSingleShot(true);
    Timer_Disegno.setInterval(5);
    Timer_Indicatori.setInterval(1200);
    connect(&Timer_Disegno, &QTimer::timeout, this, &ControlloreRidisegno::Disegna_Grafico_Timer);
    connect(&Timer_Indicatori, &QTimer::timeout, this, &ControlloreRidisegno::Aggiorna_Indicatori_Timer);
}

void ControlloreRidisegno::Disegna_Grafico(int grafico, int grado)
{
    if (grafico < 0 || grafico > 3)
        return;
    disegno::Colloca_Oggetti_In_Attesa(m_stato.mercato, m_stato.cicli, m_stato.disegno, grado);
    ::Disegna_Grafico(m_stato, m_area, grafico, grado);
}

void ControlloreRidisegno::Imposta_Titoli_Grafici()
{
    const StatoCicli &c = m_stato.cicli;
    for (int i = 0; i < 4; ++i) {
        GraficoControllo *g = m_area.Graf_Battleplan(i);
        g->Titolo_Grafico(c.Titoli_Grafici[size_t(i)], QStringLiteral("Font=Arial|9|bold|"), c.Colori[81], 2, -5, 1);
        g->Ridisegna_Grafico();
    }
}

void ControlloreRidisegno::Imposta_Opzione_Grafici()
{
    const StatoCicli &c = m_stato.cicli;
    const auto modi = finestra::Opzione_Grafici(c.Conf_Grafici, c.Modo_Mouse_Grado);
    for (int i = 0; i < 4; ++i)
        if (modi[size_t(i)])
            m_area.Graf_Battleplan(i)->Modo_Puntatore(*modi[size_t(i)]);
}

void ControlloreRidisegno::Arma_Timer_Disegno()
{
    Timer_Disegno.setInterval(5);
    Timer_Disegno.start();
}

void ControlloreRidisegno::Arma_Timer_Indicatori()
{
    // The slot whose duration changed is the one recomputed, even if the user has
    // moved to another slot before the tick.
    m_slotIndicatori = m_stato.cicli.Grafico_Corrente;
    Timer_Indicatori.stop();
    Timer_Indicatori.start();
}

void ControlloreRidisegno::Disegna_Grafico_Timer()
{
    Timer_Disegno.stop();
    Disegna_Grafico(m_stato.cicli.Grafico_Corrente, m_stato.cicli.Grado_Corrente);
}

void ControlloreRidisegno::Aggiorna_Indicatori_Timer()
{
    Timer_Indicatori.stop();
    m_motore.Aggiorna_Indicatori(m_slotIndicatori);
}

void ControlloreRidisegno::Ferma_Timer()
{
    Timer_Disegno.stop();
    Timer_Indicatori.stop();
    Timer_Indicatori.setInterval(1200);
}
