#pragma once

#include <QObject>
#include <QTimer>

class SerialPort;
class ServiceLog;

// Keeps the projector's line open: opens it at start, and after a failure or a loss opens it
// again, when the device or server is back or else after a pause that grows to a minute.
// Says in the log once when the line cannot be opened or is lost, and once when it is back.
class LineKeeper final : public QObject {
    Q_OBJECT
public:
    static constexpr int FirstRetryMs = 1000;
    static constexpr int LongestRetryMs = 60000;

    LineKeeper(SerialPort &port, const ServiceLog &log);

    void start();

signals:
    // The line is open and ready for exchanges.
    void lineUp();

private:
    void open();
    void onReady();
    void onTrouble(const QString &description);

    SerialPort &m_port;
    const ServiceLog &m_log;
    QTimer m_retry;
    int m_retryMs = FirstRetryMs;
    bool m_troubleTold = false;
    bool m_wasUp = false;
};
