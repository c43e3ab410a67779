#include "platform/Socket.h"

#include "platform/Codec1252.h"

#include <QTcpSocket>

Socket::Socket(QObject *parent) : QObject(parent), m_socket(new QTcpSocket(this))
{
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(m_socket, &QTcpSocket::connected, this, &Socket::Connected);
    connect(m_socket, &QTcpSocket::readyRead, this, [this] {
        const QByteArray byte = m_socket->readAll();
        if (!byte.isEmpty())
            emit DataArrival(byte);
    });
    connect(m_socket, &QTcpSocket::disconnected, this, [this] {
        if (!m_chiusuraLocale)
            emit Closed();
    });
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        // The peer closing is reported through Closed, not as a failure.
        if (e != QAbstractSocket::RemoteHostClosedError)
            emit Error(m_socket->errorString());
    });
}

Socket::~Socket() = default;

int Socket::State() const
{
    switch (m_socket->state()) {
    case QAbstractSocket::ConnectedState:
        return Connesso;
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState:
        return InConnessione;
    default:
        return Chiuso;
    }
}

void Socket::Connect(const QString &host, quint16 porta)
{
    m_chiusuraLocale = true;
    m_socket->abort();
    m_chiusuraLocale = false;
    m_socket->connectToHost(host, porta);
}

bool Socket::SendData(const QString &testo)
{
    if (State() != Connesso)
        return false;
    bool ok = false;
    const QByteArray byte = codec1252::Codifica(testo, &ok);
    if (!ok)
        return false;
    return m_socket->write(byte) == byte.size();
}

void Socket::Close()
{
    if (m_socket->state() == QAbstractSocket::UnconnectedState)
        return;
    m_chiusuraLocale = true;
    m_socket->flush();
    m_socket->disconnectFromHost();
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        m_socket->abort();
    m_chiusuraLocale = false;
}
