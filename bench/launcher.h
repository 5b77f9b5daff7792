#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <sys/types.h>

// Starts a program with posix_spawn (no Qt in between that could add its own start-up time),
// its output thrown away, and ends it again.
pid_t spawnProgram(const QString &path, const QStringList &arguments,
                   const QProcessEnvironment &environment);
// SIGTERM, then SIGKILL if it has not gone within a few seconds; always reaps it.
void endProgram(pid_t pid);
