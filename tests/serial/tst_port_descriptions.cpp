#include "device_map.h"
#include "port_errors.h"
#include "serial_trace.h"

#include <QTest>

using namespace std::chrono_literals;

class PortDescriptionsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void eachPortOpensTheDeviceItsVariableNames_data();
    void eachPortOpensTheDeviceItsVariableNames();

    void openFailuresAreDescribedForAPerson_data();
    void openFailuresAreDescribedForAPerson();
    void aLostLinkNamesTheDeviceAndWhatHappened_data();
    void aLostLinkNamesTheDeviceAndWhatHappened();
    void percentSignsInADevicePathStayLiteral();

    void traceLinesStampDirectionDeviceAndHexBytes_data();
    void traceLinesStampDirectionDeviceAndHexBytes();
    void traceIsOffUnlessAskedFor();
};

void PortDescriptionsTest::init()
{
    qunsetenv("ZRA70_COM1");
    qunsetenv("ZRA70_COM2");
}

void PortDescriptionsTest::cleanup()
{
    init();
}

void PortDescriptionsTest::eachPortOpensTheDeviceItsVariableNames_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QByteArray>("value"); // null: left unset
    QTest::addColumn<QString>("device");

    QTest::newRow("port 1 without variable")
        << 1 << QByteArray("ZRA70_COM1") << QByteArray() << "/dev/ttyS0";
    QTest::newRow("port 2 from its variable")
        << 2 << QByteArray("ZRA70_COM2") << QByteArray("/dev/ttyUSB3") << "/dev/ttyUSB3";
    QTest::newRow("port 1 ignores the variable of port 2")
        << 1 << QByteArray("ZRA70_COM2") << QByteArray("/dev/ttyUSB3") << "/dev/ttyS0";
    QTest::newRow("empty variable means the system port")
        << 2 << QByteArray("ZRA70_COM2") << QByteArray("") << "/dev/ttyS1";
    QTest::newRow("bare name is a device in /dev")
        << 1 << QByteArray("ZRA70_COM1") << QByteArray("ttyUSB0") << "/dev/ttyUSB0";
    QTest::newRow("port 3 has no device even with a variable")
        << 3 << QByteArray("ZRA70_COM3") << QByteArray("/dev/ttyUSB0") << QString();
}

void PortDescriptionsTest::eachPortOpensTheDeviceItsVariableNames()
{
    QFETCH(int, number);
    QFETCH(QByteArray, variable);
    QFETCH(QByteArray, value);
    QFETCH(QString, device);

    if (!value.isNull())
        qputenv(variable.constData(), value);
    const QString path = devicePathForPort(number);
    qunsetenv("ZRA70_COM3");

    QCOMPARE(path, device);
    QCOMPARE(isKnownPortNumber(number), !device.isEmpty());
}

void PortDescriptionsTest::openFailuresAreDescribedForAPerson_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("group");
    QTest::addColumn<qint64>("lockOwner");
    QTest::addColumn<QString>("systemText");
    QTest::addColumn<QString>("description");

    QTest::newRow("device not found")
        << int(OpenFailureKind::NotFound) << 2 << "/dev/ttyS1" << QString() << qint64(0)
        << "No such file or directory"
        << "Serial port 2 cannot be opened: the device /dev/ttyS1 was not found. Check that the "
           "serial adapter is connected, or set ZRA70_COM2 to the device to use.";
    QTest::newRow("permission denied, group known")
        << int(OpenFailureKind::PermissionDenied) << 1 << "/dev/ttyUSB0"
        << "dialout" << qint64(0) << "Permission denied"
        << "Serial port 1 cannot be opened: permission to use /dev/ttyUSB0 was denied. The "
           "device belongs to the group \"dialout\": join that group (sudo usermod -aG dialout "
           "$USER), then log out and log in again.";
    QTest::newRow("in use, holder known")
        << int(OpenFailureKind::InUse) << 1 << "/dev/ttyS0" << QString() << qint64(4242)
        << "Permission error while locking the device"
        << "Serial port 1 cannot be opened: /dev/ttyS0 is in use by another program (process "
           "4242). Close that program and try again.";
    QTest::newRow("other error keeps the system's text")
        << int(OpenFailureKind::Other) << 1 << "/dev/ttyS0" << QString() << qint64(0)
        << "Input/output error"
        << "Serial port 1 cannot be opened: /dev/ttyS0 reported \"Input/output error\".";
}

