#include "shell/ui/ControlloreGradi.h"

#include "Stato.h"
#include "cycle/BarreGrafico.h"
#include "cycle/Battleplan.h"
#include "chart/ui/GraficoWidget.h"
#include "shell/SceltaGradi.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/AreaGrafici.h"
#include "indicators/MotoreIndicatori.h"
#include "shell/ui/PannelloCicli.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

namespace {

// The panel's controls that follow the slot's use.
void Mostra_Controlli_Slot(RiquadroGrafico *r, bool visibili)
{
    for (QWidget *w : {static_cast<QWidget *>(r->Hsc_Graf), static_cast<QWidget *>(r->Hsc_Graf_Y),
                       static_cast<QWidget *>(r->Cmd_Foto), static_cast<QWidget *>(r->Cmd_GRaf_M),
                       static_cast<QWidget *>(r->Cmd_GRaf_P), static_cast<QWidget *>(r->Cmd_Sposta),
                       static_cast<QWidget *>(r->Cmd_Coord), static_cast<QWidget *>(r->Led_Agg_Storico_RT)})
        w->setVisible(visibili);
}

}  // namespace

ControlloreGradi::ControlloreGradi(Stato &stato, PannelloCicli &cicli, AreaGrafici &area, MotoreIndicatori &motore,
                                   RichiesteGradi &richieste, QObject *parent)
    : QObject(parent), m_stato(stato), m_cicli(cicli), m_area(area), m_motore(motore), m_richieste(richieste)
{
    setObjectName(QStringLiteral("ControlloreGradi"));
    connect(&m_cicli, &PannelloCicli::Chk_Battl_Cliccato, this, &ControlloreGradi::Chk_Battl_Click);
}

void ControlloreGradi::Chk_Battl_Click(int index)
{
    Stato &stato = m_stato;
    if (index < 0 || index > costanti::Max_Grado)
        return;
    QCheckBox *box = m_cicli.Chk_Battl[size_t(index)];
    const bool grande = stato.shell.Layout_Grafico == QLatin1String("GRANDE");

    if (!box->isChecked()) {
        if (grande)
            m_richieste.Imposta_Layout_Ridotto();
        for (QCheckBox *c : m_cicli.Chk_Battl)
            c->setEnabled(true);
        QString errore;
        const int s = gradi::Togli_Grado(stato, index, &errore);
        // Boxes and slots disagreeing, or a refused save: the boxes follow the slots again.
        if (s < 0) {
            m_cicli.Inizializza_Chk_Battl();
            if (!errore.isEmpty())
                Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), errore);
            return;
        }
        RiquadroGrafico *r = m_area.Frm_Graf[size_t(s)];
        r->Graf_Battleplan->Visibile(false);
        Mostra_Controlli_Slot(r, false);
        return;
    }

    m_richieste.Disabilita_Finestra();
    if (grande)
        m_richieste.Imposta_Layout_Ridotto();
    QString errore;
    const int s = gradi::Metti_Grado(stato, index, &errore);
    if (s < 0) {
        m_cicli.Inizializza_Chk_Battl();
        m_richieste.Abilita_Finestra();
        if (!errore.isEmpty())
            Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"), errore);
        return;
    }
    RiquadroGrafico *r = m_area.Frm_Graf[size_t(s)];
    r->Lbl_In_Caricamento->show();
    r->Lbl_In_Caricamento->raise();
    m_cicli.Regola_Quattro_Gradi();
    Imposta_Barre_Grafico(stato.shell, stato.cicli, m_area, s, index);
    ciclo::Calcola_Battleplan(stato.cicli, index);
    // Computes the degree's indicators and draws the slot.
    m_motore.Aggiorna_Indicatori(s);
    m_richieste.Imposta_Opzione_Grafici();
    Mostra_Controlli_Slot(r, true);
    r->Lbl_In_Caricamento->hide();
    m_richieste.Abilita_Finestra();
}
