#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpSocket;

// The main window's TCP client: one connection to the quote server. State()
// keeps the numbering the rest of the program tests (7 connected, 0 closed).
// Bytes arrive raw; cutting them into messages is the protocol decoder's job.
class Socket : public QObject {
    Q_OBJECT
public:
    enum Stato { Chiuso = 0, InConnessione = 6, Connesso = 7 };

    explicit Socket(QObject *parent = nullptr);
    ~Socket() override;

    int State() const;
    void Connect(const QString &host, quint16 porta);
    // Text is sent as Windows-1252; false when not connected or not encodable.
    bool SendData(const QString &testo);
    // Harmless when not open.
    void Close();

signals:
    void Connected();
    void DataArrival(const QByteArray &byte);
    void Closed();  // the peer closed the connection
    void Error(const QString &descrizione);

private:
    QTcpSocket *m_socket;
    bool m_chiusuraLocale = false;  // a close of our own is not the peer's
};
