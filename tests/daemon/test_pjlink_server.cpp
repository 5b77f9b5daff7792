#include "pjlink_auth.h"
#include "pjlink_server.h"
#include "service_rig.h"

namespace {

const QByteArray Password = "JBMIAProjectorLink";

// The digest for the greeting's random number.
QByteArray login(SocketClient &client)
{
    return pjlinkDigest(client.replies().mid(9, 8), Password);
}

} // namespace

// The PJLink server on a real socket in front of the service rig, whose stepped clock also
// drives the idle timer.
class PjlinkServerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ServiceRig> rig;

    std::unique_ptr<PjlinkServer> serve(std::optional<QByteArray> password, int connections = 32)
    {
        auto server = std::make_unique<PjlinkServer>(
            rig->service, rig->clock, rig->log,
            PjlinkServer::Settings{{"hall", "1.40"}, std::move(password), connections});
        QString problem;
        return server->listen({}, &problem) ? std::move(server) : nullptr;
    }

private slots:
    void init() { rig = std::make_unique<ServiceRig>(); }

    // However the client cuts and ends its lines, blank lines and what is not a command
    // passed over, an overlong line refused whole; each piece is written on its own.
    void linesArriveInAnyPieces()
    {
        const auto server = serve(Password);
        SocketClient client(server->address().port);
        const QByteArray digest = login(client);
        for (const QByteArray &piece :
             {"\r\n" + digest.left(16), digest.mid(16) + "%1CL",
              "SS ?\n%1NAME " + QByteArray(300, '?') + "\r\nGET / HTTP/1.1\r\n\r%1INF1 ?",
              QByteArray("\r")})
            client.send(piece);
        QCOMPARE(client.replies(3), QByteArray("%1CLSS=1\r%1NAME=ERR2\r%1INF1=TAVO\r"));
    }

    // A digest is good for its connection only: each greeting has a new random number.
    void anotherConnectionsDigestClosesTheConnectionBeforeTheLine()
    {
        const auto server = serve(Password);
        SocketClient other(server->address().port), client(server->address().port);
        const QByteArray digest = login(other);
        QVERIFY(client.replies().startsWith("PJLINK 1 "));
        client.send(digest + "%1POWR 1\r%1POWR 1\r");
        QCOMPARE(client.replies(), QByteArray("PJLINK ERRA\r"));
        QVERIFY(client.isClosedByServer());
        QCOMPARE(rig->line.written, QList<QByteArray>());
    }

    // The power phase is read first, then the command goes out; the projector's refusal and
    // its silence come back as the standard's errors.
    void aSetGoesOnTheLineAndComesBackAsItEnded()
    {
        const auto server = serve(Password);
        SocketClient client(server->address().port);
        client.send(login(client) + "%1POWR 1\r");
        QTRY_COMPARE(rig->line.written, QList<QByteArray>{"CR0\r"});
        rig->line.deliver("00\r");
        QTRY_COMPARE(rig->line.written.size(), 2);
        QCOMPARE(rig->line.written[1], QByteArray("C00\r"));
        rig->line.deliver("\x15");
        QCOMPARE(client.replies(), QByteArray("%1POWR=ERR2\r"));

        client.send("%1AVMT 30\r");
        QTRY_COMPARE(rig->line.written.size(), 3);
        QCOMPARE(rig->line.written[2], QByteArray("C0E\r"));
        rig->clock.advance(5000); // no reply
        QCOMPARE(client.replies(), QByteArray("%1AVMT=ERR4\r"));
        QCOMPARE(rig->line.written.size(), 3); // the sound mute is not sent after that
    }

    void anIdleConnectionIsClosedAfterThirtySeconds()
    {
        const auto server = serve(std::nullopt);
        SocketClient silent(server->address().port), talking(server->address().port);
        QCOMPARE(silent.replies(), QByteArray("PJLINK 0\r"));
        QCOMPARE(talking.replies(), QByteArray("PJLINK 0\r"));
        rig->clock.advance(20000);
        talking.send("%1CLSS ?\r");
        QCOMPARE(talking.replies(), QByteArray("%1CLSS=1\r"));
        rig->clock.advance(10000);
        QVERIFY(silent.isClosedByServer());
        talking.send("%1CLSS ?\r");
        QCOMPARE(talking.replies(), QByteArray("%1CLSS=1\r"));
        rig->clock.advance(30000);
        QVERIFY(talking.isClosedByServer());
    }

    // Shared with the line port.
    void connectionsBeyondTheLimitAreClosedAtOnce()
    {
        const auto server = serve(std::nullopt, 1);
        auto first = std::make_unique<SocketClient>(server->address().port);
        QCOMPARE(first->replies(), QByteArray("PJLINK 0\r"));
        SocketClient second(server->address().port);
        QVERIFY(second.isClosedByServer());
        QCOMPARE(second.received + second.socket.readAll(), QByteArray());
        first.reset();
        QTRY_COMPARE(server->clientCount(), 0);
        SocketClient third(server->address().port);
        QCOMPARE(third.replies(), QByteArray("PJLINK 0\r"));
    }
};

QTEST_GUILESS_MAIN(PjlinkServerTest)
#include "test_pjlink_server.moc"
