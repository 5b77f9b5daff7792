#include "clock.h"
#include "event_loop.h"
#include "far_end.h"
#include "panel_rig.h"
#include "profile.h"
#include "report.h"
#include "scenarios.h"
#include "serial_server.h"
#include "service_process.h"
#include "stats.h"

#include <optional>

// The panel on a local pseudo-terminal, across RFC 2217 to a ser2net on this machine in front
// of a pseudo-terminal, and through zra70d's line port in front of one, measured the same way
// one after the other.
namespace {

constexpr const char *VolumePlus = "Command1";
constexpr const char *ZoomPlus = "Command48";
constexpr const char *ArrowRight = "Command8";
constexpr int ArrowPeriodMs = 5;
constexpr int HoldSecondsAtMost = 10;

struct Line {
    enum class Via { Pty, Ser2net, ServiceLinePort };
    QString name;
    Via via;
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

// Only the held commands count: zra70d's own polling crosses the line meanwhile. Gives how
// many arrived.
qint64 measureHold(PanelRig &rig, FarEnd &farEnd, const QString &name, int seconds)
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

    std::vector<FarEnd::Arrival> held;
    for (size_t i = size_t(first); i < arrivals.size(); ++i) {
        if (arrivals[i].command == "C30" || arrivals[i].command == "C3A")
            held.push_back(arrivals[i]);
    }
    qint64 arrows = 0;
    bool inOrder = !held.empty() && held.front().command == "C30";
    std::vector<double> gapsMs;
    for (size_t i = 1; i < held.size(); ++i) {
        inOrder = inOrder && held[i].command == "C3A";
        ++arrows;
        if (i > 1)
            gapsMs.push_back(double(held[i].ns - held[i - 1].ns) / 1e6);
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
    return arrows;
}

// The address the panel opens for the line; empty with *error when it could not be set up.
QString deviceFor(const Line &line, FarEnd &farEnd, SerialServer &server, ServiceProcess &service,
                  QString *error)
{
    if (!farEnd.start(error))
        return {};
    switch (line.via) {
    case Line::Via::Pty:
        return farEnd.devicePath();
    case Line::Via::Ser2net:
        *error = server.start(farEnd.devicePath(), SerialServer::Kind::Ser2netRfc2217);
        return error->isEmpty() ? server.url() : QString();
    case Line::Via::ServiceLinePort:
        if (!service.start({"--port", farEnd.devicePath(), "--line", "0", "--pjlink", "off"})) {
            *error = QStringLiteral("zra70d did not start: ") + QString::fromUtf8(service.log());
            return {};
        }
        return QStringLiteral("tcp://") + service.address(QStringLiteral("line"));
    }
    return {};
}

// Held commands delivered, or nothing when the line could not be measured.
std::optional<qint64> measureLine(const Line &line, const Profile &profile)
{
    FarEnd farEnd;
    SerialServer server;
    ServiceProcess service;
    QString error;
    const QString device = deviceFor(line, farEnd, server, service, &error);
    std::unique_ptr<PanelRig> rig;
    if (!device.isEmpty()) {
        rig = std::make_unique<PanelRig>(device, PanelRig::Writes::Counted);
        if (!rig->isReady())
            error = rig->problem();
    }
    const QString pressFigure = QStringLiteral("  %1: press-to-wire p50, p99").arg(line.name);
    if (!rig || !rig->isReady()) {
        emitRow(missing(pressFigure, error));
        return std::nullopt;
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
    return measureHold(*rig, farEnd, line.name,
                       std::min(HoldSecondsAtMost, profile.longHoldSeconds));
}

} // namespace

void benchNetwork(const Profile &profile)
{
    emitRow(note(QStringLiteral("Network: the same panel, far end and measures on a local "
                                "pseudo-terminal, across RFC 2217 to ser2net on 127.0.0.1 in "
                                "front of one, and through zra70d's line port in front of one "
                                "(zra70d polling at its default 10 s meanwhile)")));
    using enum Line::Via;
    const auto direct = measureLine({QStringLiteral("local pty"), Pty}, profile);
    measureLine({QStringLiteral("RFC 2217 via ser2net"), Ser2net}, profile);
    const auto service =
        measureLine({QStringLiteral("zra70d line port"), ServiceLinePort}, profile);
    const QString figure = QStringLiteral("Hold through zra70d's line port / direct");
    if (!direct || !service || *direct == 0) {
        emitRow(missing(figure, QStringLiteral("a hold could not be measured")));
        return;
    }
    const double ratio = double(*service) / double(*direct);
    emitRow(atLeast(figure,
                    QStringLiteral("%1 % (%2 / %3 delivered)")
                        .arg(ratio * 100, 0, 'f', 1)
                        .arg(*service)
                        .arg(*direct),
                    ratio, 0.99, QStringLiteral("≥ 99 %")));
}
