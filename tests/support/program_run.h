#pragma once

#include <QProcess>
#include <QSignalSpy>

// A program run to its end, as a script runs it. The wait runs the event loop, so a simulator
// in this process goes on serving the program's device meanwhile.
struct ProgramRun {
    int exitCode = -1; // -1: it crashed, or was killed after the timeout
    QByteArray out;
    QByteArray err;
    QList<QByteArray> lines() const { return out.trimmed().split('\n'); }
};

inline ProgramRun runProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(program, arguments);
    if (finished.isEmpty() && !finished.wait(20000))
        process.kill();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}
