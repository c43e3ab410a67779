#pragma once

#include "shell/Messaggi.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The small modal message window: a picture, the text and the buttons OK, SI, NO.
// A fresh one is made for every message, so each starts from its design state.
// It closes only through its buttons: Esc and the frame's close do nothing.
class FormMsg : public QDialog {
    Q_OBJECT
public:
    explicit FormMsg(QWidget *parent = nullptr);

    void Prepara(const messaggi::Preparazione &p);
    int Tipo() const { return m_tipo; }

    QPlainTextEdit *Text_Msg;
    QLabel *Pic1;
    QLabel *Pic2;
    QWidget *Picture1;
    QPushButton *Cmd_Ok;
    QPushButton *Cmd_Si;
    QPushButton *Cmd_No;

    // Design client area in twips, with the text box's height and the button strip's top:
    // a text that needs more lines grows the box and the window by as much.
    static constexpr double Larghezza = 5820;
    static constexpr double Altezza = 2550;
    static constexpr double Altezza_Testo = 1695;
    static constexpr double Top_Bottoni = 1920;

signals:
    void Premuto(messaggi::Bottone bottone);

public slots:
    void reject() override {}

protected:
    void closeEvent(QCloseEvent *evento) override;

private:
    void Adatta_Al_Testo();

    int m_tipo = 0;
};
