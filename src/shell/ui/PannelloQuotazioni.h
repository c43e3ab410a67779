#pragma once

// The underlying panels of the working window: online (Frm_Dati_Sot: underlying,
// real-time quote boxes, connection state, lamp, buttons) and offline
// (Frm_Dati_Sot_Off: one option per underlying with local history).

#include <QObject>
#include <array>
#include <cstdint>

struct Stato;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

class PannelloQuotazioni : public QObject {
    Q_OBJECT
public:
    // Fills `frmDatiSot` and creates Frm_Dati_Sot_Off beside it in `finestra`.
    PannelloQuotazioni(Stato &stato, QFrame *frmDatiSot, QWidget *finestra);

    QFrame *Frm_Dati_Sot;
    QComboBox *Cmb_Sot;
    QLineEdit *Text_Data_Ora;
    QLineEdit *Text_Last;
    QLineEdit *Text_Var;
    QLineEdit *Text_Volume;
    QLineEdit *Text_Stato;
    QLabel *Led_RT;
    QPushButton *Cmd_Graf_RT;
    std::array<QPushButton *, 2> Cmd_Aspetto{};
    std::array<QPushButton *, 2> Cmd_Storico{};

    QFrame *Frm_Dati_Sot_Off;
    std::array<QRadioButton *, 7> Opt_Sott_Off{};

    // Design size of both frames, in twips.
    static constexpr double Larghezza = 2900;
    static constexpr double Altezza = 3400;

    // The quote boxes from the texts the session keeps.
    void Aggiorna_Caselle();
    void Colore_Led_RT(std::uint32_t coloreWin);
    void Colore_Graf_RT(std::uint32_t coloreWin);
    // Options labelled with the newest local daily date; those without history disabled.
    void Etichetta_Opzioni(const std::array<QString, 8> &etichette);

signals:
    void Aspetto_Cliccato();
    void Storico_Cliccato();
    void Sottostante_Offline_Scelto(int index);

private:
    Stato &m_stato;
};
