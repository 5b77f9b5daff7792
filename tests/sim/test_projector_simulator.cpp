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

// The simulator on its pseudo-terminal, in this process and as the zra70-sim program.
class ProjectorSimulatorTest : public QObject {
    Q_OBJECT
private slots:
    void repliesComeLateAndInPiecesWhenAskedTo()
    {
        SimulatorOptions options;
        options.replyDelayMs = 100;
        options.pieces = 3;
        options.pieceGapMs = 150;
        ProjectorSimulator simulator(options);
        QString error;
        QVERIFY2(simulator.start(&error), qPrintable(error));
        LineEnd line(simulator.devicePath());
        QElapsedTimer sinceSend;
        sinceSend.start();
        QVERIFY(line.write("CR6\r"));
        QByteArray reply = line.read(1); // the first piece
        QVERIFY(sinceSend.elapsed() >= 100);
        QVERIFY(reply.size() < 18);
        reply += line.read(18 - reply.size());
        QCOMPARE(reply, QByteArray("025.0 025.5 024.5\r"));
        QVERIFY(sinceSend.elapsed() >= 100 + 2 * 150);
        QCOMPARE(simulator.rawBytesReceived(), QByteArray("CR6\r"));
    }

    void theLinkNeverReplacesAFile()
    {
        QTemporaryDir dir;
        QFile notes(dir.filePath("notes"));
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("keep") == 4);
        notes.close();
        SimulatorOptions options;
        options.linkPath = notes.fileName();
        ProjectorSimulator refused(options);
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
};

QTEST_GUILESS_MAIN(ProjectorSimulatorTest)
#include "test_projector_simulator.moc"
