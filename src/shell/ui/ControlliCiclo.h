#pragma once

// The cycle controls of the tool frame Frm_Strumenti: the sub-cycle and "Tempi"
// combo boxes, the Battleplan proportion and trend, the duration buttons with
// their box, and the zoom and compression buttons beside the sliders. The
// one-chart layout fills them with the current degree's settings (writes that
// save nothing); the user's changes go to RegolazioneCiclo and NavigazioneGrafico.

#include "shell/LayoutGrande.h"
#include "shell/RegolazioneCiclo.h"

#include <QWidget>
#include <array>

class AreaGrafici;
class ControlloreRidisegno;
class PannelloCicli;
struct Stato;
class NavigazioneGrafico;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class ControlliCiclo : public QWidget, public AmbienteRegolazione {
    Q_OBJECT
public:
    ControlliCiclo(Stato &stato, AreaGrafici &area, ControlloreRidisegno &ridisegno, PannelloCicli &cicli,
                   NavigazioneGrafico &navigazione, QWidget *parent);

    RegolazioneCiclo &Regolazione() { return m_regolazione; }

    QLabel *Lbl_Sottocicli;
    QComboBox *Cmb_Sottocicli;
    QLabel *Lbl_Tempi;
    QComboBox *Cmb_Tempi;
    QPushButton *Cmd_Prop_Battl_M1;
    QLineEdit *Text_Prop_Battl;
    QPushButton *Cmd_Prop_Battl_P1;
    QPushButton *Cmd_Tend_M;
    QLineEdit *Text_Tend;
    QPushButton *Cmd_Tend_P;
    // Index 0..2: the small, medium and large step.
    std::array<QPushButton *, 3> Cmd_Dur_M{};
    std::array<QPushButton *, 3> Cmd_Dur_P{};
    QLineEdit *Text_Dur;
    QPushButton *Cmd_Zoom_M;
    QPushButton *Cmd_Zoom_P;
    QPushButton *Cmd_Compr_M;
    QPushButton *Cmd_Compr_P;

    // Design geometry, twips: the panel's top in the tool frame and its height,
    // and the top of the duration row, where Cmd_Dur_P1 and Cmd_Dur_M1 stand.
    static constexpr double Top = layout::Top_Controlli_Ciclo;
    static constexpr double Altezza = layout::Altezza_Controlli_Ciclo;
    static constexpr double Top_Durata = 1000;

    // The list entries: 1..6 and 1..20.
    void Carica_Combo();
    // The current degree's settings, and the duration buttons by its timeframe.
    void Riempi();

    // AmbienteRegolazione
    ControlliGrafici &Controlli() override;
    void Disegna_Grafico(int grafico, int grado) override;
    void Aggiorna_Etichette_Gradi() override;
    void Ferma_Timer_Indicatori() override;
    void Arma_Timer_Indicatori() override;
    void Fuoco_Grafico(int grafico) override;
    void Mostra_Prop_Battl(const QString &testo) override;
    void Mostra_Tend(const QString &testo) override;
    void Mostra_Dur(const QString &testo) override;
    void Mostra_Errore(const QString &testo) override;

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    void Disponi_Durata(int grado);

    Stato &m_stato;
    AreaGrafici &m_area;
    ControlloreRidisegno &m_ridisegno;
    PannelloCicli &m_cicli;
    RegolazioneCiclo m_regolazione;
};
