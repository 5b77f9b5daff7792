#include "fake_serial_port.h"
#include "fake_timers.h"
#include "line_framer.h"
#include "line_port_server.h"
#include "projector_service.h"
#include "service_log.h"

#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

namespace {

using Line = LineFramer::Line;
using Lines = QList<Line>;

Lines framed(LineFramer::Ends ends, const QByteArrayList &pieces, qsizetype max = 8)
{
    LineFramer framer(max, ends);
    Lines lines;
    for (const QByteArray &piece : pieces)
        lines += framer.feed(piece);
    return lines;
}

// The line port on a recording line and a stepped clock, with two connection places.
struct Rig {
    Rig()
    {
        line.open();
        ListenAddress loopback;
        QString problem;
        listening = server.listen(loopback, &problem);
    }
    std::unique_ptr<QTcpSocket> connectClient()
    {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, server.address().port);
        socket->waitForConnected(5000);
        return socket;
    }
    // Waits until the service has the command on the line.
    bool waitForWrite(qsizetype count)
    {
        return QTest::qWaitFor([&] { return line.written.size() >= count; }, 5000);
    }

    FakeTimerService clock;
    FakeSerialPort line;
    ServiceLog log{false};
    ProjectorService service{line, clock, {10000, 2000}};
    LinePortServer server{service, log, {2, 16, 64, 64 * 1024}};
    bool listening = false;
};

QByteArray readFrom(QTcpSocket &socket, qsizetype count)
{
    QByteArray bytes;
    [[maybe_unused]] const bool complete = QTest::qWaitFor(
        [&] {
            bytes += socket.readAll();
            return bytes.size() >= count;
        },
        5000);
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(LineFramer::Ends)

// The raw line port: lines cut from any pieces, each command one exchange whose reply goes back
// to its own client only, and the limits that keep a client from growing the service.
class LinePortTest : public QObject {
    Q_OBJECT
private slots:
    void bytesAreCutIntoLines_data()
    {
        QTest::addColumn<LineFramer::Ends>("ends");
        QTest::addColumn<QByteArrayList>("pieces");
        QTest::addColumn<Lines>("lines");
        using enum LineFramer::Ends;
        QTest::newRow("split anywhere")
            << CarriageReturn << QByteArrayList{"C", "0", "0\rCR", "0\r"}
            << Lines{{"C00"}, {"CR0"}};
        QTest::newRow("a line feed is a byte of the next line")
            << CarriageReturn << QByteArrayList{"C00\r\nCR0\r"} << Lines{{"C00"}, {"\nCR0"}};
        QTest::newRow("CR LF ends one line")
            << AnyLineEnd << QByteArrayList{"%1POWR ?\r", "\n%1LAMP ?\r\n"}
            << Lines{{"%1POWR ?"}, {"%1LAMP ?"}};
        QTest::newRow("LF alone ends a line")
            << AnyLineEnd << QByteArrayList{"a\nb\n\n"} << Lines{{"a"}, {"b"}, {""}};
        QTest::newRow("too long: given once, cut, the rest dropped")
            << CarriageReturn << QByteArrayList{"123456789", "abc\rok\r"}
            << Lines{{"12345678", true}, {"ok"}};
    }
    void bytesAreCutIntoLines()
    {
        QFETCH(LineFramer::Ends, ends);
        QFETCH(QByteArrayList, pieces);
        QFETCH(Lines, lines);
        QCOMPARE(framed(ends, pieces), lines);
    }

    void eachClientGetsItsOwnRepliesInOrder()
    {
        Rig rig;
        QVERIFY(rig.listening);
        auto first = rig.connectClient();
        auto second = rig.connectClient();
        first->write("CR0\rC0");
        second->write("C05\r");
        first->write("0\r");
        const QHash<QByteArray, QByteArray> replies{
            {"CR0\r", "80\r"}, {"C05\r", "\x15"}, {"C00\r", "\x06"}};
        for (qsizetype sent = 1; sent <= 3; ++sent) {
            QVERIFY(rig.waitForWrite(sent));
            rig.line.deliver(replies.value(rig.line.written.last()));
        }
        QCOMPARE(readFrom(*first, 4), QByteArray("80\r\x06"));
        QCOMPARE(readFrom(*second, 1), QByteArray("\x15"));
        QVERIFY(rig.line.written.indexOf("CR0\r") < rig.line.written.indexOf("C00\r"));
    }

    void anOverlongLineIsRefusedWithoutGoingOnTheLine()
    {
        Rig rig;
        auto client = rig.connectClient();
        client->write(QByteArray(40, 'C') + "\rCR1\r");
        QVERIFY(rig.waitForWrite(1));
        QCOMPARE(rig.line.written, QList<QByteArray>{"CR1\r"});
        QCOMPARE(readFrom(*client, 1), QByteArray("\x15"));
    }

    void aClientBeyondTheLimitIsRefused()
    {
        Rig rig;
        auto first = rig.connectClient();
        auto second = rig.connectClient();
        QTRY_COMPARE(rig.server.clientCount(), 2);
        auto third = rig.connectClient();
        QSignalSpy closed(third.get(), &QTcpSocket::disconnected);
        QVERIFY(closed.wait(5000));
        first.reset();
        QTRY_COMPARE(rig.server.clientCount(), 1);
        auto again = rig.connectClient();
        QTRY_COMPARE(rig.server.clientCount(), 2);
    }
};

QTEST_GUILESS_MAIN(LinePortTest)
#include "test_line_port.moc"
