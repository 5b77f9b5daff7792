#pragma once

#include "serial_port.h"

#include <QList>
#include <QSet>

// A recording port for unit tests: remembers every write, takes bytes "from the line"
// through deliver(), and fails the operations a test tells it to.
class FakeSerialPort final : public SerialPort {
public:
    PortStatus setPortNumber(int number) override
    {
        m_number = number;
        return PortStatus::success();
    }
    int portNumber() const override { return m_number; }
    PortStatus setSettings(const QString &settings) override
    {
        m_settings = settings;
        return PortStatus::success();
    }
    QString settings() const override { return m_settings; }
    PortStatus open() override
    {
        if (m_missingPorts.contains(m_number))
            return PortStatus::failure(QStringLiteral("port %1 missing").arg(m_number));
        m_open = true;
        return PortStatus::success();
    }
    PortStatus close() override
    {
        m_open = false;
        return PortStatus::success();
    }
    bool isOpen() const override { return m_open; }
    PortStatus write(const QByteArray &bytes) override
    {
        if (!m_open)
            return PortStatus::failure(QStringLiteral("not open"));
        if (failWrites)
            return PortStatus::failure(QStringLiteral("write failed"));
        written.append(bytes);
        return PortStatus::success();
    }
    QByteArray readAll() override { return std::exchange(m_waiting, {}); }
    QString deviceName() const override { return QStringLiteral("/dev/fake%1").arg(m_number); }

    // Bytes arriving from the projector: buffered, then the receive event is raised.
    void deliver(const QByteArray &bytes)
    {
        m_waiting.append(bytes);
        emit commEvent(Receive);
    }
    void makeMissing(int number) { m_missingPorts.insert(number); }
    void makePresent(int number) { m_missingPorts.remove(number); }

    bool isWatchingForReturn() const override { return m_watching; }
    // The line goes away: the port closes itself and says so, as the real one does; a port that
    // will not watch for its device (a server that refused) says so too.
    void loseLink(const QString &description, bool watching = true)
    {
        m_open = false;
        m_watching = watching;
        emit commEvent(EventDeviceError);
        emit linkLost(description);
    }

    bool failWrites = false;
    QList<QByteArray> written; // every write, in order

private:
    int m_number = 1;
    QString m_settings = QStringLiteral("9600,N,8,1");
    bool m_open = false;
    bool m_watching = true;
    QByteArray m_waiting;
    QSet<int> m_missingPorts;
};
