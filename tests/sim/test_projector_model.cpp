#include "projector_model.h"

#include <QTest>

#include <cmath>

namespace {

// Feeds one command at nowMs and returns the bytes answered to it.
QByteArray ask(ProjectorModel &model, const QByteArray &command, qint64 nowMs)
{
    const QList<Exchange> exchanges = model.feed(command + '\r', nowMs);
    return exchanges.size() == 1 ? exchanges.first().reply : QByteArray("<no single reply>");
}

} // namespace

class TestProjectorModel : public QObject {
    Q_OBJECT

private slots:
    void queriesInStandbyAnswerInThePanelsFormats_data();
    void queriesInStandbyAnswerInThePanelsFormats();
    void queriesReportTheStateEarlierCommandsLeft_data();
    void queriesReportTheStateEarlierCommandsLeft();
    void powerOnCountsDownThenPowerOffCoolsDownToStandby();
    void powerCommandsDuringCountDownOrCoolingChangeNothing();
    void lampHoursGrowOnlyWhileTheLampIsLit();
    void pressureReadingConvertsToSeaLevelPressure();
    void panelCommandsAreAcknowledged_data();
    void panelCommandsAreAcknowledged();
    void unknownCommandsAreRefusedWithNak_data();
    void unknownCommandsAreRefusedWithNak();
    void commandSplitAcrossChunksIsAnsweredOnceComplete();
    void twoCommandsInOneChunkAreAnsweredInOrder();
    void overlongLineIsCutShortAndRefused();
    void droppedPartialCommandDoesNotGlueOntoTheNext();
};

void TestProjectorModel::queriesInStandbyAnswerInThePanelsFormats_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("CR0 power: standby") << QByteArray("CR0") << QByteArray("80\r");
    QTest::newRow("CR3 lamp hours") << QByteArray("CR3") << QByteArray("01234\r");
    QTest::newRow("CR6 temperatures: cold")
        << QByteArray("CR6") << QByteArray("025.0 025.5 024.5\r");
    QTest::newRow("CR9 identification") << QByteArray("CR9") << QByteArray("ZRA70_20\r");
}

void TestProjectorModel::queriesInStandbyAnswerInThePanelsFormats()
{
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, reply);
    ProjectorModel model;
    QCOMPARE(ask(model, query, 0), reply);
}

void TestProjectorModel::queriesReportTheStateEarlierCommandsLeft_data()
{
    QTest::addColumn<QByteArray>("setup"); // fed at time 0
    QTest::addColumn<qint64>("queryAtMs");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("reply");

    const QByteArray on = "C00\r";
    QTest::newRow("lamp lit during count-down")
        << on << 100LL << QByteArray("CR7") << QByteArray("01\r");
    QTest::newRow("hot once on") << on << 4000LL << QByteArray("CR6")
                                 << QByteArray("038.5 041.0 029.5\r");
    QTest::newRow("no picture yet during count-down")
        << on << 100LL << QByteArray("CRA") << QByteArray("FF\r");
    QTest::newRow("on, nothing muted") << on << 4000LL << QByteArray("CRA") << QByteArray("00\r");
    QTest::newRow("on, both muted")
        << on + "C0B\rC0D\r" << 4000LL << QByteArray("CRA") << QByteArray("03\r");
    QTest::newRow("on, video input has no signal")
        << on + "C07\r" << 4000LL << QByteArray("CRA") << QByteArray("80\r");
    QTest::newRow("cooling projector is still hot")
        << on + "C01\r" << 100LL << QByteArray("CR6") << QByteArray("038.5 041.0 029.5\r");

    QTest::newRow("PC2 button") << QByteArray("C06\r") << 0LL << QByteArray("CR1")
                                << QByteArray("2\r");
    QTest::newRow("PC1 button after video")
        << QByteArray("C07\rC05\r") << 0LL << QByteArray("CR1") << QByteArray("1\r");
    QTest::newRow("PC2 RGB") << QByteArray("CF INPUT COMPUTER2 ANALOG\r") << 0LL
                             << QByteArray("CR1") << QByteArray("2\r");
    QTest::newRow("Video row S-Video") << QByteArray("C07\rCF INPUT COMPUTER1 S-VIDEO\r") << 0LL
                                       << QByteArray("CR1") << QByteArray("1\r");
}

