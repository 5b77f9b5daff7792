#pragma once

#include <QtGlobal>

#include <sys/types.h>

// Resident set size (VmRSS of /proc/PID/status) in KiB, or -1 when the process is gone.
// pid 0 means this process.
qint64 residentKiB(pid_t pid = 0);
