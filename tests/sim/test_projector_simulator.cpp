#include "line_end.h"
#include "projector_simulator.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Runs the event loop until the simulator has taken in one more command.
bool waitForCommand(QSignalSpy &commands)
{
    return commands.wait(10000);
}

} // namespace

class TestProjectorSimulator : public QObject {
    Q_OBJECT

private slots:
    void statusQueryIsAnsweredOverThePseudoTerminal();
    void replyDelayAndPiecesHoldTheReplyBack_data();
    void replyDelayAndPiecesHoldTheReplyBack();
    void noReplyOptionTakesCommandsButStaysSilent();
    void garbageOptionMixesExtraBytesIntoTheReply();
    void floodSendsReplyLikeBytesUnasked();
    void linkPathStaysUsableAcrossStopAndStart();
    void startRefusesToReplaceARegularFile();
};

void TestProjectorSimulator::statusQueryIsAnsweredOverThePseudoTerminal()
{
    ProjectorSimulator simulator;
    QString error;
    QVERIFY2(simulator.start(&error), qPrintable(error));
    QVERIFY(simulator.devicePath().startsWith("/dev/pts/"));
    QSignalSpy commands(&simulator, &ProjectorSimulator::commandReceived);

    LineEnd line(simulator.devicePath());
    QVERIFY(line.isOpen());
    QVERIFY(line.write("CR0\r"));
    QCOMPARE(line.read(3), QByteArray("80\r"));

    QCOMPARE(commands.size(), 1);
    QCOMPARE(commands[0][0].toByteArray(), QByteArray("CR0"));
    QCOMPARE(simulator.received().size(), 1);
    QCOMPARE(simulator.received()[0].command, QByteArray("CR0"));
    QCOMPARE(simulator.rawBytesReceived(), QByteArray("CR0\r"));
    QCOMPARE(simulator.bytesSent(), qint64(3));
}

void TestProjectorSimulator::replyDelayAndPiecesHoldTheReplyBack_data()
{
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<int>("pieces");
    QTest::addColumn<int>("gapMs");
    QTest::addColumn<int>("earliestMs"); // the whole reply cannot be in before this

    QTest::newRow("delay 200 ms") << 200 << 1 << 0 << 200;
    QTest::newRow("three pieces 150 ms apart") << 0 << 3 << 150 << 300;
}

void TestProjectorSimulator::replyDelayAndPiecesHoldTheReplyBack()
{
    QFETCH(int, delayMs);
    QFETCH(int, pieces);
    QFETCH(int, gapMs);
    QFETCH(int, earliestMs);
    SimulatorOptions options;
    options.replyDelayMs = delayMs;
    options.pieces = pieces;
    options.pieceGapMs = gapMs;
    ProjectorSimulator simulator(options);
    QVERIFY(simulator.start());
    LineEnd line(simulator.devicePath());

    QElapsedTimer sinceSend;
    sinceSend.start();
    QVERIFY(line.write("CR6\r"));
    const QList<QByteArray> chunks = line.readChunks(18);
    const qint64 elapsedMs = sinceSend.elapsed();

    QCOMPARE(chunks.join(), QByteArray("025.0 025.5 024.5\r"));
    QVERIFY2(elapsedMs >= earliestMs, qPrintable(QString::number(elapsedMs)));
    if (pieces > 1)
        QVERIFY2(chunks.size() >= 2, chunks.first().constData()); // came in several reads
}

void TestProjectorSimulator::noReplyOptionTakesCommandsButStaysSilent()
{
    SimulatorOptions options;
    options.noReply = true;
    ProjectorSimulator simulator(options);
    QVERIFY(simulator.start());
    QSignalSpy commands(&simulator, &ProjectorSimulator::commandReceived);
    LineEnd line(simulator.devicePath());

    QVERIFY(line.write("CR0\r"));
    QVERIFY(waitForCommand(commands));
    QCOMPARE(simulator.received().size(), 1);
    QCOMPARE(simulator.received()[0].command, QByteArray("CR0"));
    QCOMPARE(simulator.bytesSent(), qint64(0));
}

void TestProjectorSimulator::garbageOptionMixesExtraBytesIntoTheReply()
{
    SimulatorOptions options;
    options.garbage = true;
    ProjectorSimulator simulator(options);
    QVERIFY(simulator.start());
    QSignalSpy commands(&simulator, &ProjectorSimulator::commandReceived);
    LineEnd line(simulator.devicePath());

    QVERIFY(line.write("CR0\r"));
    QVERIFY(waitForCommand(commands));
    const qint64 sent = simulator.bytesSent();
    QVERIFY2(sent >= 4 && sent <= 6, qPrintable(QString::number(sent)));
    const QByteArray noisy = line.read(sent);
    QCOMPARE(noisy.size(), sent);
    // The real reply is still in there, in order.
    const qsizetype eight = noisy.indexOf('8');
    const qsizetype zero = noisy.indexOf('0', eight + 1);
    QVERIFY2(eight >= 0 && zero > eight && noisy.indexOf('\r', zero + 1) > zero,
             noisy.toHex().constData());
}

void TestProjectorSimulator::floodSendsReplyLikeBytesUnasked()
{
    SimulatorOptions options;
    options.flood = true;
    options.floodBaud = 19200;
    ProjectorSimulator simulator(options);
    QVERIFY(simulator.start());
    LineEnd line(simulator.devicePath());

    const QByteArray start = line.read(24);
    QCOMPARE(start.left(24), QByteArray("00\r\x06"
                                        "1\r11\r01234\r038.5 041"));
    QVERIFY(simulator.received().isEmpty());
}

void TestProjectorSimulator::linkPathStaysUsableAcrossStopAndStart()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    SimulatorOptions options;
    options.linkPath = dir.filePath("projector");
    ProjectorSimulator simulator(options);

    QVERIFY(simulator.start());
    QCOMPARE(simulator.devicePath(), options.linkPath);
    QVERIFY(QFileInfo(options.linkPath).isSymLink());
    QVERIFY(QFileInfo(options.linkPath).symLinkTarget().startsWith("/dev/pts/"));
    {
        LineEnd line(options.linkPath);
        QVERIFY(line.isOpen());
        QVERIFY(line.write("C07\r"));
        QCOMPARE(line.read(1), QByteArray("\x06"));
    }

    simulator.stop();
    QVERIFY(!QFileInfo(options.linkPath).isSymLink());
    QVERIFY(!QFileInfo::exists(options.linkPath));

    QVERIFY(simulator.start());
    QVERIFY(QFileInfo(options.linkPath).isSymLink());
    LineEnd line(options.linkPath);
    QVERIFY(line.isOpen());
    QVERIFY(line.write("CR1\r"));
    QCOMPARE(line.read(2), QByteArray("3\r")); // the projector kept its input
}

void TestProjectorSimulator::startRefusesToReplaceARegularFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("notes");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();

    SimulatorOptions options;
    options.linkPath = path;
    ProjectorSimulator simulator(options);
    QString error;
    QVERIFY(!simulator.start(&error));
    QVERIFY(error.contains(path));
    QVERIFY(!simulator.isRunning());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("keep me"));
}

QTEST_GUILESS_MAIN(TestProjectorSimulator)
#include "test_projector_simulator.moc"
