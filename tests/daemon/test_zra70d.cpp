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
        QTest::addColumn<QString>("arguments"); // @ stands for the file
        QTest::addColumn<QString>("summary");
        const auto row = [](const char *tag, const char *file, const char *arguments,
                            const char *summary) {
            QTest::newRow(tag) << QByteArray(file) << QString(arguments) << QString(summary);
        };
        row("defaults", "", "", "zra70 1 19200 pjlink=127.0.0.1:4352 line=off poll=10");
        row("the file names the projector",
            "# hall\nport = /dev/ttyUSB0\nspeed=9600\n\n;\nline=0.0.0.0:7001\nverbose=true\n",
            "--config @",
            "hall /dev/ttyUSB0 9600 pjlink=127.0.0.1:4352 line=0.0.0.0:7001 poll=10 verbose");
        row("options win", "name=stage\nspeed=9600\npjlink=[::1]:4352\n",
            "--config @ --speed 19200 --pjlink off --line 7001 --poll 60",
            "stage 1 19200 pjlink=off line=127.0.0.1:7001 poll=60");
        row("a typo in the file", "sped=9600\n", "--config @",
            "problem: @:1: unknown key \"sped\"");
        row("IPv6 without brackets", "", "--pjlink ::1:4352",
            "problem: pjlink must be [HOST:]PORT or off, not \"::1:4352\"");
        row("a name that is a topic level", "", "--name a/b",
            "problem: name must be 1 to 64 bytes without control characters, /, + or #, "
            "not \"a/b\"");
    }
    void settingsComeFromTheFileThenTheCommandLine()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, arguments);
        QFETCH(QString, summary);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hall.conf"));
        QVERIFY(writeOwnFile(path, file));
        const QStringList words = arguments.replace('@', path).split(' ', Qt::SkipEmptyParts);
        QCOMPARE(::summary(parseServiceConfig(QStringList{"zra70d"} + words)),
                 summary.replace('@', path));
    }

    // Its first line without the line end; too long or empty, refused without showing it.
    // One that others can read ends the program (unusableSettingsEndTheProgram).
    void aPasswordFileHoldsOneShortLine()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("secret"));
        QString problem;
        QVERIFY(writeOwnFile(path, "s3cret pass\r\n"));
        QCOMPARE(readSecretFile(path, 32, &problem), QByteArray("s3cret pass"));
        QVERIFY(writeOwnFile(path, "s3cret" + QByteArray(27, 'x')));
        QVERIFY(!readSecretFile(path, 32, &problem) && !problem.contains("s3cret"));
        QVERIFY(writeOwnFile(path, "\n") && !readSecretFile(path, 32, &problem));
    }

    // What zra70d cannot work with ends it at once, before it serves anything.
    void unusableSettingsEndTheProgram_data()
    {
        QTest::addColumn<QString>("arguments"); // @ stands for the test's folder
        QTest::addColumn<QString>("problem");
        QTest::newRow("PJLink password others can read") << "--password-file @/open"
                                                         << "can be read by anyone";
        QTest::newRow("MQTT password without a user")
            << "--mqtt mqtt://broker --mqtt-password-file @/secret"
            << "mqtt-password-file needs a user";
        QTest::newRow("certificate authority missing")
            << "--mqtt mqtts://broker --mqtt-ca @/none.pem"
            << "cannot read the certificate authority file";
    }
    void unusableSettingsEndTheProgram()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        QVERIFY(writeOwnFile(dir.filePath("open"), "s3cret\n", true) &&
                writeOwnFile(dir.filePath("secret"), "s3cret\n"));
        arguments = QStringLiteral("--port @/nothing --pjlink 0 ") + arguments;
        const ProgramRun run =
            runProgram(ZRA70D_PROGRAM, arguments.replace('@', dir.path()).split(' '));
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(problem.toUtf8()) && !run.err.contains("s3cret"), run.err);
    }
};

QTEST_GUILESS_MAIN(Zra70dTest)
#include "test_zra70d.moc"
