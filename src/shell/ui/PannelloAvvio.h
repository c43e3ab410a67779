#pragma once

#include <QFrame>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The login panel of the start window. Controls keep the names the rest of the
// program knows them by (also as objectName, for lookups and tests).
class PannelloAvvio : public QFrame {
    Q_OBJECT
public:
    explicit PannelloAvvio(QWidget *parent = nullptr);

    QLabel *Lbl_UserId;
    QLineEdit *Text_ID;
    QLabel *Lbl_Password;
    QLineEdit *Text_Password;
    QCheckBox *Chk_Ricordami;
    QPushButton *Cmd_OnLine;
    QPushButton *Cmd_OffLine;
    QLabel *Lbl_Stato_Connessione;
    QLabel *Lbl_Stato;
    QLabel *Lbl_Avan;
    QProgressBar *PB_Avvio_T;
    QLabel *Lbl_Relase;
    QLabel *Lbl_Link_0;  // copy 0 of the web-link label

    // Design size in twips.
    static constexpr double Larghezza = 5280;
    static constexpr double Altezza = 3840;

signals:
    // Enter in the user id or password box starts online, like the button.
    void Invio();

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;
};

namespace finestra {

// Places a widget by its design geometry in twips, relative to its container.
void Piazza(QWidget *w, double left, double top, double width, double height);

}  // namespace finestra
