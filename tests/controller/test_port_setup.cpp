#include "fake_serial_port.h"
#include "port_setup.h"

#include <QTest>

// Start-up, the port switch and the speed choice against a recording port.
class PortSetupTest : public QObject {
    Q_OBJECT

    struct RecordingUi final : PortSetupUi {
        void hidePortPanel() override { ++panelHides; }
        void showWarning(const QString &text) override { warnings.append(text); }
        void markPortOption(int number) override { markedOption = number; }
        int panelHides = 0;
        QStringList warnings;
        int markedOption = 0;
    };

    struct Rig {
        FakeSerialPort port;
        RecordingUi ui;
        PortSetup setup{port, ui};
    };

private slots:
    void startUpOpensPortOneTwiceAt19200()
    {
        Rig rig;
        rig.setup.startUp();
        QCOMPARE(rig.port.operations, (QStringList{"number 1", "settings 19200,N,8,1", "open 1",
                                                   "close", "number 1", "open 1"}));
        QVERIFY(rig.port.isOpen());
        QCOMPARE(rig.ui.markedOption, 1);
        QCOMPARE(rig.setup.commSettings(), QStringLiteral("19200,N,8,1"));
        QVERIFY(rig.ui.warnings.isEmpty());
    }

    void startUpWithMissingPortWarnsOnceAndRunsClosed()
    {
        Rig rig;
        rig.port.makeMissing(1);
        rig.setup.startUp();
        QCOMPARE(rig.ui.warnings, QStringList{"port 1 missing"});
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.port.portNumber(), 1);
        QCOMPARE(rig.ui.markedOption, 1);
    }

    void switchingAnOpenPortKeepsTheSpeed()
    {
        Rig rig;
        rig.setup.startUp();
        rig.setup.chooseSpeed(9600);
        rig.port.operations.clear();
        const int hidesBefore = rig.ui.panelHides;
        rig.setup.choosePort(2);
        QCOMPARE(rig.port.operations, (QStringList{"close", "number 2", "open 2"}));
        QCOMPARE(rig.port.settings(), QStringLiteral("9600,N,8,1"));
        QVERIFY(rig.port.isOpen());
        QCOMPARE(rig.ui.panelHides, hidesBefore + 1);
    }

    void switchingToMissingPortWarnsAndRenumbersBackWithPanelShowing()
    {
        Rig rig;
        rig.setup.startUp();
        rig.port.makeMissing(2);
        const int hidesBefore = rig.ui.panelHides;
        rig.setup.choosePort(2);
        QCOMPARE(rig.ui.warnings, QStringList{"port 2 missing"});
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.port.portNumber(), 1);
        QCOMPARE(rig.ui.panelHides, hidesBefore);
    }

    // A choice made while the port is closed reconnects instead of only renumbering.
    void choosingAPortWhileClosedOpensIt()
    {
        Rig rig;
        rig.setup.startUp();
        rig.port.makeMissing(2);
        rig.setup.choosePort(2);
        rig.port.makePresent(2);
        rig.setup.choosePort(2);
        QVERIFY(rig.port.isOpen());
        QCOMPARE(rig.port.portNumber(), 2);
        QCOMPARE(rig.ui.warnings.size(), 1);
    }

    void choosingAMissingPortWhileClosedWarnsLikeAFailedSwitch()
    {
        Rig rig;
        rig.port.makeMissing(1);
        rig.port.makeMissing(2);
        rig.setup.startUp();
        rig.setup.choosePort(2);
        QCOMPARE(rig.ui.warnings, (QStringList{"port 1 missing", "port 2 missing"}));
        QCOMPARE(rig.port.portNumber(), 1);
        QCOMPARE(rig.ui.panelHides, 0);
    }

    void speedChoiceAppliesToOpenPortWithoutReopening()
    {
        Rig rig;
        rig.setup.startUp();
        rig.port.operations.clear();
        rig.setup.chooseSpeed(9600);
        QCOMPARE(rig.port.operations, QStringList{"settings 9600,N,8,1"});
        QVERIFY(rig.port.isOpen());
        QCOMPARE(rig.setup.commSettings(), QStringLiteral("9600,N,8,1"));
    }
};

QTEST_GUILESS_MAIN(PortSetupTest)
#include "test_port_setup.moc"
