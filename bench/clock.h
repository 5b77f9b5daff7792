#pragma once

#include <QtGlobal>

#include <chrono>
#include <ctime>

// One clock for every timestamp of the benchmarks, in this process and across processes:
// std::chrono::steady_clock is CLOCK_MONOTONIC, the clock of the simulator's trace too.
inline qint64 steadyNowNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

inline qint64 cpuClockNs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// CPU time of every thread of this process.
inline qint64 processCpuNs()
{
    return cpuClockNs(CLOCK_PROCESS_CPUTIME_ID);
}
