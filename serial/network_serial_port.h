#pragma once

#include "line_settings.h"
#include "network_address.h"
#include "serial_port.h"

#include <QElapsedTimer>
#include <QTimer>

#include <memory>

class NetworkLink;
struct NetworkFailure;

// How long a network port waits; tests shorten them.
struct NetworkTimings {
    int answerMs = 5000; // to connect, and to negotiate RFC 2217
    int settleMs = 200;  // a raw connection the server does not close at once counts as open
    int retryMs = 1000;  // between attempts to reach the server of a lost link
};

// The panel's port on a serial server across the network: port n maps through $ZRA70_COMn to
// tcp://HOST:PORT or rfc2217://HOST:PORT (see network_address.h).
//
// open() only starts the connection and returns at once: the port is open from then on, and
// bytes written are queued until the link is up. The link is up when linkReady() is raised
// (isReady() turns true); if it cannot be made, the port closes itself and raises
// commEvent(EventDeviceError) and linkLost() with the reason, exactly as for a link lost later.
// Settings changed while open are asked of an RFC 2217 server at once; a server that sets
// something else is reported the same way. A raw port keeps the settings but sends nothing.
//
// A server that closes the connection before the link is up (ser2net does while it is still
// closing the previous client's connection, sredird while the previous one holds its lock) is
// tried again until the answer time is over.
// After a loss the server is tried again in the background every retryMs; once it accepts and
// negotiates, deviceReturned() is raised and the next open() takes over that waiting link.
// Refusals of the protocol or of a setting are not retried. Any explicit open, close or
// renumbering ends the retrying.
class NetworkSerialPort final : public SerialPort {
    Q_OBJECT
public:
    explicit NetworkSerialPort(NetworkTimings timings = {}, QObject *parent = nullptr);
    ~NetworkSerialPort() override;

    PortStatus setPortNumber(int number) override;
    int portNumber() const override { return m_number; }
    PortStatus setSettings(const QString &settings) override;
    QString settings() const override { return m_settingsText; }
    PortStatus open() override;
    PortStatus close() override;
    bool isOpen() const override { return m_state == State::Open; }
    bool isReady() const override;
    bool isWatchingForReturn() const override { return m_state == State::Lost; }
    PortStatus write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    QString deviceName() const override;

private:
    enum class State { Closed, Open, Lost, Returned };

    void startLink(const NetworkAddress &address, int delayMs = 0);
    void connectLink();
    void dropLink();
    void onLinkReady();
    void onLinkFailed(const NetworkFailure &failure);
    void retry();
    void dropClosedLink();

    NetworkTimings m_timings;
    int m_number = 1;
    QString m_settingsText = QStringLiteral("9600,N,8,1");
    LineSettings m_lineSettings;
    State m_state = State::Closed;
    bool m_linkWasUp = false; // the current opening has been ready at some time
    NetworkAddress m_address; // of the open, lost or returned link
    std::unique_ptr<NetworkLink> m_link;
    // Closed, but kept to the end of this turn of the event loop: the port switch closes and
    // reopens the same address in one go, and a server may refuse a connection made while it
    // is still taking down the one before.
    std::unique_ptr<NetworkLink> m_closedLink;
    QString m_closedLinkSettings;
    QElapsedTimer m_opening; // since open(), for trying again within the answer time
    QTimer m_retry;          // while lost
    QTimer m_standby;        // how long a returned link waits to be taken over
};
