#include "line_end.h"
#include "projector_simulator.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {
SimulatorOptions with(const std::function<void(SimulatorOptions &)> &change)
{
    SimulatorOptions options;
    change(options);
    return options;
}
} // namespace

// The simulator on its pseudo-terminal, in this process and as the zra70-sim program.
class ProjectorSimulatorTest : public QObject {
    Q_OBJECT
private slots:
    void repliesComeOverTheLineAsShaped_data()
    {
        QTest::addColumn<SimulatorOptions>("options");
        QTest::addColumn<int>("earliestMs"); // the whole reply cannot be in before this
        QTest::newRow("at once") << SimulatorOptions{} << 0;
        QTest::newRow("delay 200 ms") << with([](auto &o) { o.replyDelayMs = 200; }) << 200;
        QTest::newRow("three pieces 150 ms apart")
            << with([](auto &o) { o.pieces = 3, o.pieceGapMs = 150; }) << 300;
    }
    void repliesComeOverTheLineAsShaped()
    {
        QFETCH(SimulatorOptions, options);
        QFETCH(int, earliestMs);
        ProjectorSimulator simulator(options);
        QString error;
        QVERIFY2(simulator.start(&error), qPrintable(error));
        LineEnd line(simulator.devicePath());
        QElapsedTimer sinceSend;
        sinceSend.start();
        QVERIFY(line.write("CR6\r"));
        const QList<QByteArray> chunks = line.readChunks(18);
        QCOMPARE(chunks.join(), QByteArray("025.0 025.5 024.5\r"));
        QVERIFY(sinceSend.elapsed() >= earliestMs);
        QVERIFY(chunks.size() >= std::min(options.pieces, 2));
        QCOMPARE(simulator.rawBytesReceived(), QByteArray("CR6\r"));
    }

    void theLinkNeverReplacesAFile()
    {
        QTemporaryDir dir;
        QFile notes(dir.filePath("notes"));
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("keep") == 4);
        notes.close();
        ProjectorSimulator refused(with([&](auto &o) { o.linkPath = notes.fileName(); }));
        QString error;
        QVERIFY(!refused.start(&error) && error.contains(notes.fileName()));
        QVERIFY(notes.open(QIODevice::ReadOnly));
        QCOMPARE(notes.readAll(), QByteArray("keep"));
    }

    void theProgramPrintsItsDeviceTracesAndEndsCleanlyOnSignal_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
    void theProgramPrintsItsDeviceTracesAndEndsCleanlyOnSignal()
    {
        QFETCH(int, signalNumber);
        QTemporaryDir dir;
        const QString link = dir.filePath("projector");
        QProcess sim;
        sim.start(ZRA70_SIM_PROGRAM, {"--trace", "--link", link});
        QVERIFY(sim.waitForReadyRead(10000));
        QCOMPARE(sim.readLine(), (link + "\n").toLocal8Bit());
        {
            LineEnd line(link);
            QVERIFY(line.write("CF FANMODE L2\rXYZ\r"));
            QCOMPARE(line.read(2), QByteArray("\x06\x15"));
        }
        QCOMPARE(::kill(pid_t(sim.processId()), signalNumber), 0);
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
        static const QRegularExpression trace(
            "^\\d+\\.\\d{6} CF FANMODE L2\\n\\d+\\.\\d{6} XYZ\\n$");
        const QString stderrText = QString::fromLocal8Bit(sim.readAllStandardError());
        QVERIFY2(trace.match(stderrText).hasMatch(), qPrintable(stderrText));
    }

    void theProgramRefusesBadOptionValues()
    {
        QProcess sim;
        sim.start(ZRA70_SIM_PROGRAM, {"--pieces", "0"});
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitCode(), 2);
        QVERIFY(sim.readAllStandardError().startsWith("zra70-sim: --pieces"));
    }
};

QTEST_GUILESS_MAIN(ProjectorSimulatorTest)
#include "test_projector_simulator.moc"
