#include "shell/ui/ControlloreTempoReale.h"

#include "Stato.h"
#include "archive/ImpostazioniAvvio.h"
#include "shell/DisegnaGrafico.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/Avvisi.h"
#include "shell/ui/DialoghiFinestra.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/RiquadroGrafico.h"

#include <QApplication>
#include <QPushButton>

ControlloreTempoReale::ControlloreTempoReale(Stato &stato, AreaGrafici &area, PannelloQuotazioni &quotazioni,
                                             DialoghiFinestra &dialoghi, QObject *parent)
    : QObject(parent), m_stato(stato), m_area(area), m_quotazioni(quotazioni), m_dialoghi(dialoghi)
{
    setObjectName(QStringLiteral("ControlloreTempoReale"));
    Timer_Agg_RT.setSingleShot(true);
    Timer_Agg_RT.setInterval(4000);
    connect(&Timer_Agg_RT, &QTimer::timeout, this, &ControlloreTempoReale::Spegni_Led_Storico_RT);
    connect(m_quotazioni.Cmd_Graf_RT, &QPushButton::clicked, this, [this] { Cmd_Graf_RT_Click(); });
}

void ControlloreTempoReale::Disegna_Grafici() { ciclo::Disegna_Grafici(m_stato.cicli, *this); }

void ControlloreTempoReale::Cmd_Graf_RT_Click()
{
    if (!ciclo::Cmd_Graf_RT_Click(m_stato.archivio, m_stato.cicli, *this))
        finestra::Mostra_Avviso(Avviso::Attenzione, QStringLiteral("Wavelore \u00AE"),
                                QStringLiteral("Impossibile salvare l'impostazione dei Grafici Real Time "
                                               "(Sistema3.dat)")
                                    + (m_errore.trimmed().isEmpty() ? QStringLiteral(".")
                                                                     : QStringLiteral(": ") + m_errore.trimmed()));
}

void ControlloreTempoReale::Text_Last_Change()
{
    ciclo::Text_Last_Change(m_stato.shell, m_stato.archivio, m_stato.cicli, *this);
}

void ControlloreTempoReale::Cancella_Grafici() { ciclo::Cancella_Grafici(*this); }

void ControlloreTempoReale::Colora_Cmd_Graf_RT()
{
    m_quotazioni.Colore_Graf_RT(m_stato.archivio.Grafico_RT == 1 ? m_stato.cicli.Colori[42]
                                                                 : m_stato.cicli.Colori[41]);
}

void ControlloreTempoReale::Nuovi_Colori()
{
    Colora_Cmd_Graf_RT();
    if (!m_stato.shell.Blocco_Grafici)
        Disegna_Grafici();
}

void ControlloreTempoReale::Accendi_Led_Storico_RT()
{
    // Only the slots in use show that a bar was merged; all four go out together.
    for (int slot = 0; slot < costanti::Num_Slot; ++slot)
        if (m_stato.cicli.Conf_Grafici[size_t(slot)].in_uso == 1)
            m_area.Frm_Graf[size_t(slot)]->Colore_Led(m_stato.cicli.Colori[21]);
    Arma_Timer_Agg_RT();
}

void ControlloreTempoReale::Spegni_Led_Storico_RT()
{
    Timer_Agg_RT.stop();
    m_area.Colora_Led(m_stato.cicli.Colori[20]);
}

void ControlloreTempoReale::Arma_Timer_Agg_RT()
{
    Timer_Agg_RT.stop();
    Timer_Agg_RT.setInterval(4000);
    Timer_Agg_RT.start();
}

void ControlloreTempoReale::Beep() { QApplication::beep(); }

bool ControlloreTempoReale::Domanda(const QString &titolo, const QString &testo)
{
    return m_dialoghi.Domanda_RT(titolo, testo);
}

void ControlloreTempoReale::Colore_Cmd_Graf_RT(ColoreWin colore) { m_quotazioni.Colore_Graf_RT(colore); }

void ControlloreTempoReale::Disegna_Grafico(int grafico, int grado)
{
    if (grafico >= 0 && grafico <= 3)
        finestra::Disegna_Grafico(m_stato, m_area, grafico, grado);
}

bool ControlloreTempoReale::Salva_Grafico_RT()
{
    m_errore.clear();
    return archivio::Salva_Grafico_RT(m_stato.archivio, &m_errore);
}

GraficoControllo *ControlloreTempoReale::Graf_Battleplan(int slot) { return m_area.Graf_Battleplan(slot); }
