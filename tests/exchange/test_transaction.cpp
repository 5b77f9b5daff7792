#include "exchange_rig.h"

#include <QTest>

// The transaction routine on a fake clock: what goes on the line, what the three lines show,
// and when the reply timeout and display clear act.
class TransactionTest : public QObject {
    Q_OBJECT
private slots:
    void replyIsShownAndDecodedAndLinesBlankAtTheDisplayClear()
    {
        ExchangeRig rig;
        rig.transaction.sendCommand("CR0");
        QCOMPARE(rig.port.written, QList<QByteArray>{"CR0\r"});
        QCOMPARE(rig.display.sent, QStringLiteral(" C R 0 CR "));
        QVERIFY(rig.transaction.awaitingReply());
        rig.port.deliver("00\r");
        QCOMPARE(rig.display.lines(), QStringList({" C R 0 CR ", " 0 0 CR ", " Power ON"}));
        QVERIFY(!rig.transaction.awaitingReply());

        rig.clock.advance(999); // the reply timeout at 500 leaves no mark
        QCOMPARE(rig.display.lines(), QStringList({" C R 0 CR ", " 0 0 CR ", " Power ON"}));
        QVERIFY(rig.transaction.recvText().isEmpty());
        QVERIFY(!rig.replyTimeout->isActive());
        rig.clock.advance(1);
        QCOMPARE(rig.display.lines(), QStringList({"", "", ""}));
        QVERIFY(!rig.displayClear->isActive());
    }

    // A second send within the reply timeout keeps the running counts of the first.
    void missingReplyIsMarkedAtTheTimeoutOfTheFirstSend()
    {
        ExchangeRig rig;
        rig.transaction.sendCommand("C00");
        rig.clock.advance(300);
        rig.transaction.sendCommand("CR0");
        rig.clock.advance(199);
        QCOMPARE(rig.display.received, QString());
        rig.clock.advance(1);
        QCOMPARE(rig.display.received, QStringLiteral(" X X X X"));
        rig.clock.advance(499);
        QCOMPARE(rig.display.sent, QStringLiteral(" C R 0 CR "));
        rig.clock.advance(1);
        QCOMPARE(rig.display.lines(), QStringList({"", "", ""}));
    }

    // A line that streams without pause: the first bytes are kept, read from the start.
    void theCollectionKeepsItsFirstBytesUntilTheReplyTimeout()
    {
        ExchangeRig rig;
        rig.transaction.sendCommand("CR0");
        rig.port.deliver("00\r");
        for (int i = 0; i < 20; ++i)
            rig.port.deliver(QByteArray(100, 'x'));
        QCOMPARE(rig.transaction.recvText().size(), 1024);
        QCOMPARE(rig.display.status, QStringLiteral(" Power ON"));
        QVERIFY(rig.display.received.startsWith(" 0 0 CR x x "));
        rig.clock.advance(500);
        rig.port.deliver("y");
        QCOMPARE(rig.display.received, QStringLiteral(" y "));
    }

    // What a program waiting on each reply is told: every arrival with all collected so far,
    // and a timeout only when nothing came.
    void waitingProgramLearnsOfPiecesAndOfSilence()
    {
        ExchangeRig rig;
        QList<QByteArray> arrivals;
        int silences = 0;
        rig.transaction.setArrivalHandler([&](const QByteArray &all) { arrivals.append(all); });
        rig.transaction.setNoReplyHandler([&] { ++silences; });
        rig.transaction.sendCommand("CR0");
        rig.port.deliver("0");
        rig.port.deliver("0\r");
        QCOMPARE(arrivals, (QList<QByteArray>{"0", "00\r"}));
        QVERIFY(!Transaction::isCompleteReply(arrivals[0]));
        QVERIFY(Transaction::isCompleteReply(arrivals[1]));
        rig.clock.advance(1000);
        QCOMPARE(silences, 0);
        rig.transaction.sendCommand("C00");
        rig.clock.advance(500);
        QCOMPARE(silences, 1);
        QVERIFY(Transaction::isCompleteReply("\x06"));
        QVERIFY(Transaction::isCompleteReply("\x15"));
        QVERIFY(!Transaction::isCompleteReply(""));
    }
};

QTEST_GUILESS_MAIN(TransactionTest)
#include "test_transaction.moc"
