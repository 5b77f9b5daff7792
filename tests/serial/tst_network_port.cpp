#include "captured_servers.h"
#include "line_end.h"
#include "loopback_port.h"
#include "mapped_serial_port.h"
#include "network_link.h"
#include "program_run.h"
#include "projector_simulator.h"
#include "serial_server.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <termios.h>

// The port across Debian's real serial servers in front of the projector simulator's
// pseudo-terminal (ser2net in both of its modes, sredird), against the same simulator reached
// directly; and the RFC 2217 handshake against a server played from captured bytes.
namespace {

using Kind = SerialServer::Kind;

// Short waits, so that failures show quickly; the retry interval is the program's own.
constexpr NetworkTimings TestTimings{1000, 200, 1000};

// Opens port 1 and waits until its link is up: nothing, or the reason it is not.
QString openAndWait(SerialPort &port)
{
    QSignalSpy lost(&port, &SerialPort::linkLost);
    if (const PortStatus opened = port.open(); !opened)
        return opened.description();
    if (!QTest::qWaitFor([&] { return port.isReady() || !lost.isEmpty(); }, 5000))
        return QStringLiteral("neither up nor lost");
    return lost.isEmpty() ? QString() : lost.first().first().toString();
}

// What `zra70ctl status` prints over the port: the nine queries, decoded as the panel decodes
// them.
QByteArray statusOver(const QString &port)
{
    const ProgramRun status = runProgram(ZRA70CTL_PROGRAM, {"--port", port, "status"});
    return status.out + status.err;
}

} // namespace

