#pragma once

// One chart panel Frm_Graf(s): the picture box holding the chart, the loading
// label, the update lamp, the two scroll bars and the five panel buttons. Geometry
// is set by the layouts in twips; the panel itself has no layout of its own.

#include "platform/BarraScorrimento.h"
#include "shell/LayoutGrafici.h"

#include <QFrame>
#include <cstdint>

class GraficoWidget;
class QLabel;
class QPushButton;
class QScrollBar;

// A scroll bar seen through BarraScorrimento: the ends may come in either order.
// A bar whose larger end is at the top (or left) keeps Qt's plain orientation and
// holds the mirrored value, so its arrows, keys and wheel move the thumb the way
// they point; read and write its value through here, not through the QScrollBar.
class BarraQt : public BarraScorrimento {
public:
    explicit BarraQt(QScrollBar *barra) : m_barra(barra) {}
    void Imposta_Min(int valore) override;
    void Imposta_Max(int valore) override;
    int Min() const override { return m_min; }
    int Max() const override { return m_max; }
    void Imposta_Valore(int valore) override;
    int Valore() const override;

private:
    void Applica();
    int Specchio(int valore) const;
    QScrollBar *m_barra;
    int m_min = 0;
    int m_max = 100;
};

class RiquadroGrafico : public QFrame {
    Q_OBJECT
public:
    RiquadroGrafico(int slot, QWidget *parent = nullptr);
    ~RiquadroGrafico() override;

    int slot() const { return m_slot; }

    QWidget *Pic_Graf;
    GraficoWidget *Graf_Battleplan;
    QLabel *Lbl_In_Caricamento;
    QLabel *Led_Agg_Storico_RT;
    QScrollBar *Hsc_Graf;
    QScrollBar *Hsc_Graf_Y;
    QPushButton *Cmd_Foto;
    QPushButton *Cmd_Sposta;
    QPushButton *Cmd_GRaf_P;
    QPushButton *Cmd_GRaf_M;
    QPushButton *Cmd_Coord;

    BarraQt &Barra_X() { return m_barraX; }
    BarraQt &Barra_Y() { return m_barraY; }

    void Colore_Led(std::uint32_t coloreWin);
    std::uint32_t Colore_Led() const { return m_led; }
    // The panel's and its picture box's ground.
    void Colore_Sfondo(std::uint32_t coloreWin);
    // Tells the chart what of it stays in sight, given in twips by the layout.
    void Imposta_Vista(const layout::VistaGrafico &vista);
    void Colore_Etichetta(std::uint32_t sfondoWin, std::uint32_t testoWin);

    // Design sizes (twips) read back by the layouts.
    static constexpr double Altezza_Etichetta = 300;
    static constexpr double Larghezza_Etichetta = 2000;
    static constexpr double Lato_Led = 150;
    static constexpr double Spessore_Barra = 255;
    static constexpr double Lato_Pulsante = 300;

private:
    int m_slot;
    BarraQt m_barraX;
    BarraQt m_barraY;
    std::uint32_t m_led = 0;
};