void PortDescriptionsTest::openFailuresAreDescribedForAPerson()
{
    QFETCH(int, kind);
    QFETCH(int, number);
    QFETCH(QString, path);
    QFETCH(QString, group);
    QFETCH(qint64, lockOwner);
    QFETCH(QString, systemText);
    QFETCH(QString, description);

    OpenFailure failure;
    failure.kind = OpenFailureKind(kind);
    failure.portNumber = number;
    failure.devicePath = path;
    failure.ownerGroup = group;
    failure.lockOwner = lockOwner;
    failure.systemText = systemText;

    QCOMPARE(describeOpenFailure(failure), description);
}

void PortDescriptionsTest::aLostLinkNamesTheDeviceAndWhatHappened_data()
{
    QTest::addColumn<QString>("systemText");
    QTest::addColumn<QString>("description");

    QTest::newRow("device disappeared")
        << QString()
        << "The connection on serial port 2 was lost: the device /dev/ttyUSB0 went away.";
    QTest::newRow("device reported an error")
        << "Input/output error"
        << "The connection on serial port 2 was lost: the device /dev/ttyUSB0 reported "
           "\"Input/output error\".";
}

void PortDescriptionsTest::aLostLinkNamesTheDeviceAndWhatHappened()
{
    QFETCH(QString, systemText);
    QFETCH(QString, description);

    QCOMPARE(describeLinkLoss(2, QStringLiteral("/dev/ttyUSB0"), systemText), description);
}

void PortDescriptionsTest::percentSignsInADevicePathStayLiteral()
{
    // A device path is the user's text: it must not be taken for a placeholder.
    const QString path = QStringLiteral("/tmp/%1%2");
    OpenFailure failure;
    failure.kind = OpenFailureKind::InUse;
    failure.devicePath = path;

    QCOMPARE(describeOpenFailure(failure),
             QStringLiteral("Serial port 1 cannot be opened: /tmp/%1%2 is in use by another "
                            "program. Close that program and try again."));
    QCOMPARE(describeSettingsRefused(1, path, QStringLiteral("9600,N,8,1.5"),
                                     QStringLiteral("1.5 stop bits are not available")),
             QStringLiteral("Serial port 1 (/tmp/%1%2) did not take the settings \"9600,N,8,1.5\": "
                            "1.5 stop bits are not available."));
}

void PortDescriptionsTest::traceLinesStampDirectionDeviceAndHexBytes_data()
{
    QTest::addColumn<qint64>("nanoseconds");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("line");

    QTest::newRow("power-on command sent")
        << qint64(1234'000'120'999) << true << QByteArray("C00\r")
        << "1234.000120 TX /dev/ttyS0 43 30 30 0d";
    QTest::newRow("acknowledge received")
        << qint64(7'500'000'000) << false << QByteArray("\x06") << "7.500000 RX /dev/ttyS0 06";
}

void PortDescriptionsTest::traceLinesStampDirectionDeviceAndHexBytes()
{
    QFETCH(qint64, nanoseconds);
    QFETCH(bool, sent);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, line);

    const auto direction = sent ? TraceDirection::Sent : TraceDirection::Received;
    QCOMPARE(traceLine(std::chrono::nanoseconds(nanoseconds), direction,
                       QStringLiteral("/dev/ttyS0"), bytes),
             line);
}

void PortDescriptionsTest::traceIsOffUnlessAskedFor()
{
    if (qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
        QSKIP("QT_LOGGING_RULES is set in this environment");
    QCOMPARE(lcSerial().categoryName(), "zra70.serial");
    QVERIFY(!lcSerial().isDebugEnabled());
    QVERIFY(!lcSerial().isInfoEnabled());
    QVERIFY(lcSerial().isWarningEnabled());

    QLoggingCategory::setFilterRules(QStringLiteral("zra70.serial.debug=true"));
    const bool enabledByRule = lcSerial().isDebugEnabled();
    QLoggingCategory::setFilterRules(QString());
    QVERIFY(enabledByRule);
}

QTEST_GUILESS_MAIN(PortDescriptionsTest)
#include "tst_port_descriptions.moc"
