#pragma once

// Redraws and the charts' set-up: one slot drawn now or on Timer_Disegno's tick,
// the indicators of the slot whose duration changed recomputed on
// Timer_Indicatori's, and the four charts' titles and pointer modes.
// It works on the charts of AreaGrafici and on the indicator engine.

#include <QObject>
#include <QTimer>

struct Stato;
class AreaGrafici;
class MotoreIndicatori;

class ControlloreRidisegno : public QObject {
    Q_OBJECT
public:
    ControlloreRidisegno(Stato &stato, AreaGrafici &area, MotoreIndicatori &motore, QObject *parent);

    void Disegna_Grafico(int grafico, int grado);
    void Imposta_Titoli_Grafici();
    void Imposta_Opzione_Grafici();

    // One-shot timers.
    QTimer Timer_Disegno;
    QTimer Timer_Indicatori;
    void Arma_Timer_Disegno();
    void Arma_Timer_Indicatori();
    int Slot_Timer_Indicatori() const { return m_slotIndicatori; }
    void Disegna_Grafico_Timer();
    void Aggiorna_Indicatori_Timer();
    void Ferma_Timer();

private:
    Stato &m_stato;
    AreaGrafici &m_area;
    MotoreIndicatori &m_motore;
    int m_slotIndicatori = 0;
};
