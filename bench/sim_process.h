#pragma once

#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// The zra70-sim program in a process of its own, its command trace kept in a file.
class SimProcess {
public:
    struct Traced {
        qint64 ns; // CLOCK_MONOTONIC, when the simulator read the command
        QByteArray command;
    };

    SimProcess() = default;
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // Starts zra70-sim --trace with the extra arguments; waits for the device it prints.
    bool start(const QStringList &arguments, QString *error);
    QString device() const { return m_device; }
    // Ends it with SIGTERM, as Ctrl+C would.
    void stop();
    // Every command the simulator has received so far.
    QList<Traced> trace() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_device;
};
