#pragma once

#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

// A client of one of zra70d's servers on a real socket, reading through the event loop.
struct SocketClient {
    explicit SocketClient(quint16 port)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.waitForConnected(5000);
    }

    void send(const QByteArray &bytes)
    {
        socket.write(bytes);
        socket.flush();
    }
    // The next `count` bytes received, or what came within 5 s.
    QByteArray bytes(qsizetype count)
    {
        [[maybe_unused]] const bool came =
            QTest::qWaitFor([&] { return (received += socket.readAll()).size() >= count; }, 5000);
        return std::exchange(received, received.mid(count)).left(count);
    }
    // The next `count` replies, each up to its carriage return.
    QByteArray replies(int count = 1)
    {
        [[maybe_unused]] const bool came = QTest::qWaitFor(
            [&] { return (received += socket.readAll()).count('\r') >= count; }, 5000);
        qsizetype end = 0;
        for (int i = 0; i < count && end >= 0; ++i)
            end = received.indexOf('\r', end) + 1;
        return bytes(end > 0 ? end : received.size());
    }
    bool isClosedByServer()
    {
        QSignalSpy closed(&socket, &QTcpSocket::disconnected);
        return socket.state() == QAbstractSocket::UnconnectedState || closed.wait(5000);
    }

    QTcpSocket socket;
    QByteArray received;
};
