#pragma once

// The content of the chart frame Frm_Battleplan: the four chart panels, the tool
// frame with its two sliders and the coordinates box. It is the window side of
// the chart drawing (ControlliGrafici) and applies the four-chart layout.

#include "cycle/ControlliGrafici.h"

#include <QWidget>
#include <array>

struct Stato;
class PannelloIndicatori;
class RiquadroGrafico;
class QFrame;
class QLineEdit;
class QSlider;

class AreaGrafici : public QWidget, public ControlliGrafici {
    Q_OBJECT
public:
    AreaGrafici(Stato &stato, QWidget *parent = nullptr);

    std::array<RiquadroGrafico *, 4> Frm_Graf{};
    QFrame *Frm_Strumenti;
    QSlider *Sld_Zoom;
    QSlider *Sld_Compr;
    QLineEdit *Text_Coord_Graf;
    QLineEdit *Text_Time_Frame;  // in Frm_Strumenti: the enlarged chart's timeframe
    PannelloIndicatori *Pannello_Indicatori = nullptr;  // in Frm_Strumenti, filled by the layout

    // ControlliGrafici
    GraficoControllo *Graf_Battleplan(int slot) override;
    BarraScorrimento *Hsc_Graf(int slot) override;
    BarraScorrimento *Hsc_Graf_Y(int slot) override;
    void Mostra_Comandi_Slot(int slot, bool visibili) override;
    int Sld_Zoom_Max() const override;

    // Four panels two by two in the frame's current size ("RIDOTTO").
    void Imposta_Layout_Ridotto();
    // One panel enlarged beside the tool frame ("GRANDE"), the tool frame showing
    // the settings of Grado_Corrente. A slot outside 0..3 changes nothing.
    void Imposta_Layout_Grande(int grafico);
    // Every lamp in one colour (lit after a bar update, idle afterwards).
    void Colora_Led(std::uint32_t coloreWin);
    void Nascondi_Etichette_Caricamento();

signals:
    // The enlarge and reduce buttons of a panel were clicked.
    void Cmd_GRaf_P_Cliccato(int slot);
    void Cmd_GRaf_M_Cliccato(int slot);

private:
    Stato &m_stato;
};
