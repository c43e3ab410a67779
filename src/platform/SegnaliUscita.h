#pragma once

// SIGTERM and SIGHUP (a desktop logout, a service stopped) as a Qt signal on the thread
// that made this object. A signal handler may do almost nothing: it writes the signal's
// number to one end of a socket pair, and a notifier on the other end reads it where the
// program can act. One object at a time takes the signals; it gives them back to the
// system's default when it goes.

#include <QObject>

class QSocketNotifier;

class SegnaliUscita : public QObject {
    Q_OBJECT
public:
    explicit SegnaliUscita(QObject *parent = nullptr);
    ~SegnaliUscita() override;

    // False when the signals could not be taken (another object holds them, no socket pair).
    bool Attivo() const { return m_notifica != nullptr; }

signals:
    void Richiesta_Uscita(int segnale);

private:
    void Leggi();

    int m_coppia[2] = {-1, -1};
    QSocketNotifier *m_notifica = nullptr;
};
