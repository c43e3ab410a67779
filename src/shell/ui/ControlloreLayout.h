#pragma once

// The panel layout: the working window's size and panels (Imposta_Titolo_Finestra,
// the offline panel), the resize rules (Form_Resize), the history panel
// (Cmd_Storico), the four-chart and one-chart layouts (Imposta_Layout_*) and the
// chart panels' enlarge and reduce buttons. It places the form's frames, the
// chat column, AreaGrafici, PannelloStorico and fills ControlliCiclo.

#include <QObject>

struct Stato;
class AreaGrafici;
class ControlliCiclo;
class FormS1;
class PannelloQuotazioni;
class PannelloStorico;
class StrumentiFinestra;

class ControlloreLayout : public QObject {
    Q_OBJECT
public:
    ControlloreLayout(Stato &stato, FormS1 &form, AreaGrafici &area, PannelloStorico &storico,
                      PannelloQuotazioni &quotazioni, ControlliCiclo &controlliCiclo, StrumentiFinestra &strumenti,
                      QObject *parent);

    void Form_Resize();
    void Form_MouseUp();
    void Cmd_Storico_Click();
    void Imposta_Titolo_Finestra();
    void Imposta_Pannelli_Modalita();
    void Imposta_Layout_Senza_Storico();
    void Imposta_Layout_Con_Storico();
    void Imposta_Layout_Ridotto();
    // The one-chart layout, and the panel buttons that enter and leave it.
    void Imposta_Layout_Grande(int grafico);
    void Cmd_GRaf_P_Click(int index);
    void Cmd_GRaf_M_Click(int index);
    // The history panel closed and the four charts in the frame it leaves.
    void Chiudi_Storico();

    // Window size in twips (outer size).
    double Larghezza_Twips() const;
    double Altezza_Twips() const;

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    void Prepara_Colonna_Sinistra();
    void Imposta_Colonna_Chat();
    // The chart layout in use, again at the chart frame's current size.
    void Ridisponi_Grafici();

    Stato &m_stato;
    FormS1 &m_form;
    AreaGrafici &m_area;
    PannelloStorico &m_storico;
    PannelloQuotazioni &m_quotazioni;
    ControlliCiclo &m_controlliCiclo;
    StrumentiFinestra &m_strumenti;
    bool m_inResize = false;
};
