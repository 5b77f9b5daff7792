#pragma once

#include <QByteArray>
#include <QSocketNotifier>
#include <QString>

#include <memory>

// The panel's end of a simulated line for tests: the device opened with plain POSIX calls in
// raw mode, read through the event loop so that waiting for a reply never sleeps.
class LineEnd {
public:
    explicit LineEnd(const QString &devicePath);
    ~LineEnd();
    LineEnd(const LineEnd &) = delete;
    LineEnd &operator=(const LineEnd &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    bool write(const QByteArray &bytes);
    // Everything that has arrived so far, without waiting.
    QByteArray readAvailable();
    // Runs the event loop until `count` bytes in all have arrived or timeoutMs has passed.
    // Returns what arrived, one entry per read, so a test can see how a reply was cut.
    QList<QByteArray> readChunks(qsizetype count, int timeoutMs = 10000);
    QByteArray read(qsizetype count, int timeoutMs = 10000);

private:
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
