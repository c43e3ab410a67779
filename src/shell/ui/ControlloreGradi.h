#pragma once

// The degree check boxes of PannelloCicli: a degree ticked gets the lowest free
// chart slot, prepared and drawn; a degree cleared frees its slot. The window
// hold, the four-chart layout and the pointer modes come through RichiesteGradi.

#include <QObject>

struct Stato;
class AreaGrafici;
class MotoreIndicatori;
class PannelloCicli;

class RichiesteGradi {
public:
    virtual ~RichiesteGradi() = default;
    virtual void Disabilita_Finestra() = 0;
    virtual void Abilita_Finestra() = 0;
    virtual void Imposta_Layout_Ridotto() = 0;
    virtual void Imposta_Opzione_Grafici() = 0;
};

class ControlloreGradi : public QObject {
    Q_OBJECT
public:
    ControlloreGradi(Stato &stato, PannelloCicli &cicli, AreaGrafici &area, MotoreIndicatori &motore,
                     RichiesteGradi &richieste, QObject *parent);

    // A degree check box ticked or cleared by the user: the degree gets or leaves a slot.
    void Chk_Battl_Click(int index);

private:
    Stato &m_stato;
    PannelloCicli &m_cicli;
    AreaGrafici &m_area;
    MotoreIndicatori &m_motore;
    RichiesteGradi &m_richieste;
};
