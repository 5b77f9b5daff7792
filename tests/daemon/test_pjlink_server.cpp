#include "fake_serial_port.h"
#include "fake_timers.h"
#include "pjlink_auth.h"
#include "pjlink_server.h"
#include "projector_service.h"
#include "service_log.h"

#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

namespace {

const QByteArray Password = "JBMIAProjectorLink";

// A PJLink client on a real socket, reading what the server writes through the event loop.
struct Client {
    QTcpSocket socket;
    QByteArray received;

    explicit Client(quint16 port) { socket.connectToHost(QHostAddress::LocalHost, port); }

    // The next `count` replies, each up to its carriage return.
    QByteArray replies(int count = 1)
    {
        [[maybe_unused]] const bool complete = QTest::qWaitFor(
            [&] { return (received += socket.readAll()).count('\r') >= count; }, 5000);
        qsizetype end = 0;
        for (int i = 0; i < count && end >= 0; ++i)
            end = received.indexOf('\r', end) + 1;
        return end > 0 ? std::exchange(received, received.mid(end)).left(end) : QByteArray();
    }
    // The digest for the greeting's random number.
    QByteArray login()
    {
        const QByteArray greeting = replies();
        return pjlinkDigest(greeting.mid(9, 8), Password);
    }
    void send(const QByteArray &bytes)
    {
        socket.write(bytes);
        socket.flush();
    }
    bool isClosedByServer()
    {
        QSignalSpy closed(&socket, &QTcpSocket::disconnected);
        return socket.state() == QAbstractSocket::UnconnectedState || closed.wait(5000);
    }
};

} // namespace

// The PJLink server on a real socket in front of the projector service, whose line is a
// recording port and whose clock (and the idle timer's) is stepped by hand.
class PjlinkServerTest : public QObject {
    Q_OBJECT

    FakeTimerService clock;
    FakeSerialPort line;
    std::unique_ptr<ProjectorService> service;
    ServiceLog log{false};

    std::unique_ptr<PjlinkServer> serve(std::optional<QByteArray> password, int connections = 32)
    {
        auto server = std::make_unique<PjlinkServer>(
            *service, clock, log,
            PjlinkServer::Settings{{"hall", "1.40"}, std::move(password), connections});
        QString problem;
        return server->listen({QHostAddress::LocalHost, 0}, &problem) ? std::move(server) : nullptr;
    }

private slots:
    void init()
    {
        line.written.clear();
        line.open();
        service = std::make_unique<ProjectorService>(line, clock, ProjectorService::Timing{});
    }

    // However the client cuts and ends its lines; {digest} stands for the right digest.
    // Each piece is written on its own.
    void linesArriveInAnyPieces_data()
    {
        QTest::addColumn<QByteArrayList>("writes");
        QTest::addColumn<QByteArray>("replies");
        const QByteArray two = "%1CLSS=1\r%1INF1=TAVO\r";
        QTest::newRow("one write") << QByteArrayList{"{digest}%1CLSS ?\r%1INF1 ?\r"} << two;
        QTest::newRow("digest split")
            << QByteArrayList{"{dig", "est}%1CL", "SS ?\r%1INF1 ?", "\r"} << two;
        QTest::newRow("CR LF") << QByteArrayList{"{digest}%1clss ?\r\n", "%1inf1 ?\r\n"} << two;
        QTest::newRow("LF") << QByteArrayList{"{digest}%1CLSS ?\n%1INF1 ?\n"} << two;
        QTest::newRow("too long") << QByteArrayList{"{digest}%1NAME " + QByteArray(300, '?') +
                                                    "\r%1CLSS ?\r"}
                                  << QByteArray("%1NAME=ERR2\r%1CLSS=1\r");
        QTest::newRow("blank and not a command")
            << QByteArrayList{"\r\n{digest}%1CLSS ?\r\r\nGET / HTTP/1.1\r\n%1INF1 ?\r"} << two;
    }
    void linesArriveInAnyPieces()
    {
        QFETCH(QByteArrayList, writes);
        QFETCH(QByteArray, replies);
        const auto server = serve(Password);
        Client client(server->address().port);
        const QByteArray digest = client.login();
        QByteArray pieces = writes.join('|');
        pieces.replace("{dig|est}", digest.left(16) + '|' + digest.mid(16));
        for (const QByteArray &piece : pieces.replace("{digest}", digest).split('|'))
            client.send(piece);
        QCOMPARE(client.replies(replies.count('\r')), replies);
    }

