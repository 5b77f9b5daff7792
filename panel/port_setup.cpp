#include "port_setup.h"

#include "serial_port.h"

#include <optional>

namespace {

QString settingsForSpeed(int baudRate)
{
    return QStringLiteral("%1,N,8,1").arg(baudRate);
}

} // namespace

PortSetup::PortSetup(SerialPort &port, PortSetupUi &ui)
    : m_port(port)
    , m_ui(ui)
    , m_commSettings(settingsForSpeed(19200))
{
}

void PortSetup::startUp()
{
    m_commSettings = settingsForSpeed(19200);
    m_port.setPortNumber(FirstPort);
    m_port.setSettings(m_commSettings);
    const PortStatus opened = m_port.open();
    m_ui.markPortOption(FirstPort);
    if (!opened) {
        // Reported once here; the switch would only fail again the same way.
        m_ui.showWarning(opened.description());
        return;
    }
    choosePort(FirstPort);
}

void PortSetup::choosePort(int number)
{
    const int otherNumber = number == FirstPort ? SecondPort : FirstPort;
    std::optional<QString> failure;
    auto note = [&failure](const PortStatus &status) {
        if (!status)
            failure = status.description();
        return status.isOk();
    };

    const bool wasOpen = m_port.isOpen();
    const bool closed = !wasOpen || note(m_port.close());
    const bool renumbered = note(m_port.setPortNumber(number));
    // A closed port is opened as well, so a choice after a failure reconnects the panel
    // instead of leaving it silently disconnected.
    if (closed && renumbered)
        note(m_port.open());

    if (failure) {
        m_ui.showWarning(*failure);
        m_port.setPortNumber(otherNumber);
        return;
    }
    m_ui.hidePortPanel();
}

void PortSetup::chooseSpeed(int baudRate)
{
    m_commSettings = settingsForSpeed(baudRate);
    const PortStatus applied = m_port.setSettings(m_commSettings);
    if (!applied) {
        m_ui.showWarning(applied.description());
        return;
    }
    m_ui.hidePortPanel();
}