void TestProjectorModel::queriesReportTheStateEarlierCommandsLeft()
{
    QFETCH(QByteArray, setup);
    QFETCH(qint64, queryAtMs);
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, reply);
    ProjectorModel model;
    for (const Exchange &exchange : model.feed(setup, 0))
        QCOMPARE(exchange.reply, QByteArray("\x06"));
    QCOMPARE(ask(model, query, queryAtMs), reply);
}

void TestProjectorModel::powerOnCountsDownThenPowerOffCoolsDownToStandby()
{
    ProjectorModel model(1000);
    QCOMPARE(ask(model, "C00", 1000), QByteArray("\x06"));
    QCOMPARE(ask(model, "CR0", 1000), QByteArray("40\r"));
    QCOMPARE(ask(model, "CR0", 4999), QByteArray("40\r"));
    QCOMPARE(ask(model, "CR0", 5000), QByteArray("00\r"));
    QCOMPARE(model.state().power, PowerState::On);

    QCOMPARE(ask(model, "C01", 60000), QByteArray("\x06"));
    QCOMPARE(ask(model, "CR0", 60000), QByteArray("20\r"));
    QCOMPARE(ask(model, "CR0", 65999), QByteArray("20\r"));
    QCOMPARE(ask(model, "CR0", 66000), QByteArray("80\r"));
    QCOMPARE(model.state().power, PowerState::Standby);
}

void TestProjectorModel::powerCommandsDuringCountDownOrCoolingChangeNothing()
{
    ProjectorModel model;
    QCOMPARE(ask(model, "C01", 0), QByteArray("\x06"));
    QCOMPARE(ask(model, "CR0", 0), QByteArray("80\r")); // off while off

    ask(model, "C00", 0);
    QCOMPARE(ask(model, "C00", 3000), QByteArray("\x06")); // does not restart the count-down
    QCOMPARE(ask(model, "CR0", 4000), QByteArray("00\r"));

    ask(model, "C01", 10000);
    QCOMPARE(ask(model, "C00", 12000), QByteArray("\x06")); // cannot relight while cooling
    QCOMPARE(ask(model, "CR0", 15999), QByteArray("20\r"));
    QCOMPARE(ask(model, "CR0", 16000), QByteArray("80\r"));

    // Off during the count-down goes straight to cooling.
    ask(model, "C00", 20000);
    ask(model, "C01", 21000);
    QCOMPARE(ask(model, "CR0", 21000), QByteArray("20\r"));
}

void TestProjectorModel::lampHoursGrowOnlyWhileTheLampIsLit()
{
    constexpr qint64 hour = 3600 * 1000;
    ProjectorModel model;
    QCOMPARE(ask(model, "CR3", 5 * hour), QByteArray("01234\r")); // standby time does not count
    ask(model, "C00", 5 * hour);
    QCOMPARE(ask(model, "CR3", 6 * hour - 1), QByteArray("01234\r"));
    QCOMPARE(ask(model, "CR3", 6 * hour), QByteArray("01235\r"));
    ask(model, "C01", 7 * hour + hour / 2);
    QCOMPARE(ask(model, "CR3", 30 * hour), QByteArray("01236\r"));
    ask(model, "C00", 31 * hour);
    QCOMPARE(ask(model, "CR3", 31 * hour + hour / 2), QByteArray("01237\r"));
}

void TestProjectorModel::pressureReadingConvertsToSeaLevelPressure()
{
    ProjectorModel model;
    const QByteArray reply = ask(model, "CR PRESSURE", 0);
    QVERIFY(reply.endsWith('\r'));
    const int reading = reply.chopped(1).toInt();
    // The panel's conversion of a reading into hPa.
    const double hPa = (reading * 5 / 1024.0 - 0.204) / 0.00459 + 150;
    QCOMPARE(std::lround(hPa), 1013L);
}

