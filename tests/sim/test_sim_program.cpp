#include "line_end.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TestSimProgram : public QObject {
    Q_OBJECT

private slots:
    void printsTheDeviceFirstAndExitsCleanlyOnSignal_data();
    void printsTheDeviceFirstAndExitsCleanlyOnSignal();
    void traceWritesEachCommandWithItsTimeToStderr();
    void badOptionValueIsRefused_data();
    void badOptionValueIsRefused();
};

void TestSimProgram::printsTheDeviceFirstAndExitsCleanlyOnSignal_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT (Ctrl+C)") << int(SIGINT);
}

void TestSimProgram::printsTheDeviceFirstAndExitsCleanlyOnSignal()
{
    QFETCH(int, signalNumber);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath("projector");

    QProcess sim;
    sim.start(ZRA70_SIM_PROGRAM, {"--link", link});
    QVERIFY(sim.waitForStarted());
    QVERIFY(sim.waitForReadyRead(10000));
    QCOMPARE(sim.readLine(), (link + "\n").toLocal8Bit());
    QVERIFY(QFileInfo(link).isSymLink());
    {
        LineEnd line(link);
        QVERIFY(line.write("CR0\r"));
        QCOMPARE(line.read(3), QByteArray("80\r"));
    }

    QCOMPARE(::kill(pid_t(sim.processId()), signalNumber), 0);
    QVERIFY(sim.waitForFinished(10000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestSimProgram::traceWritesEachCommandWithItsTimeToStderr()
{
    QProcess sim;
    sim.start(ZRA70_SIM_PROGRAM, {"--trace"});
    QVERIFY(sim.waitForReadyRead(10000));
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QVERIFY(device.startsWith("/dev/pts/"));
    {
        LineEnd line(device);
        QVERIFY(line.write("CF FANMODE L2\rXYZ\r"));
        QCOMPARE(line.read(2), QByteArray("\x06\x15"));
    }
    sim.terminate();
    QVERIFY(sim.waitForFinished(10000));
    QCOMPARE(sim.exitCode(), 0);
    const QString trace = QString::fromLocal8Bit(sim.readAllStandardError());
    static const QRegularExpression lines("^\\d+\\.\\d{6} CF FANMODE L2\\n\\d+\\.\\d{6} XYZ\\n$");
    QVERIFY2(lines.match(trace).hasMatch(), qPrintable(trace));
}

void TestSimProgram::badOptionValueIsRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("zero pieces") << QStringList{"--pieces", "0"};
    QTest::newRow("baud too low") << QStringList{"--flood", "--baud", "0"};
}

void TestSimProgram::badOptionValueIsRefused()
{
    QFETCH(QStringList, arguments);
    QProcess sim;
    sim.start(ZRA70_SIM_PROGRAM, arguments);
    QVERIFY(sim.waitForFinished(10000));
    QCOMPARE(sim.exitCode(), 2);
    QVERIFY(sim.readAllStandardOutput().isEmpty());
    QVERIFY(sim.readAllStandardError().startsWith("zra70-sim: --"));
}

QTEST_GUILESS_MAIN(TestSimProgram)
#include "test_sim_program.moc"
