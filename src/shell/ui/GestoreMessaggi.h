#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

struct StatoShell;
class FormMsg;
class QWidget;

// Mostra_Messaggio, and the drain of the server texts queued while a message window
// was open (the session queues them in Coda_Messaggi). One message window is shown
// at a time per call; a call made while another window is open (a server text during
// the drain pause) opens its own and returns when that closes.
class GestoreMessaggi : public QObject {
    Q_OBJECT
public:
    // `centro` is the window the message is centred on (FormS1); `chiudiProgramma`
    // ends the program and never returns.
    GestoreMessaggi(StatoShell &shell, QWidget *centro, std::function<void()> chiudiProgramma,
                    QObject *parent = nullptr);

    // Modal: returns when the window (and any queued text shown after it) has closed.
    void Mostra_Messaggio(int tipo, const QString &testo);

    bool Form_Msg_Visibile() const;
    FormMsg *Form_Msg() const;  // the newest open window, or nullptr

    // Closes every open message window without running any button's action.
    void Scarica_Form_Msg();
    // The exit has begun: the windows closed, and from now on none opens and nothing
    // queued is shown.
    void Ferma();

    // Pause between a closed window and the next queued text (0.5 s).
    double Pausa_Coda = 0.5;

signals:
    void Mostrato(FormMsg *finestra);  // the window is about to run modally

private:
    StatoShell &m_shell;
    QPointer<QWidget> m_centro;
    std::function<void()> m_chiudiProgramma;
    QList<QPointer<FormMsg>> m_aperte;
    bool m_fermo = false;
};
