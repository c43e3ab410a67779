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

    // Design client area in twips.
    static constexpr double Larghezza = 5820;
    static constexpr double Altezza = 2550;

signals:
    void Premuto(messaggi::Bottone bottone);

public slots:
    void reject() override {}

protected:
    void closeEvent(QCloseEvent *evento) override;

private:
    int m_tipo = 0;
};
