#include "reply_shaping.h"

#include <QRandomGenerator>
#include <QTest>

class TestReplyShaping : public QObject {
    Q_OBJECT

private slots:
    void replyIsCutIntoNearlyEqualPieces_data();
    void replyIsCutIntoNearlyEqualPieces();
    void garbageUsesTheWholeByteRange();
    void floodRepeatsReplyLikeBytesAcrossCalls();
};

void TestReplyShaping::replyIsCutIntoNearlyEqualPieces_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("pieces");
    QTest::addColumn<QList<QByteArray>>("expected");

    QTest::newRow("zero pieces means one") << QByteArray("80\r") << 0 << QList<QByteArray>{"80\r"};
    QTest::newRow("one byte per piece")
        << QByteArray("80\r") << 3 << QList<QByteArray>{"8", "0", "\r"};
    QTest::newRow("more pieces than bytes") << QByteArray("\x06") << 4 << QList<QByteArray>{"\x06"};
    QTest::newRow("longer pieces first") << QByteArray("038.5 041.0 029.5\r") << 4
                                         << QList<QByteArray>{"038.5", " 041.", "0 02", "9.5\r"};
    QTest::newRow("empty reply has no pieces") << QByteArray() << 2 << QList<QByteArray>{};
}

void TestReplyShaping::replyIsCutIntoNearlyEqualPieces()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, pieces);
    QFETCH(QList<QByteArray>, expected);
    QCOMPARE(splitIntoPieces(reply, pieces), expected);
}

void TestReplyShaping::garbageUsesTheWholeByteRange()
{
    QRandomGenerator random(2);
    bool controlByte = false;
    bool highByte = false;
    for (int i = 0; i < 500; ++i) {
        // An empty reply leaves only the noise.
        for (char byte : mixInGarbage(QByteArray(), random)) {
            const auto code = static_cast<unsigned char>(byte);
            controlByte = controlByte || code < 32;
            highByte = highByte || code > 127;
        }
    }
    QVERIFY(controlByte);
    QVERIFY(highByte);
}

void TestReplyShaping::floodRepeatsReplyLikeBytesAcrossCalls()
{
    FloodPattern flood;
    QCOMPARE(flood.next(4), QByteArray("00\r\x06"));
    QCOMPARE(flood.next(6), QByteArray("1\r11\r0"));
    QCOMPARE(flood.next(0), QByteArray());
    const QByteArray restOfCycle = "1234\r038.5 041.0 029.5\r01\r00\r853\r\x06\x06";
    QCOMPARE(flood.next(restOfCycle.size()), restOfCycle);
    QCOMPARE(flood.next(3), QByteArray("00\r")); // and round again
}

QTEST_GUILESS_MAIN(TestReplyShaping)
#include "test_reply_shaping.moc"
