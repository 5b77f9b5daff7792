// zra70-bench: measures the panel (timing fidelity, latency, start-up, memory, flood) and
// zra70d's PJLink, and prints one table. Each measurement runs in a fresh process of this same
// program.
//
//   zra70-bench [--quick | --smoke]          all measurements, then the table
//   zra70-bench --scenario NAME --profile P  one measurement, its rows on stdout

#include "profile.h"
#include "report.h"
#include "scenarios.h"

#include <QApplication>
#include <QFile>
#include <QProcess>

#include <cstdio>
#include <memory>

namespace {

struct Scenario {
    const char *name;
    void (*run)(const Profile &);
    bool needsWidgets;
    int extraSeconds; // beyond the profile's own durations, for the child's time limit
};

const Scenario scenarios[] = {
    {"repeat", benchRepeatFidelity, true, 300},
    {"tick-work", benchTickWork, true, 120},
    {"press-to-wire", benchPressToWire, true, 120},
    {"start-up", benchStartUp, false, 600},
    {"zra70ctl", benchCtl, false, 120},
    {"flood", benchFlood, true, 120},
    {"nothing-lost", benchNothingLost, true, 120},
    {"network", benchNetwork, true, 120},
    {"service-at-rest", benchServiceAtRest, false, 60},
    {"pjlink", benchPjlink, false, 300},
    {"mqtt", benchMqtt, false, 60},
};

const Scenario *scenarioNamed(const QString &name)
{
    for (const Scenario &scenario : scenarios) {
        if (name == QLatin1String(scenario.name))
            return &scenario;
    }
    return nullptr;
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

QList<Row> runScenario(const Scenario &scenario, const Profile &profile)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--scenario"), QLatin1String(scenario.name),
                 QStringLiteral("--profile"), profile.name});
    const int limitMs =
        (profile.floodSeconds + profile.longHoldSeconds + scenario.extraSeconds) * 1000;
    const bool finished = child.waitForFinished(limitMs);
    if (!finished)
        child.kill();
    QList<Row> rows;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        if (const auto row = decodeRow(QString::fromUtf8(line)))
            rows.append(*row);
    }
    const bool clean =
        finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    if (!clean || rows.isEmpty())
        rows.append(
            missing(QStringLiteral("%1 measurement").arg(QLatin1String(scenario.name)),
                    finished ? QStringLiteral("its process failed (exit %1)").arg(child.exitCode())
                             : QStringLiteral("its process did not finish in time")));
    return rows;
}

int runAll(const Profile &profile)
{
    std::printf("zra70-bench, profile %s; load average before: %s\n", qPrintable(profile.name),
                qPrintable(loadAverage()));
    std::fflush(stdout);
    QList<Row> rows;
    for (const Scenario &scenario : scenarios) {
        std::fprintf(stderr, "zra70-bench: %s...\n", scenario.name);
        rows += runScenario(scenario, profile);
    }
    std::printf("load average after: %s\n\n", qPrintable(loadAverage()));
    const Tally tally = printTable(rows, stdout);
    if (tally.missing)
        return 2;
    // A smoke run only shows that the harness works; its figures are too short to judge.
    if (profile.name == QLatin1String("smoke"))
        return 0;
    return tally.met == tally.judged ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QString scenarioName;
    QString profileName = QStringLiteral("full");
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument == QLatin1String("--quick") || argument == QLatin1String("--smoke"))
            profileName = argument.mid(2);
        else if (argument == QLatin1String("--scenario") && i + 1 < argc)
            scenarioName = QString::fromLocal8Bit(argv[++i]);
        else if (argument == QLatin1String("--profile") && i + 1 < argc)
            profileName = QString::fromLocal8Bit(argv[++i]);
        else {
            std::fprintf(stderr, "usage: zra70-bench [--quick | --smoke]\n");
            return 2;
        }
    }
    const std::optional<Profile> profile = profileNamed(profileName);
    if (!profile) {
        std::fprintf(stderr, "zra70-bench: no profile \"%s\"\n", qPrintable(profileName));
        return 2;
    }
    if (scenarioName.isEmpty()) {
        QCoreApplication app(argc, argv);
        return runAll(*profile);
    }
    const Scenario *scenario = scenarioNamed(scenarioName);
    if (!scenario) {
        std::fprintf(stderr, "zra70-bench: no scenario \"%s\"\n", qPrintable(scenarioName));
        return 2;
    }
    std::unique_ptr<QCoreApplication> app;
    if (scenario->needsWidgets)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    scenario->run(*profile);
    return 0;
}
