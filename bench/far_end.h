#pragma once

#include "pseudo_terminal.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <ctime>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class QEventLoop;

// The projector's end of the line for the in-process benchmarks: the master side of a
// pseudo-terminal, read by a thread of its own the moment bytes are there, so each command is
// timestamped when its last byte became readable rather than when some event loop got to it.
// Answers every command with ACK, as the projector does.
class FarEnd {
public:
    struct Arrival {
        qint64 ns; // steady clock, read right after the read that brought the carriage return
        QByteArray command;
    };

    FarEnd() = default;
    ~FarEnd();
    FarEnd(const FarEnd &) = delete;
    FarEnd &operator=(const FarEnd &) = delete;

    bool start(QString *error);
    QString devicePath() const { return m_pty.slavePath(); }

    qsizetype count() const;
    std::vector<Arrival> arrivals() const;
    Arrival arrival(qsizetype index) const;
    // Runs the calling thread's event loop until count() reaches n or the time is up.
    bool waitForCount(qsizetype n, int timeoutMs);
    // CPU time the reading threads of every far end in this process have used, to take it
    // out of the panel's.
    static qint64 allReadersCpuNs();

private:
    void readLoop();
    void takeBytes(const char *bytes, qsizetype size, qint64 ns);

    PseudoTerminal m_pty;
    std::thread m_reader;
    std::optional<clockid_t> m_readerClock;
    int m_wake = -1; // eventfd that ends the reading thread
    std::atomic<bool> m_stopping{false};

    mutable std::mutex m_mutex;
    std::vector<Arrival> m_arrivals;
    QByteArray m_partial;
    qsizetype m_wanted = 0;
    QEventLoop *m_waiter = nullptr;
};