    // A digest is good for its connection only: each greeting has a new random number.
    void aWrongOrMissingDigestClosesTheConnectionBeforeTheLine_data()
    {
        QTest::addColumn<bool>("withDigest");
        QTest::newRow("another connection's") << true;
        QTest::newRow("missing") << false;
    }
    void aWrongOrMissingDigestClosesTheConnectionBeforeTheLine()
    {
        QFETCH(bool, withDigest);
        const auto server = serve(Password);
        Client other(server->address().port), client(server->address().port);
        const QByteArray digest = other.login();
        QVERIFY(client.replies().startsWith("PJLINK 1 "));
        client.send((withDigest ? digest : QByteArray()) + "%1POWR 1\r%1POWR 1\r");
        QCOMPARE(client.replies(), QByteArray("PJLINK ERRA\r"));
        QVERIFY(client.isClosedByServer());
        QCOMPARE(line.written, QList<QByteArray>());
    }

    // The power phase is read first, then the command goes out; the projector's refusal and
    // its silence come back as the standard's errors.
    void aSetGoesOnTheLineAndComesBackAsItEnded()
    {
        const auto server = serve(Password);
        Client client(server->address().port);
        client.send(client.login() + "%1POWR 1\r");
        QTRY_COMPARE(line.written, QList<QByteArray>{"CR0\r"});
        line.deliver("00\r");
        QTRY_COMPARE(line.written.size(), 2);
        QCOMPARE(line.written[1], QByteArray("C00\r"));
        line.deliver("\x15");
        QCOMPARE(client.replies(), QByteArray("%1POWR=ERR2\r"));

        client.send("%1AVMT 30\r");
        QTRY_COMPARE(line.written.size(), 3);
        QCOMPARE(line.written[2], QByteArray("C0E\r"));
        clock.advance(5000); // no reply
        QCOMPARE(client.replies(), QByteArray("%1AVMT=ERR4\r"));
        QCOMPARE(line.written.size(), 3); // the sound mute is not sent after that
    }

    void anIdleConnectionIsClosedAfterThirtySeconds()
    {
        const auto server = serve(std::nullopt);
        Client silent(server->address().port), talking(server->address().port);
        QCOMPARE(silent.replies(), QByteArray("PJLINK 0\r"));
        QCOMPARE(talking.replies(), QByteArray("PJLINK 0\r"));
        clock.advance(20000);
        talking.send("%1CLSS ?\r");
        QCOMPARE(talking.replies(), QByteArray("%1CLSS=1\r"));
        clock.advance(10000);
        QVERIFY(silent.isClosedByServer());
        talking.send("%1CLSS ?\r");
        QCOMPARE(talking.replies(), QByteArray("%1CLSS=1\r"));
        clock.advance(30000);
        QVERIFY(talking.isClosedByServer());
    }

    void connectionsBeyondTheLimitAreClosedAtOnce()
    {
        const auto server = serve(std::nullopt, 2);
        auto first = std::make_unique<Client>(server->address().port);
        Client second(server->address().port);
        QCOMPARE(first->replies(), QByteArray("PJLINK 0\r"));
        QCOMPARE(second.replies(), QByteArray("PJLINK 0\r"));
        Client third(server->address().port);
        QVERIFY(third.isClosedByServer());
        QCOMPARE(third.received + third.socket.readAll(), QByteArray());
        first.reset();
        QTRY_COMPARE(server->clientCount(), 1);
        Client fourth(server->address().port);
        QCOMPARE(fourth.replies(), QByteArray("PJLINK 0\r"));
    }
};

QTEST_GUILESS_MAIN(PjlinkServerTest)
#include "test_pjlink_server.moc"
