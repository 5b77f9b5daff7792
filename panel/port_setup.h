#pragma once

#include <QString>

class SerialPort;

// What the port configuration needs of the window.
class PortSetupUi {
public:
    virtual ~PortSetupUi() = default;
    virtual void hidePortPanel() = 0;
    // The warning box: exclamation icon, one OK button, the program title as caption.
    virtual void showWarning(const QString &text) = 0;
    // Marks the port option as chosen without running its click handler.
    virtual void markPortOption(int number) = 0;
};

// The start-up opening of the port, the port switch and the speed choice.
class PortSetup {
public:
    static constexpr int FirstPort = 1;
    static constexpr int SecondPort = 2;

    PortSetup(SerialPort &port, PortSetupUi &ui);

    // Sets the start settings and opens port 1, then selects "COM1", which runs the switch.
    // When the port cannot be opened the user is told once and the panel runs with it closed.
    void startUp();
    // "COM1" or "COM2" chosen: close, renumber, reopen; a closed port is opened too.
    void choosePort(int number);
    // "9600" or "19200" chosen: applies to an open port at once.
    void chooseSpeed(int baudRate);

    const QString &commSettings() const { return m_commSettings; }

private:
    SerialPort &m_port;
    PortSetupUi &m_ui;
    QString m_commSettings;
};
