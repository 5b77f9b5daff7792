#include "line_end.h"
#include "projector_model.h"
#include "projector_simulator.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// The simulated projector: its model without I/O (bytes in, replies out, time passed in), then
// on its pseudo-terminal, in this process and as the zra70-sim program.
class ProjectorSimulatorTest : public QObject {
    Q_OBJECT
private slots:
    void queriesAnswerInThePanelsFormats_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<qint64>("atMs");
        QTest::addColumn<QByteArray>("query");
        QTest::addColumn<QByteArray>("reply");
        const auto row = [](const char *tag, const char *before, qint64 atMs, const char *query,
                            const QByteArray &reply) {
            QTest::newRow(tag) << QByteArray(before) << atMs << QByteArray(query) << reply;
        };
        row("standby", "", 0, "CR0", "80\r");
        row("pressure, 1013 hPa", "", 0, "CR PRESSURE", "853\r");
        row("counting down, lamp lit", "C00\r", 100, "CR7", "01\r");
        row("on and hot", "C00\r", 4000, "CR6", "038.5 041.0 029.5\r");
        row("on, both muted", "C00\rC0B\rC0D\r", 4000, "CRA", "03\r");
        row("on, video has no signal", "C00\rC07\r", 4000, "CRA", "80\r");
        row("PC2 RGB", "CF INPUT COMPUTER2 ANALOG\r", 0, "CR1", "2\r");
        // Outside the panel's vocabulary: refused, and nothing changes.
        row("unknown code", "", 0, "C99", "\x15");
        row("wrong case", "", 0, "c07", "\x15");
        row("wrong case changes nothing", "c07\r", 0, "CR1", "1\r");
        row("stray blank", "", 0, "CR0 ", "\x15");
        row("empty line", "", 0, "", "\x15");
    }
    void queriesAnswerInThePanelsFormats()
    {
        QFETCH(QByteArray, before);
        QFETCH(qint64, atMs);
        QFETCH(QByteArray, query);
        ProjectorModel model;
        model.feed(before, 0); // at time 0
        QTEST(model.feed(query + '\r', atMs).value(0).reply, "reply");
    }

    void powerCountsDownFourSecondsAndCoolsSix()
    {
        ProjectorModel model;
        const auto status = [&](qint64 ms) {
            return model.feed("CR0\r", ms).value(0).reply;
        };
        model.feed("C01\rC00\r", 0); // off while off is ignored
        model.feed("C00\r", 3000);   // and on while counting down
        QCOMPARE(status(3999), QByteArray("40\r"));
        QCOMPARE(status(4000), QByteArray("00\r"));
        model.feed("C01\r", 10000);
        model.feed("C00\r", 12000); // no relighting while cooling
        QCOMPARE(status(15999), QByteArray("20\r"));
        QCOMPARE(status(16000), QByteArray("80\r"));
    }

    void theLinkNeverReplacesAFile()
    {
        QTemporaryDir dir;
        QFile notes(dir.filePath("notes"));
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("keep") == 4);
        notes.close();
        ProjectorSimulator refused({.linkPath = notes.fileName()});
        QString error;
        QVERIFY(!refused.start(&error) && error.contains(notes.fileName()));
        QVERIFY(notes.open(QIODevice::ReadOnly));
        QCOMPARE(notes.readAll(), QByteArray("keep"));
    }

    void theProgramServesAsAskedTracesAndEndsCleanlyOnSignal_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
    void theProgramServesAsAskedTracesAndEndsCleanlyOnSignal()
    {
        QFETCH(int, signalNumber);
        QTemporaryDir dir;
        const QString link = dir.filePath("projector");
        QProcess sim;
        sim.start(ZRA70_SIM_PROGRAM,
                  {"--trace", "--link", link, "--delay", "100", "--pieces", "3", "--gap", "150"});
        QVERIFY(sim.waitForReadyRead(10000));
        QCOMPARE(sim.readLine(), (link + "\n").toLocal8Bit());
        {
            // Each reply 100 ms late, and queued behind the one before; the last in three pieces.
            LineEnd line(link);
            QElapsedTimer sinceSend;
            sinceSend.start();
            QVERIFY(line.write("CF FANMODE L2\rXYZ\rCR6\r"));
            QByteArray replies = line.read(1);
            QVERIFY(sinceSend.elapsed() >= 100 && replies.size() < 20);
            replies += line.read(20 - replies.size());
            QCOMPARE(replies, QByteArray("\x06\x15"
                                         "025.0 025.5 024.5\r"));
            QVERIFY(sinceSend.elapsed() >= 100 + 2 * 150);
        }
        QCOMPARE(::kill(pid_t(sim.processId()), signalNumber), 0);
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
        static const QRegularExpression trace(
            "^\\d+\\.\\d{6} CF FANMODE L2\\n\\d+\\.\\d{6} XYZ\\n\\d+\\.\\d{6} CR6\\n$");
        const QString stderrText = QString::fromLocal8Bit(sim.readAllStandardError());
        QVERIFY2(trace.match(stderrText).hasMatch(), qPrintable(stderrText));
    }
};

QTEST_GUILESS_MAIN(ProjectorSimulatorTest)
#include "test_projector_simulator.moc"
