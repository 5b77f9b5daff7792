#include "line_framer.h"
#include "line_port_server.h"
#include "service_rig.h"

using Lines = QList<LineFramer::Line>;

Q_DECLARE_METATYPE(LineFramer::Ends)

// The raw line port: lines cut from any pieces, each command one exchange whose reply goes back
// to its own client only. Its connection limit is the PJLink server's (test_pjlink_server).
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
        LineFramer framer(8, ends);
        Lines lines;
        for (const QByteArray &piece : pieces)
            lines += framer.feed(piece);
        QTEST(lines, "lines");
    }

    // A line longer than the projector reads is refused at once, without going on the line.
    void eachClientGetsItsOwnRepliesInOrder()
    {
        ServiceRig rig;
        LinePortServer server{rig.service, rig.log, {2, 16, 64, 64 * 1024}};
        QString problem;
        QVERIFY2(server.listen({}, &problem), qPrintable(problem));
        SocketClient first(server.address().port), second(server.address().port);
        first.send("CR0\rC0");
        second.send(QByteArray(40, 'C') + "\rC05\r");
        first.send("0\r");
        const QHash<QByteArray, QByteArray> replies{
            {"CR0\r", "80\r"}, {"C05\r", "\x15"}, {"C00\r", "\x06"}};
        for (qsizetype sent = 1; sent <= 3; ++sent) {
            QTRY_VERIFY(rig.line.written.size() >= sent);
            QVERIFY(replies.contains(rig.line.written.last()));
            rig.line.deliver(replies.value(rig.line.written.last()));
        }
        QCOMPARE(first.bytes(4), QByteArray("80\r\x06"));
        QCOMPARE(second.bytes(2), QByteArray("\x15\x15"));
        QVERIFY(rig.line.written.indexOf("CR0\r") < rig.line.written.indexOf("C00\r"));
    }
};

QTEST_GUILESS_MAIN(LinePortTest)
#include "test_line_port.moc"