class NetworkPortTest : public QObject {
    Q_OBJECT
private slots:
    void eachServerCarriesEveryByteAndComesBackAfterItStops_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::newRow("ser2net, raw TCP") << Kind::Ser2netRawTcp;
        QTest::newRow("ser2net, RFC 2217") << Kind::Ser2netRfc2217;
        QTest::newRow("sredird") << Kind::Sredird;
    }
    void eachServerCarriesEveryByteAndComesBackAfterItStops()
    {
        QFETCH(Kind, kind);
        ProjectorSimulator simulator;
        QVERIFY(simulator.start());
        LineEnd line(simulator.devicePath()); // opened first: it sees the settings the server makes
        const QByteArray overLocalLine = statusOver(simulator.devicePath());
        QCOMPARE(overLocalLine.count('\n'), 9);

        SerialServer server;
        QCOMPARE(server.start(simulator.devicePath(), kind), QString());
        QCOMPARE(statusOver(server.url()), overLocalLine);
        qputenv("ZRA70_COM1", server.url().toLocal8Bit());
        MappedSerialPort port(TestTimings);
        QVERIFY(port.setSettings(QStringLiteral("19200,N,8,1")));
        QCOMPARE(openAndWait(port), QString());
        QCOMPARE(port.deviceName(), server.url());
        QSignalSpy lost(&port, &SerialPort::linkLost);
        QSignalSpy events(&port, &SerialPort::commEvent);
        QSignalSpy returned(&port, &SerialPort::deviceReturned);

        // Every byte value, 0xFF and a carriage return followed by NUL among them, arrives as sent.
        QByteArray everyByte;
        for (int value = 0; value < 256; ++value)
            everyByte += char(value);
        everyByte += QByteArray("\r\0C00\r", 6);
        QByteArray before = simulator.rawBytesReceived();
        QVERIFY(port.write(everyByte));
        QTRY_COMPARE_WITH_TIMEOUT(simulator.rawBytesReceived().mid(before.size()).toHex(' '),
                                  everyByte.toHex(' '), 3000);

        // A new speed reaches the line behind an RFC 2217 server.
        if (kind != Kind::Ser2netRawTcp) {
            QCOMPARE(line.outputSpeed(), speed_t(B19200));
            QVERIFY(port.setSettings(QStringLiteral("9600,N,8,1")));
            QTRY_COMPARE_WITH_TIMEOUT(line.outputSpeed(), speed_t(B9600), 3000);
        }

        // Commands in a row keep the link up (an acknowledgement with another speed would have
        // closed it) until the server stops; that is told once, and nothing is sent until the
        // server is back and the port reopened.
        before = simulator.rawBytesReceived();
        for (int i = 0; i < 5; ++i)
            QVERIFY(port.write("C09\r"));
        QTRY_COMPARE_WITH_TIMEOUT(simulator.rawBytesReceived().mid(before.size()),
                                  QByteArray("C09\r").repeated(5), 3000);
        server.stop();
        QTRY_COMPARE_WITH_TIMEOUT(lost.size(), 1, 3000);
        QCOMPARE(lost.first().first().toString(),
                 QStringLiteral("The connection on serial port 1 was lost: the server at "
                                "127.0.0.1:%1 closed the connection.")
                     .arg(server.port()));
        QCOMPARE(events.count(QVariantList{int(SerialPort::EventDeviceError)}), 1);
        QVERIFY(!port.isOpen());
        QVERIFY(!port.write("C09\r"));

        before = simulator.rawBytesReceived();
        QCOMPARE(server.start(simulator.devicePath(), kind), QString());
        QVERIFY(returned.wait(5000));
        QVERIFY(port.open());
        QVERIFY(port.isReady()); // the link that answered the retry is taken over
        QVERIFY(port.write("CR0\r"));
        QTRY_COMPARE_WITH_TIMEOUT(simulator.rawBytesReceived().mid(before.size()),
                                  QByteArray("CR0\r"), 3000);
        QCOMPARE(lost.size(), 1);
        QCOMPARE(returned.size(), 1);
    }

    void failuresSayWhatToDo()
    {
        ProjectorSimulator simulator;
        QVERIFY(simulator.start());
        SerialServer raw, missingDevice;
        QCOMPARE(raw.start(simulator.devicePath(), Kind::Ser2netRawTcp), QString());
        QCOMPARE(missingDevice.start("/nonexistent/ttyUSB9", Kind::Ser2netRfc2217), QString());
        const quint16 nobody = freeLoopbackPort();
        const std::tuple<QString, bool, const char *> cases[] = {
            // the address, whether the port watches for the server's return, what it says
            {QStringLiteral("tcp://127.0.0.1:%1").arg(nobody), true, "refused the connection"},
            {QStringLiteral("rfc2217://127.0.0.1:%1").arg(raw.port()), false,
             "does not speak RFC 2217"},
            {missingDevice.url(), true, "saying \"Device open failure"},
        };
        for (const auto &[address, retried, expected] : cases) {
            qputenv("ZRA70_COM1", address.toLatin1());
            MappedSerialPort port(TestTimings);
            const QString problem = openAndWait(port);
            QVERIFY2(problem.startsWith("Serial port 1 cannot be opened") &&
                         problem.contains(expected) && problem.contains(address.section(':', -1)),
                     qPrintable(problem));
            QVERIFY(!port.isOpen() && !port.write("C00\r"));
            QCOMPARE(port.isWatchingForReturn(), retried);
        }
    }

    // sredird's side played from its captured bytes, with an option slipped in (WILL 24) that
    // is refused at once (DONT 24), so that what the link wrote by then is known to be in.
    void nothingReachesTheLineBeforeEverySettingIsAcknowledged()
    {
        const QByteArray acks = hex(CapturedServers[1].acks19200);
        QTcpServer listener;
        QVERIFY(listener.listen(QHostAddress::LocalHost));
        NetworkLink link({NetworkAddress::Kind::Rfc2217, "127.0.0.1", listener.serverPort()},
                         LineSettings{19200}, 5000, 200);
        QSignalSpy ready(&link, &NetworkLink::ready);
        QVERIFY(link.write("C00\r")); // while connecting
        QVERIFY(listener.waitForNewConnection(5000));
        QTcpSocket *server = listener.nextPendingConnection();
        QByteArray received;
        const auto receiveUntil = [&](const QByteArray &end) {
            return QTest::qWaitFor([&] { return (received += server->readAll()).endsWith(end); },
                                   5000);
        };
        const qsizetype lastAck = acks.indexOf(hex("fffa2c69"));

        QVERIFY(receiveUntil(hex("fffb2c")));
        server->write(hex(CapturedServers[1].greeting));
        QVERIFY(receiveUntil(hex("fffa2c0501fff0"))); // the last setting asked
        QVERIFY(link.write("C01\r"));                 // while negotiating
        server->write(acks.first(lastAck) + hex("fffb18"));
        QVERIFY(receiveUntil(hex("fffe18")));
        QVERIFY2(!received.contains("C0"), received.toHex(' ').constData());
        QVERIFY(!link.isReady());

        received.clear();
        server->write(acks.sliced(lastAck));
        QVERIFY(receiveUntil("C00\rC01\r"));
        QCOMPARE(received, QByteArray("C00\rC01\r"));
        QCOMPARE(ready.size(), 1);
    }
};

QTEST_GUILESS_MAIN(NetworkPortTest)
#include "tst_network_port.moc"
