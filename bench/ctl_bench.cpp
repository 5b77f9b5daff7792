#include "clock.h"
#include "launcher.h"
#include "profile.h"
#include "report.h"
#include "scenarios.h"
#include "sim_process.h"
#include "stats.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>

namespace {

constexpr double FirstByteLimitMs = 20;
constexpr int ReplyDelayMs = 20;
constexpr double StatusOverDelaysLimit = 1.5;

const QString Program = QStringLiteral(ZRA70CTL_PATH);

struct Ran {
    qint64 startedNs = 0;
    double wallMs = 0;
    double cpuMs = 0; // user and system time of the whole run
};

// Runs a program to its end, or says nothing when it failed.
std::optional<Ran> runToEnd(const QStringList &arguments, const QString &program = Program)
{
    const qint64 started = steadyNowNs();
    const pid_t pid = spawnProgram(program, arguments, QProcessEnvironment::systemEnvironment());
    int status = 0;
    rusage usage{};
    if (!pid || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return std::nullopt;
    const auto ms = [](const timeval &t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    return Ran{started, double(steadyNowNs() - started) / 1e6,
               ms(usage.ru_utime) + ms(usage.ru_stime)};
}

// What the queries' reply timeouts add up to: what "status" would take if it waited each out.
int sumOfQueryTimeoutsMs()
{
    QProcess list;
    list.start(Program, {QStringLiteral("--json"), QStringLiteral("list")});
    list.waitForFinished(10000);
    int sum = 0;
    for (const QByteArray &line : list.readAllStandardOutput().split('\n')) {
        const QJsonObject entry = QJsonDocument::fromJson(line).object();
        if (entry.value(QStringLiteral("query")).toBool())
            sum += entry.value(QStringLiteral("reply_timeout_ms")).toInt();
    }
    return sum;
}

struct Launcher {
    QString program;
    QStringList arguments;
    std::vector<double> firstByteMs;
    std::vector<double> cpuMs;
};

// One run to its end; false when it failed or the simulator saw no new command.
bool launchOnce(Launcher &launcher, const SimProcess &simulator, bool counted)
{
    const qsizetype before = simulator.trace().size();
    const std::optional<Ran> ran = runToEnd(launcher.arguments, launcher.program);
    const QList<SimProcess::Traced> trace = simulator.trace();
    if (!ran || trace.size() <= before)
        return false;
    if (counted) {
        launcher.firstByteMs.push_back(double(trace.at(before).ns - ran->startedNs) / 1e6);
        launcher.cpuMs.push_back(ran->cpuMs);
    }
    return true;
}

void benchFirstByte(int launches)
{
    const QString figure = QStringLiteral("zra70ctl start to first byte on the line");
    SimProcess simulator;
    QString error;
    if (!simulator.start({}, &error)) {
        emitRow(missing(figure, error));
        return;
    }
    Launcher ctl{Program,
                 {QStringLiteral("--port"), simulator.device(), QStringLiteral("send"),
                  QStringLiteral("power-on")},
                 {},
                 {}};
    Launcher bare{QStringLiteral(ZRA70_BARE_SEND_PATH), {simulator.device()}, {}, {}};
    // One launch each first, not counted: the libraries are then in the page cache. Then
    // alternating, so both meet the same load.
    for (int round = -1; round < launches; ++round) {
        if (!launchOnce(ctl, simulator, round >= 0) || !launchOnce(bare, simulator, round >= 0)) {
            emitRow(missing(figure, QStringLiteral("a launch failed or sent nothing")));
            return;
        }
    }
    const Spread spread = spreadOf(ctl.firstByteMs);
    emitRow(atMost(QStringLiteral("%1, median of %2").arg(figure).arg(launches),
                   formatSpread(spread, 1) + QStringLiteral(" ms"), spread.median, FirstByteLimitMs,
                   QStringLiteral("≤ %1 ms").arg(FirstByteLimitMs)));
    emitRow(info(QStringLiteral("  floor: bare Qt Core + QSerialPort sender"),
                 formatSpread(spreadOf(bare.firstByteMs), 1) + QStringLiteral(" ms"),
                 QStringLiteral("same run, alternating")));
    emitRow(
        info(QStringLiteral("  CPU per run, user + system: zra70ctl; floor"),
             QStringLiteral("%1 ms; %2 ms")
                 .arg(formatSpread(spreadOf(ctl.cpuMs), 1), formatSpread(spreadOf(bare.cpuMs), 1)),
             QStringLiteral("start, one exchange, exit")));
}

void benchStatusWallTime(int runs)
{
    const QString figure = QStringLiteral("zra70ctl status (9 exchanges) / sum of reply delays");
    SimProcess simulator;
    QString error;
    if (!simulator.start({QStringLiteral("--delay"), QString::number(ReplyDelayMs)}, &error)) {
        emitRow(missing(figure, error));
        return;
    }
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        const std::optional<Ran> ran =
            runToEnd({QStringLiteral("--port"), simulator.device(), QStringLiteral("status")});
        if (!ran) {
            emitRow(missing(figure, QStringLiteral("zra70ctl status failed")));
            return;
        }
        ms.push_back(ran->wallMs);
    }
    const double delays = 9.0 * ReplyDelayMs;
    const Spread spread = spreadOf(ms);
    emitRow(atMost(figure, QStringLiteral("%1 ms / %2 ms").arg(formatSpread(spread, 0)).arg(delays),
                   spread.median / delays, StatusOverDelaysLimit,
                   QStringLiteral("≤ %1 ×").arg(StatusOverDelaysLimit, 0, 'f', 1)));
    emitRow(info(QStringLiteral("  waiting out every reply timeout instead"),
                 QStringLiteral("%1 ms").arg(sumOfQueryTimeoutsMs()),
                 QStringLiteral("an exchange ends at its reply's ACK, NAK or CR")));
}

} // namespace

void benchCtl(const Profile &profile)
{
    emitRow(note(QStringLiteral("zra70ctl: posix_spawn to the simulator's read of the command "
                                "(its CLOCK_MONOTONIC trace), beside the panel's start-up "
                                "above; status: spawn to exit against a simulator that waits "
                                "%1 ms before each reply")
                     .arg(ReplyDelayMs)));
    benchFirstByte(profile.ctlLaunches);
    benchStatusWallTime(profile.ctlLaunches / 4 + 1);
}
