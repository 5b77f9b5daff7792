// zra70-sim: a simulated ZRA70 projector on a pseudo-terminal, for trying out and testing the
// control panel without the hardware. Prints the device to open as its first line of output.

#include "projector_simulator.h"
#include "termination_signals.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <optional>

namespace {

std::optional<int> numberOption(const QCommandLineParser &parser, const QString &name,
                                int defaultValue, int minimum)
{
    if (!parser.isSet(name))
        return defaultValue;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < minimum) {
        std::fprintf(stderr, "zra70-sim: --%s needs a whole number of at least %d\n",
                     qPrintable(name), minimum);
        return std::nullopt;
    }
    return value;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zra70-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulates a ZRA70 projector on a pseudo-terminal. The first line of "
                       "output is the serial device to open."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("delay"), QStringLiteral("Wait <ms> before each reply."),
         QStringLiteral("ms")},
        {QStringLiteral("pieces"), QStringLiteral("Send each reply in <n> pieces."),
         QStringLiteral("n")},
        {QStringLiteral("gap"), QStringLiteral("Wait <ms> between the pieces of a reply."),
         QStringLiteral("ms")},
        {QStringLiteral("no-reply"), QStringLiteral("Take commands in but never answer.")},
        {QStringLiteral("garbage"), QStringLiteral("Mix 1 to 3 random bytes into every reply.")},
        {QStringLiteral("flood"),
         QStringLiteral("Send reply-like bytes continuously at line speed.")},
        {QStringLiteral("baud"), QStringLiteral("Line speed of the flood in baud (default 19200)."),
         QStringLiteral("n")},
        {QStringLiteral("trace"),
         QStringLiteral("Print every command received, with a monotonic time, to stderr.")},
        {QStringLiteral("link"),
         QStringLiteral("Also make <path> a symbolic link to the device, removed at exit."),
         QStringLiteral("path")},
    });
    parser.process(app);

    const auto delay = numberOption(parser, QStringLiteral("delay"), 0, 0);
    const auto pieces = numberOption(parser, QStringLiteral("pieces"), 1, 1);
    const auto gap = numberOption(parser, QStringLiteral("gap"), 0, 0);
    const auto baud = numberOption(parser, QStringLiteral("baud"), 19200, 10);
    if (!delay || !pieces || !gap || !baud)
        return 2;

    SimulatorOptions options;
    options.replyDelayMs = *delay;
    options.pieces = *pieces;
    options.pieceGapMs = *gap;
    options.noReply = parser.isSet(QStringLiteral("no-reply"));
    options.garbage = parser.isSet(QStringLiteral("garbage"));
    options.flood = parser.isSet(QStringLiteral("flood"));
    options.floodBaud = *baud;
    options.trace = parser.isSet(QStringLiteral("trace"));
    options.linkPath = parser.value(QStringLiteral("link"));

    // Installed before the device exists, so a script that signals us as soon as it has read
    // the path still gets a clean exit.
    TerminationSignals termination;
    if (!termination.install()) {
        std::perror("zra70-sim: signal handlers");
        return 1;
    }
    QObject::connect(&termination, &TerminationSignals::received, &app, &QCoreApplication::quit);

    ProjectorSimulator simulator(options);
    QString error;
    if (!simulator.start(&error)) {
        std::fprintf(stderr, "zra70-sim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(simulator.devicePath()));
    std::fflush(stdout);

    app.exec();
    simulator.stop();
    return 0;
}
