#include "platform/Socket.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

// Closed tells the peer's close apart from our own.
class SocketTest : public QObject {
    Q_OBJECT
private slots:
    void chiusura_del_peer_e_nostra()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        Socket s;
        QSignalSpy chiuso(&s, &Socket::Closed);
        QSignalSpy connesso(&s, &Socket::Connected);
        s.Connect(QStringLiteral("127.0.0.1"), server.serverPort());
        QTRY_COMPARE(connesso.size(), 1);
        QCOMPARE(s.State(), int(Socket::Connesso));
        QTRY_VERIFY(server.hasPendingConnections());
        QTcpSocket *peer = server.nextPendingConnection();
        // Windows-1252 on the wire; text that has no byte there is refused.
        QVERIFY(s.SendData(QStringLiteral("COMM18\u00D8")));
        QTRY_COMPARE(peer->bytesAvailable(), qint64(7));
        QCOMPARE(peer->readAll(), QByteArray("COMM18\xD8"));
        QVERIFY(!s.SendData(QStringLiteral("\u4E2D")));
        // Our own close: no Closed.
        s.Close();
        QCOMPARE(s.State(), int(Socket::Chiuso));
        QTest::qWait(20);
        QCOMPARE(chiuso.size(), 0);

        // The peer's close: Closed once.
        s.Connect(QStringLiteral("127.0.0.1"), server.serverPort());
        QTRY_COMPARE(connesso.size(), 2);
        QTRY_VERIFY(server.hasPendingConnections());
        QTcpSocket *peer2 = server.nextPendingConnection();
        peer2->disconnectFromHost();
        QTRY_COMPARE(chiuso.size(), 1);
        // Reconnecting over an open connection is not a close by the peer either.
        s.Connect(QStringLiteral("127.0.0.1"), server.serverPort());
        QTRY_COMPARE(connesso.size(), 3);
        s.Connect(QStringLiteral("127.0.0.1"), server.serverPort());
        QTRY_COMPARE(connesso.size(), 4);
        QCOMPARE(chiuso.size(), 1);
    }
};

QTEST_GUILESS_MAIN(SocketTest)
#include "SocketTest.moc"
