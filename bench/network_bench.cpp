#include "clock.h"
#include "event_loop.h"
#include "far_end.h"
#include "panel_rig.h"
#include "profile.h"
#include "report.h"
#include "scenarios.h"
#include "serial_server.h"
#include "stats.h"

#include <optional>

// The panel on a local pseudo-terminal and across RFC 2217 to a ser2net on this machine in
// front of a pseudo-terminal, measured the same way one after the other.
namespace {

constexpr const char *VolumePlus = "Command1";
constexpr const char *ZoomPlus = "Command48";
constexpr const char *ArrowRight = "Command8";
constexpr int ArrowPeriodMs = 5;
constexpr int HoldSecondsAtMost = 10;

struct Line {
    QString name;
    bool overNetwork;
};

// Press to the carriage return read at the far end, in ms.
std::optional<std::vector<double>> pressToWire(PanelRig &rig, FarEnd &farEnd, int presses)
{
    std::vector<double> ms;
    for (int i = 0; i < presses; ++i) {
        const qsizetype before = farEnd.count();
        const qint64 pressed = steadyNowNs();
        rig.press(VolumePlus);
        if (!farEnd.waitForCount(before + 1, 2000))
            return std::nullopt;
        ms.push_back(double(farEnd.arrival(before).ns - pressed) / 1e6);
        rig.release(VolumePlus);
        runEventLoopFor(2 + i % 4); // the ACK comes back and is shown before the next press
    }
    return ms;
}

void measureHold(PanelRig &rig, FarEnd &farEnd, const QString &name, int seconds)
{
    const QString figure = QStringLiteral("  %1: → held %2 s at 5 ms").arg(name).arg(seconds);
    const qsizetype first = farEnd.count();
    const qint64 writesBefore = rig.writeCounter()->writes();
    rig.press(ZoomPlus); // the arrows repeat every 5 ms after a D.Zoom adjustment
    rig.release(ZoomPlus);
    runEventLoopFor(50);
    rig.press(ArrowRight);
    runEventLoopFor(seconds * 1000);
    rig.release(ArrowRight);
    runEventLoopFor(500); // everything written has crossed
    const std::vector<FarEnd::Arrival> arrivals = farEnd.arrivals();

    qint64 arrows = 0;
    bool inOrder = arrivals.size() > size_t(first) && arrivals[first].command == "C30";
    std::vector<double> gapsMs;
    for (size_t i = size_t(first) + 1; i < arrivals.size(); ++i) {
        inOrder = inOrder && arrivals[i].command == "C3A";
        ++arrows;
        if (i > size_t(first) + 1)
            gapsMs.push_back(double(arrivals[i].ns - arrivals[i - 1].ns) / 1e6);
    }
    const qint64 written = rig.writeCounter()->writes() - writesBefore - 1; // less the D.Zoom
    const qint64 ideal = seconds * 1000 / ArrowPeriodMs;
    const QString measured =
        QStringLiteral("%1 of %2 delivered (%3 written), %4; p99 gap %5 ms")
            .arg(arrows)
            .arg(ideal)
            .arg(written)
            .arg(inOrder ? QStringLiteral("in order") : QStringLiteral("OUT OF ORDER"))
            .arg(percentile(gapsMs, 99), 0, 'f', 2);
    const bool exact = inOrder && arrows == written;
    emitRow({figure, measured, QStringLiteral("all written, in order"),
             written ? double(arrows) / double(written) : 0,
             exact ? Row::Verdict::Pass : Row::Verdict::Fail});
}

void measureLine(const Line &line, const Profile &profile)
{
    FarEnd farEnd;
    SerialServer server;
    QString error;
    QString device;
    if (farEnd.start(&error)) {
        device = farEnd.devicePath();
        if (line.overNetwork) {
            error = server.start(device, SerialServer::Kind::Ser2netRfc2217);
            device = error.isEmpty() ? server.url() : QString();
        }
    }
    std::unique_ptr<PanelRig> rig;
    if (!device.isEmpty()) {
        rig = std::make_unique<PanelRig>(device, PanelRig::Writes::Counted);
        if (!rig->isReady())
            error = rig->problem();
    }
    const QString pressFigure = QStringLiteral("  %1: press-to-wire p50, p99").arg(line.name);
    if (!rig || !rig->isReady()) {
        emitRow(missing(pressFigure, error));
        return;
    }
    const auto ms = pressToWire(*rig, farEnd, profile.presses);
    if (!ms)
        emitRow(missing(pressFigure, QStringLiteral("a press sent nothing")));
    else
        emitRow(info(pressFigure, QStringLiteral("%1 ms, %2 ms (max %3 ms, %4 presses)")
                                      .arg(percentile(*ms, 50), 0, 'f', 3)
                                      .arg(percentile(*ms, 99), 0, 'f', 3)
                                      .arg(percentile(*ms, 100), 0, 'f', 3)
                                      .arg(ms->size())));
    measureHold(*rig, farEnd, line.name, std::min(HoldSecondsAtMost, profile.longHoldSeconds));
}

} // namespace

void benchNetwork(const Profile &profile)
{
    emitRow(note(QStringLiteral("Network: the same panel, far end and measures on a local "
                                "pseudo-terminal and across RFC 2217 to ser2net on 127.0.0.1 "
                                "in front of one")));
    for (const Line &line : {Line{QStringLiteral("local pty"), false},
                             Line{QStringLiteral("RFC 2217 via ser2net"), true}})
        measureLine(line, profile);
}