void TestProjectorModel::panelCommandsAreAcknowledged_data()
{
    QTest::addColumn<QByteArray>("command");
    const char *const commands[] = {"C00", "C01", "C0B",           "C3F",
                                    "C54", "C8F", "CF FANMODE L2", "CF INPUT COMPUTER1 S-VIDEO"};
    for (const char *command : commands)
        QTest::newRow(command) << QByteArray(command);
}

void TestProjectorModel::panelCommandsAreAcknowledged()
{
    QFETCH(QByteArray, command);
    ProjectorModel model;
    QCOMPARE(ask(model, command, 0), QByteArray("\x06"));
}

void TestProjectorModel::unknownCommandsAreRefusedWithNak_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("unused code") << QByteArray("C99");
    QTest::newRow("lower case") << QByteArray("c00");
    QTest::newRow("query with trailing blank") << QByteArray("CR0 ");
    QTest::newRow("leading blank") << QByteArray(" C00");
    QTest::newRow("empty line") << QByteArray("");
    QTest::newRow("unknown fan mode") << QByteArray("CF FANMODE L3");
}

void TestProjectorModel::unknownCommandsAreRefusedWithNak()
{
    QFETCH(QByteArray, command);
    ProjectorModel model;
    QCOMPARE(ask(model, command, 0), QByteArray("\x15"));
    QCOMPARE(ask(model, "CR0", 0), QByteArray("80\r")); // and nothing changed
    QCOMPARE(ask(model, "CR1", 0), QByteArray("1\r"));
}

void TestProjectorModel::commandSplitAcrossChunksIsAnsweredOnceComplete()
{
    ProjectorModel model;
    QVERIFY(model.feed("C", 0).isEmpty());
    QVERIFY(model.feed("R", 1).isEmpty());
    const QList<Exchange> exchanges = model.feed("0\r", 2);
    QCOMPARE(exchanges.size(), 1);
    QCOMPARE(exchanges[0].command, QByteArray("CR0"));
    QCOMPARE(exchanges[0].reply, QByteArray("80\r"));
}

void TestProjectorModel::twoCommandsInOneChunkAreAnsweredInOrder()
{
    ProjectorModel model;
    const QList<Exchange> exchanges = model.feed("C00\rCR0\rCR", 0);
    QCOMPARE(exchanges.size(), 2);
    QCOMPARE(exchanges[0].command, QByteArray("C00"));
    QCOMPARE(exchanges[0].reply, QByteArray("\x06"));
    QCOMPARE(exchanges[1].command, QByteArray("CR0"));
    QCOMPARE(exchanges[1].reply, QByteArray("40\r"));

    const QList<Exchange> rest = model.feed("1\r", 0);
    QCOMPARE(rest.size(), 1);
    QCOMPARE(rest[0].command, QByteArray("CR1"));
    QCOMPARE(rest[0].reply, QByteArray("1\r"));
}

void TestProjectorModel::overlongLineIsCutShortAndRefused()
{
    ProjectorModel model;
    const QList<Exchange> exchanges = model.feed(QByteArray(300, 'A') + "\rCR0\r", 0);
    QCOMPARE(exchanges.size(), 2);
    QCOMPARE(exchanges[0].command, QByteArray(256, 'A'));
    QCOMPARE(exchanges[0].reply, QByteArray("\x15"));
    QCOMPARE(exchanges[1].reply, QByteArray("80\r"));
}

void TestProjectorModel::droppedPartialCommandDoesNotGlueOntoTheNext()
{
    ProjectorModel model;
    QVERIFY(model.feed("C0", 0).isEmpty());
    model.dropPartialCommand();
    QCOMPARE(ask(model, "CR0", 0), QByteArray("80\r"));
}

QTEST_GUILESS_MAIN(TestProjectorModel)
#include "test_projector_model.moc"
