#include "clock.h"
#include "launcher.h"
#include "map_watcher.h"
#include "proc_status.h"
#include "profile.h"
#include "report.h"
#include "scenarios.h"
#include "sim_process.h"
#include "stats.h"

#include <QStandardPaths>
#include <QTemporaryDir>

#include <chrono>
#include <optional>
#include <thread>

namespace {

constexpr int MapTimeoutMs = 20000;
constexpr double TimeVsEmpty = 1.6;
constexpr double MemoryVsEmpty = 1.3;
constexpr double VersusReference = 0.5;

struct Program {
    QString name;
    QString path;
    QStringList arguments;
    QProcessEnvironment environment;
    bool needsSimulator = false;
};

struct Launch {
    double ms = 0;
    double residentKiB = 0;
};

struct Samples {
    std::vector<double> ms;
    std::vector<double> kib;
};

std::optional<Launch> launchOnce(MapWatcher &watcher, const Program &program, int settleMs,
                                 QString *error)
{
    SimProcess simulator; // a fresh one each time: a killed panel leaves its port claimed
    QProcessEnvironment environment = program.environment;
    if (program.needsSimulator) {
        if (!simulator.start({}, error))
            return std::nullopt;
        environment.insert(QStringLiteral("ZRA70_COM1"), simulator.device());
    }
    const qint64 started = steadyNowNs();
    const pid_t pid = spawnProgram(program.path, program.arguments, environment);
    if (!pid) {
        *error = QStringLiteral("cannot start ") + program.path;
        return std::nullopt;
    }
    const std::optional<qint64> mapped = watcher.waitForMap(pid, MapTimeoutMs);
    if (!mapped) {
        endProgram(pid);
        *error = program.name + QStringLiteral(" mapped no window");
        return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const qint64 resident = residentKiB(pid);
    endProgram(pid);
    return Launch{double(*mapped - started) / 1e6, double(resident)};
}

QString timeAndMemory(const Samples &samples)
{
    return QStringLiteral("%1 ms, %2 MiB")
        .arg(formatSpread(spreadOf(samples.ms), 0))
        .arg(formatSpread(spreadOf([&] {
                              std::vector<double> mib;
                              for (const double kib : samples.kib)
                                  mib.push_back(kib / 1024);
                              return mib;
                          }()),
                          1));
}

std::vector<double> pairedRatios(const std::vector<double> &ours, const std::vector<double> &base)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < std::min(ours.size(), base.size()); ++i)
        ratios.push_back(ours[i] / base[i]);
    return ratios;
}

void emitRatio(const QString &figure, const std::vector<double> &ratios, double limit)
{
    const Spread spread = spreadOf(ratios);
    emitRow(atMost(figure, formatSpread(spread, 2) + QStringLiteral(" ×"), spread.median, limit,
                   QStringLiteral("≤ %1 ×").arg(limit, 0, 'f', 1)));
}

} // namespace

void benchStartUp(const Profile &profile)
{
    const QString timeFigure = QStringLiteral("Start-up time, panel / empty window");
    const QString settled =
        QStringLiteral("RSS %1 s after mapping").arg(profile.residentAfterMapMs / 1000.0);
    const QString memoryFigure = QStringLiteral("%1, panel / empty window").arg(settled);
    MapWatcher watcher;
    QString error;
    if (!watcher.connectToDisplay(&error)) {
        emitRow(missing(timeFigure, error));
        emitRow(missing(memoryFigure, error));
        return;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // The reference keeps settings; give it a home of its own, the same for every launch.
    QTemporaryDir referenceHome;
    QProcessEnvironment referenceEnvironment = environment;
    referenceEnvironment.insert(QStringLiteral("HOME"), referenceHome.path());
    referenceEnvironment.insert(QStringLiteral("XDG_CONFIG_HOME"), referenceHome.path());

    const QString baseline = QStringLiteral(ZRA70_EMPTY_WINDOW_PATH);
    std::vector<Program> programs{
        {QStringLiteral("panel"), QStringLiteral(ZRA70_PANEL_PATH), {}, environment, true},
        {QStringLiteral("empty window"), baseline, {}, environment},
        {QStringLiteral("window + 1 label"), baseline, {QStringLiteral("--label")}, environment},
    };
    const QString reference = QStandardPaths::findExecutable(QStringLiteral("cutecom"));
    if (!reference.isEmpty())
        programs.push_back({QStringLiteral("CuteCom"), reference, {}, referenceEnvironment});

    std::vector<Samples> samples(programs.size());
    // One launch each first, not counted: font and library caches are then warm for all.
    for (int round = -1; round < profile.startRounds; ++round) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            // Rotating the order too: A B C, B C A, C A B, ...
            const std::size_t which = (i + std::size_t(std::max(round, 0))) % programs.size();
            const auto launch =
                launchOnce(watcher, programs[which], profile.residentAfterMapMs, &error);
            if (!launch) {
                emitRow(missing(timeFigure, error));
                emitRow(missing(memoryFigure, error));
                return;
            }
            if (round >= 0) {
                samples[which].ms.push_back(launch->ms);
                samples[which].kib.push_back(launch->residentKiB);
            }
        }
    }

    emitRow(note(QStringLiteral("Start-up: posix_spawn to the MapNotify of the program's own "
                                "window on Xvfb (no window manager), launches in rotating "
                                "order, ratios paired per round; the panel gets a fresh "
                                "simulator as COM1 each time; CuteCom is Debian's (Qt 5)")));
    emitRatio(timeFigure, pairedRatios(samples[0].ms, samples[1].ms), TimeVsEmpty);
    emitRatio(memoryFigure, pairedRatios(samples[0].kib, samples[1].kib), MemoryVsEmpty);
    emitRow(info(QStringLiteral("  panel / window + 1 label: time; RSS"),
                 QStringLiteral("%1 ×; %2 ×")
                     .arg(formatSpread(spreadOf(pairedRatios(samples[0].ms, samples[2].ms)), 2),
                          formatSpread(spreadOf(pairedRatios(samples[0].kib, samples[2].kib)), 2)),
                 QStringLiteral("text alone loads the font database")));
    if (programs.size() > 3) {
        emitRatio(QStringLiteral("Start-up time, panel / CuteCom"),
                  pairedRatios(samples[0].ms, samples[3].ms), VersusReference);
        emitRatio(QStringLiteral("%1, panel / CuteCom").arg(settled),
                  pairedRatios(samples[0].kib, samples[3].kib), VersusReference);
    } else {
        emitRow(info(QStringLiteral("Start-up against CuteCom"), QStringLiteral("not installed")));
    }
    for (std::size_t i = 0; i < programs.size(); ++i)
        emitRow(info(QStringLiteral("  %1: exec → mapped; RSS").arg(programs[i].name),
                     timeAndMemory(samples[i]),
                     QStringLiteral("median [min–max] of %1").arg(samples[i].ms.size())));
}
