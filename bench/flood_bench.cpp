#include "clock.h"
#include "event_loop.h"
#include "panel_rig.h"
#include "proc_status.h"
#include "profile.h"
#include "report.h"
#include "scenarios.h"
#include "sim_process.h"
#include "stats.h"

#include <algorithm>

namespace {

constexpr int WarmUpMs = 2000;
constexpr int MaxClickEveryMs = 2000;
constexpr int Windows = 6; // CPU is quoted per window, for a spread
constexpr const char *Status = "Command44";
const QByteArray StatusQuery = "CR0";

} // namespace

void benchFlood(const Profile &profile)
{
    const QString cpuFigure =
        QStringLiteral("Flood %1 s, 19200 baud: CPU").arg(profile.floodSeconds);
    const QString memoryFigure = QStringLiteral("Flood: RSS growth");
    const QString clickFigure = QStringLiteral("Flood: click to line, max");
    SimProcess simulator;
    QString error;
    if (!simulator.start(
            {QStringLiteral("--flood"), QStringLiteral("--baud"), QStringLiteral("19200")},
            &error)) {
        for (const QString &figure : {cpuFigure, memoryFigure, clickFigure})
            emitRow(missing(figure, error));
        return;
    }
    PanelRig rig(simulator.device(), PanelRig::Writes::Counted);
    if (!rig.isReady()) {
        for (const QString &figure : {cpuFigure, memoryFigure, clickFigure})
            emitRow(missing(figure, rig.problem()));
        return;
    }
    runEventLoopFor(WarmUpMs);

    const qint64 totalMs = qint64(profile.floodSeconds) * 1000;
    const qint64 windowMs = std::max<qint64>(totalMs / Windows, 1);
    const qint64 startNs = steadyNowNs();
    const qint64 startCpu = processCpuNs();
    const qint64 startKiB = residentKiB();
    const qint64 startRead = rig.writeCounter()->bytesRead();
    qint64 windowStartNs = startNs;
    qint64 windowStartCpu = startCpu;
    // Clicks spread over the flood, the first well inside it.
    const qint64 clickEveryMs = std::min<qint64>(MaxClickEveryMs, totalMs / 2);
    qint64 nextClickMs = clickEveryMs / 2;
    qint64 peakKiB = startKiB;
    std::vector<double> windowCpu;
    std::vector<qint64> clicks;
    for (qint64 elapsedMs = 0; elapsedMs < totalMs;) {
        const qint64 nextWindowMs = (qint64(windowCpu.size()) + 1) * windowMs;
        const qint64 untilMs = std::min({nextWindowMs, nextClickMs, totalMs});
        runEventLoopFor(int(std::max<qint64>(untilMs - elapsedMs, 0)));
        elapsedMs = (steadyNowNs() - startNs) / 1'000'000;
        if (elapsedMs >= nextClickMs && nextClickMs < totalMs) {
            clicks.push_back(steadyNowNs());
            rig.click(Status);
            nextClickMs += clickEveryMs;
        }
        if (elapsedMs >= nextWindowMs || elapsedMs >= totalMs) {
            const qint64 now = steadyNowNs();
            const qint64 cpu = processCpuNs();
            windowCpu.push_back(100.0 * double(cpu - windowStartCpu) / double(now - windowStartNs));
            windowStartNs = now;
            windowStartCpu = cpu;
            peakKiB = std::max(peakKiB, residentKiB());
        }
    }
    const double seconds = double(steadyNowNs() - startNs) / 1e9;
    const double cpuPercent = 100.0 * double(processCpuNs() - startCpu) / (seconds * 1e9);
    const qint64 growthKiB = residentKiB() - startKiB;
    const double bytesPerSecond = double(rig.writeCounter()->bytesRead() - startRead) / seconds;
    runEventLoopFor(200); // the last query reaches the simulator
    simulator.stop();

    std::vector<double> clickMs;
    qsizetype clickIndex = 0;
    for (const SimProcess::Traced &traced : simulator.trace()) {
        if (traced.command != StatusQuery || clickIndex >= qsizetype(clicks.size()))
            continue;
        clickMs.push_back(double(traced.ns - clicks[std::size_t(clickIndex++)]) / 1e6);
    }

    emitRow(note(QStringLiteral("Flood: the panel in this process, zra70-sim --flood in its "
                                "own; CPU of the whole process over wall time after 2 s of "
                                "flood; each click timed to the simulator's trace")));
    const Spread cpu = spreadOf(windowCpu);
    emitRow(atMost(cpuFigure,
                   QStringLiteral("%1 % of a core [%3–%4 per %2 s]; read %5 B/s")
                       .arg(cpuPercent, 0, 'f', 2)
                       .arg(double(windowMs) / 1000, 0, 'f', 1)
                       .arg(cpu.min, 0, 'f', 2)
                       .arg(cpu.max, 0, 'f', 2)
                       .arg(bytesPerSecond, 0, 'f', 0),
                   cpuPercent, 5, QStringLiteral("≤ 5 %")));
    emitRow(atMost(memoryFigure,
                   QStringLiteral("%1 KiB (RSS %2 → %3 KiB, peak %4)")
                       .arg(growthKiB)
                       .arg(startKiB)
                       .arg(startKiB + growthKiB)
                       .arg(peakKiB),
                   double(growthKiB), 2048, QStringLiteral("≤ 2048 KiB")));
    if (clicks.empty() || clickMs.size() != clicks.size()) {
        emitRow(missing(clickFigure, QStringLiteral("%1 of %2 clicks reached the simulator")
                                         .arg(clickMs.size())
                                         .arg(clicks.size())));
        return;
    }
    const double worst = percentile(clickMs, 100);
    emitRow(atMost(clickFigure,
                   QStringLiteral("%1 ms (STATUS; p50 %2 ms of %3)")
                       .arg(worst, 0, 'f', 2)
                       .arg(percentile(clickMs, 50), 0, 'f', 2)
                       .arg(clickMs.size()),
                   worst, 50, QStringLiteral("≤ 50 ms")));
}
