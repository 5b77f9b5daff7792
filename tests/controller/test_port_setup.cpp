#include "fake_serial_port.h"
#include "port_setup.h"

#include <QTest>

// Start-up, the port switch and the speed choice against a recording port.
class PortSetupTest : public QObject {
    Q_OBJECT

    struct Rig : PortSetupUi {
        void hidePortPanel() override { ++panelHides; }
        void showWarning(const QString &text) override { warnings.append(text); }
        void markPortOption(int number) override { markedOption = number; }
        int panelHides = 0;
        QStringList warnings;
        int markedOption = 0;
        FakeSerialPort port;
        PortSetup setup{port, *this};
    };

private slots:
    // Start-up opens port 1 at 19200, then runs the switch. A failed choice keeps the panel up
    // and the old number; choosing again, once the device is there, reconnects although the port
    // is closed.
    void startUpThenAFailedChoiceThenAReconnect()
    {
        Rig rig;
        rig.setup.startUp();
        QCOMPARE(rig.port.operations, (QStringList{"number 1", "settings 19200,N,8,1", "open 1",
                                                   "close", "number 1", "open 1"}));
        QVERIFY(rig.port.isOpen());
        QCOMPARE(rig.markedOption, 1);
        rig.port.makeMissing(2);
        rig.setup.choosePort(2);
        QCOMPARE(rig.warnings, QStringList{"port 2 missing"});
        QCOMPARE(rig.port.portNumber(), 1);
        QCOMPARE(rig.panelHides, 1); // the start-up's switch only
        rig.port.makePresent(2);
        rig.setup.choosePort(2);
        QVERIFY(rig.port.isOpen());
        QCOMPARE(rig.port.portNumber(), 2);
    }
};

QTEST_GUILESS_MAIN(PortSetupTest)
#include "test_port_setup.moc"
