#include "program_run.h"
#include "secret_file.h"
#include "service_config.h"
#include "service_process.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

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

// zra70d's settings, from its file and its command line, and its password files; what it
// cannot work with ends the program at once.
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
        const QString path = dir.filePath(QStringLiteral("hall.conf"));
        QVERIFY(writeOwnFile(path, file));
        arguments.replaceInStrings(QStringLiteral("@"), path);
        QCOMPARE(::summary(parseServiceConfig(QStringList{"zra70d"} + arguments)),
                 summary.replace(QLatin1Char('@'), path));
    }

    void aPasswordFileMustBeTheOwnersAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("secret"));
        QString problem;
        QVERIFY(writeOwnFile(path, "s3cret pass\r\n"));
        QCOMPARE(readSecretFile(path, 32, &problem), QByteArray("s3cret pass"));
        QVERIFY(writeOwnFile(path, "s3cret\n", true));
        QVERIFY(!readSecretFile(path, 32, &problem));
        QVERIFY(problem.contains(QLatin1String("can be read by anyone")));
        QVERIFY(writeOwnFile(path, QByteArray(33, 'x')) && !readSecretFile(path, 32, &problem));
        QVERIFY(writeOwnFile(path, "\n") && !readSecretFile(path, 32, &problem));
        QVERIFY(!problem.contains(QLatin1String("s3cret")));
    }

    // What zra70d cannot work with ends it at once, before it serves anything.
    void unusableSettingsEndTheProgram_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("problem");
        QTest::newRow("PJLink password others can read")
            << QStringList{"--password-file", "@open"} << "can be read by anyone";
        QTest::newRow("MQTT password without a user")
            << QStringList{"--mqtt", "mqtt://broker", "--mqtt-password-file", "@secret"}
            << "mqtt-password-file needs a user";
        QTest::newRow("certificate authority missing")
            << QStringList{"--mqtt", "mqtts://broker", "--mqtt-ca", "@none.pem"}
            << "cannot read the certificate authority file";
    }
    void unusableSettingsEndTheProgram()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        QVERIFY(writeOwnFile(dir.filePath("open"), "s3cret\n", true) &&
                writeOwnFile(dir.filePath("secret"), "s3cret\n"));
        arguments = QStringList{"--port", "@nothing", "--pjlink", "0"} + arguments;
        const ProgramRun run =
            runProgram(ZRA70D_PROGRAM, arguments.replaceInStrings("@", dir.path() + '/'));
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(problem.toUtf8()) && !run.err.contains("s3cret"), run.err);
    }
};

QTEST_GUILESS_MAIN(Zra70dTest)
#include "test_zra70d.moc"
