#pragma once

// The tool buttons of Frm_Strumenti: picture buttons without caption, four
// colours of line, text and distance, the three delete tools and the chart's own
// pointer switch and the button of the objects panel, whose clicks go to the tool logic; the two
// grid switches and the price line's look, whose clicks the window answers.

#include <QWidget>
#include <array>

class QToolButton;
class StrumentiGrafici;

class PulsantiStrumenti : public QWidget {
    Q_OBJECT
public:
    PulsantiStrumenti(StrumentiGrafici &strumenti, QWidget *parent = nullptr);

    std::array<QToolButton *, 4> Cmd_Line{};
    QToolButton *Cmd_Cancella_Linea;
    std::array<QToolButton *, 4> Cmd_Testo{};
    QToolButton *Cmd_Cancella_Testo;
    std::array<QToolButton *, 4> Cmd_Distanza{};
    QToolButton *Cmd_Cancella_Distanza;
    QToolButton *Cmd_Punt_Graf;
    QToolButton *Cmd_Oggetti_Graf;  // opens the objects panel
    std::array<QToolButton *, 2> Cmd_Griglia_Graf{};
    QToolButton *Cmd_Linea_Stor;
};
