#pragma once

// The real-time charts: the switch Cmd_Graf_RT, the redraw on a new last price,
// the clearing and drawing of all four slots, and the lamps of the slots in use
// lit after a real-time bar and switched off by Timer_Agg_RT. It answers the handlers of
// cycle/GraficoTempoReale.h with the charts of AreaGrafici and the button of
// PannelloQuotazioni; the question goes through DialoghiFinestra.

#include "cycle/GraficoTempoReale.h"

#include <QObject>
#include <QTimer>

struct Stato;
class AreaGrafici;
class DialoghiFinestra;
class PannelloQuotazioni;

class ControlloreTempoReale : public QObject, public AmbienteGraficoRT {
    Q_OBJECT
public:
    ControlloreTempoReale(Stato &stato, AreaGrafici &area, PannelloQuotazioni &quotazioni, DialoghiFinestra &dialoghi,
                          QObject *parent);

    void Cmd_Graf_RT_Click();
    void Text_Last_Change();
    void Cancella_Grafici();
    void Disegna_Grafici();
    // The button's face for the current Grafico_RT.
    void Colora_Cmd_Graf_RT();
    // A new colour scheme: the button, and the four charts unless the loading holds them.
    void Nuovi_Colori();
    // After a merged real-time bar: the lamps of the slots in use lit, all four off 4 s later.
    void Accendi_Led_Storico_RT();
    void Spegni_Led_Storico_RT();
    void Arma_Timer_Agg_RT();
    QTimer Timer_Agg_RT;

    // AmbienteGraficoRT
    void Beep() override;
    bool Domanda(const QString &titolo, const QString &testo) override;
    void Colore_Cmd_Graf_RT(ColoreWin colore) override;
    void Disegna_Grafico(int grafico, int grado) override;
    bool Salva_Grafico_RT() override;
    GraficoControllo *Graf_Battleplan(int slot) override;

private:
    Stato &m_stato;
    AreaGrafici &m_area;
    PannelloQuotazioni &m_quotazioni;
    DialoghiFinestra &m_dialoghi;
    QString m_errore;  // why the last save of the switch was refused
};
