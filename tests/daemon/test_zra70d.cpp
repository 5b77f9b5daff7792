#include "program_run.h"
#include "projector_simulator.h"
#include "secret_file.h"
#include "serial_server.h"
#include "service_config.h"
#include "service_process.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &text,
                  QFileDevice::Permissions permissions = QFileDevice::ReadOwner |
                                                         QFileDevice::WriteOwner)
{
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
    file.setPermissions(permissions);
    return file.fileName();
}

// The one-line summary of a parsed configuration, or its problem.
QString summary(const ParsedConfig &parsed)
{
    if (!parsed.config)
        return QStringLiteral("problem: ") + parsed.problem;
    const ServiceConfig &c = *parsed.config;
    return QStringLiteral("%1 %2 %3 pjlink=%4 line=%5 poll=%6%7")
        .arg(c.name, c.port)
        .arg(c.speed)
        .arg(c.pjlink ? c.pjlink->text() : QStringLiteral("off"),
             c.line ? c.line->text() : QStringLiteral("off"))
        .arg(c.pollSeconds)
        .arg(c.verbose ? QStringLiteral(" verbose") : QString());
}

} // namespace

// zra70d as a program with the projector simulator behind it: scripts through its line port,
// locally and across ser2net, a line lost and back, its settings and its password files.
class Zra70dTest : public QObject {
    Q_OBJECT
private slots:
    void settingsComeFromTheFileThenTheCommandLine_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("summary");
        QTest::newRow("defaults") << QByteArray() << QStringList{}
                                  << "zra70 1 19200 pjlink=127.0.0.1:4352 line=off poll=10";
        QTest::newRow("the file names the projector")
            << QByteArray("# hall\nport = /dev/ttyUSB0\nspeed=9600\n\n;\nline=0.0.0.0:7001\n"
                          "verbose=true\n")
            << QStringList{"--config", "@"}
            << "hall /dev/ttyUSB0 9600 pjlink=127.0.0.1:4352 line=0.0.0.0:7001 poll=10 verbose";
        QTest::newRow("options win")
            << QByteArray("name=stage\nspeed=9600\npjlink=[::1]:4352\n")
            << QStringList{"--config", "@",      "--speed", "19200",  "--pjlink",
                           "off",      "--line", "7001",    "--poll", "60"}
            << "stage 1 19200 pjlink=off line=127.0.0.1:7001 poll=60";
        QTest::newRow("a typo in the file")
            << QByteArray("sped=9600\n") << QStringList{"--config", "@"}
            << "problem: @:1: unknown key \"sped\"";
        QTest::newRow("IPv6 without brackets")
            << QByteArray() << QStringList{"--pjlink", "::1:4352"}
            << "problem: pjlink must be [HOST:]PORT or off, not \"::1:4352\"";
        QTest::newRow("a name that is a topic level")
            << QByteArray() << QStringList{"--name", "a/b"}
            << "problem: name must be 1 to 64 bytes without control characters, /, + or #, "
               "not \"a/b\"";
    }
    void settingsComeFromTheFileThenTheCommandLine()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, arguments);
        QFETCH(QString, summary);
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("hall.conf"), file);
        arguments.replaceInStrings(QStringLiteral("@"), path);
        QCOMPARE(::summary(parseServiceConfig(QStringList{"zra70d"} + arguments)),
                 summary.replace(QLatin1Char('@'), path));
    }

    void aPasswordFileMustBeTheOwnersAlone()
    {
        QTemporaryDir dir;
        QString problem;
        const QString own = writeFile(dir, QStringLiteral("own"), "s3cret pass\r\n");
        QCOMPARE(readSecretFile(own, 32, &problem), QByteArray("s3cret pass"));
        const QString readable =
            writeFile(dir, QStringLiteral("readable"), "s3cret\n",
                      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
        QVERIFY(!readSecretFile(readable, 32, &problem));
        QVERIFY(problem.contains(QLatin1String("can be read by anyone")));
        QVERIFY(!readSecretFile(writeFile(dir, QStringLiteral("long"), QByteArray(33, 'x')), 32,
                                &problem));
        QVERIFY(!readSecretFile(writeFile(dir, QStringLiteral("empty"), "\n"), 32, &problem));
        QVERIFY(!problem.contains(QLatin1String("s3cret")));
    }

    // Three scripts at once through the line port read what they would read on the line itself.
    void scriptsShareTheLineThroughTheLinePort_data()
    {
        QTest::addColumn<bool>("acrossSer2net");
        QTest::newRow("local line") << false;
        QTest::newRow("across ser2net (RFC 2217)") << true;
    }
    void scriptsShareTheLineThroughTheLinePort()
    {
        QFETCH(bool, acrossSer2net);
        ProjectorSimulator simulator;
        QVERIFY(simulator.start());
        SerialServer ser2net;
        QString line = simulator.devicePath(), problem;
        if (acrossSer2net) {
            problem = ser2net.start(simulator.devicePath(), SerialServer::Kind::Ser2netRfc2217);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
            line = ser2net.url();
        }
        ServiceProcess service;
        QVERIFY(service.start({"--port", line, "--line", "127.0.0.1:0", "--pjlink", "off"}));
        const QString linePort = QStringLiteral("tcp://") + service.address("line");

        QList<std::shared_ptr<QProcess>> scripts;
        for (int i = 0; i < 3; ++i) {
            scripts.append(std::make_shared<QProcess>());
            scripts.last()->start(ZRA70CTL_PROGRAM, {"--port", linePort, "status"});
        }
        for (const auto &script : scripts) {
            QVERIFY(
                QTest::qWaitFor([&] { return script->state() == QProcess::NotRunning; }, 20000));
            QCOMPARE(script->exitCode(), 0);
            const QList<QByteArray> lines = script->readAllStandardOutput().trimmed().split('\n');
            QCOMPARE(lines.size(), 9);
            QCOMPARE(lines.first(), QByteArray("status:  Stand by"));
            QCOMPARE(lines.last(), QByteArray("pressure: 1013 hPa"));
        }
        // Whole commands only, never two interleaved: each is one the projector knows.
        for (const ProjectorSimulator::Received &command : simulator.received())
            QVERIFY2(!command.command.isEmpty() && command.command.startsWith('C'),
                     command.command.constData());
        QCOMPARE(service.terminate(), 0);
        const QByteArray log = service.log();
        QCOMPARE(log.count("line port: 127.0.0.1:"), 6); // connected, disconnected
        QVERIFY(log.contains("line open: "));
    }

    void theLineIsOpenedAgainWhenTheProjectorComesBack()
    {
        QTemporaryDir dir;
        SimulatorOptions options;
        options.linkPath = dir.filePath(QStringLiteral("projector"));
        ProjectorSimulator simulator(options);
        QVERIFY(simulator.start());
        ServiceProcess service;
        QVERIFY(service.start({"--port", options.linkPath, "--line", "0", "--pjlink", "off"}));
        simulator.stop();
        QTRY_VERIFY_WITH_TIMEOUT(service.log().contains("line lost: "), 5000);
        QVERIFY(simulator.start());
        QTRY_VERIFY_WITH_TIMEOUT(service.log().contains("line back: " + options.linkPath.toUtf8()),
                                 10000);
        const QString linePort = QStringLiteral("tcp://") + service.address("line");
        const ProgramRun query =
            runProgram(ZRA70CTL_PROGRAM, {"--port", linePort, "query", "mode"});
        QCOMPARE(query.out, QByteArray("mode:  Computer 1\n"));
        QCOMPARE(service.log().count("line lost: "), 1);
    }
};

QTEST_GUILESS_MAIN(Zra70dTest)
#include "test_zra70d.moc"
