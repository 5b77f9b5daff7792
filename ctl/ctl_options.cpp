#include "ctl_options.h"

#include <QCommandLineParser>

namespace {

const QString Summary = QStringLiteral(
    "Sends commands to a ZRA70 series projector on a serial port and prints the replies, "
    "decoded as the panel decodes them.\n\n"
    "Commands:\n"
    "  list                  every command name with its code, its kind and what it does\n"
    "  send NAME [NAME...]   send commands by name, each waiting for its reply\n"
    "  query NAME            one of the nine status queries, decoded\n"
    "  status                all nine status queries, one decoded line each\n"
    "  raw TEXT              send TEXT and a carriage return, as the panel's SEND does\n\n"
    "Exit status: 0 every command answered, 1 some command got no reply, 2 usage error,\n"
    "3 some command was refused (NAK), 4 the port could not be opened or was lost.");

// How many words each command takes: at least, and at most (-1: no limit).
struct Shape {
    const char *command;
    int least;
    int most;
};
constexpr Shape Shapes[] = {
    {"list", 0, 0}, {"send", 1, -1}, {"query", 1, 1}, {"status", 0, 0}, {"raw", 1, -1},
};

QString checkShape(const QString &command, qsizetype words)
{
    for (const Shape &shape : Shapes) {
        if (command != QLatin1String(shape.command))
            continue;
        if (words < shape.least)
            return QStringLiteral("%1 needs %2")
                .arg(command, shape.least == 1 && shape.most == 1 ? QStringLiteral("a name")
                                                                  : QStringLiteral("an argument"));
        if (shape.most >= 0 && words > shape.most)
            return QStringLiteral("%1 takes %2")
                .arg(command,
                     shape.most == 0 ? QStringLiteral("no arguments") : QStringLiteral("one name"));
        return QString();
    }
    return QStringLiteral("unknown command \"%1\": use list, send, query, status or raw")
        .arg(command);
}

} // namespace

ParsedOptions parseOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(Summary);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Port 1 or 2 (as the panel's COM1 and COM2), a device "
                       "path, tcp://HOST:PORT or rfc2217://HOST:PORT. "
                       "Default 1."),
        QStringLiteral("PORT"), QStringLiteral("1"));
    const QCommandLineOption speed(QStringLiteral("speed"),
                                   QStringLiteral("9600 or 19200 baud, 8N1. Default 19200."),
                                   QStringLiteral("BAUD"), QStringLiteral("19200"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("One JSON object per line per command."));
    const QCommandLineOption timeout(
        QStringLiteral("timeout"),
        QStringLiteral("Wait MS for every reply instead of the panel's time for its kind."),
        QStringLiteral("MS"));
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("Print the traffic lines on standard error."));
    parser.addOptions({port, speed, json, timeout, verbose});
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("list, send, query, status or raw"));
    parser.addPositionalArgument(QStringLiteral("arguments"), QStringLiteral("names or text"),
                                 QStringLiteral("[ARGUMENTS...]"));

    if (!parser.parse(arguments))
        return {std::nullopt, parser.errorText()};
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    CtlOptions options;
    options.port = parser.value(port);
    if (options.port.isEmpty())
        return {std::nullopt, QStringLiteral("--port needs 1, 2, a device path or an address")};
    const QString baud = parser.value(speed);
    if (baud != QLatin1String("9600") && baud != QLatin1String("19200"))
        return {std::nullopt, QStringLiteral("--speed must be 9600 or 19200")};
    options.speed = baud.toInt();
    options.json = parser.isSet(json);
    options.verbose = parser.isSet(verbose);
    if (parser.isSet(timeout)) {
        bool ok = false;
        const int ms = parser.value(timeout).toInt(&ok);
        if (!ok || ms < 1 || ms > 600000)
            return {std::nullopt, QStringLiteral("--timeout needs milliseconds, 1 to 600000")};
        options.timeoutMs = ms;
    }
    QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        return {std::nullopt, QStringLiteral("no command: use list, send, query, status or raw")};
    options.command = words.takeFirst();
    if (const QString problem = checkShape(options.command, words.size()); !problem.isEmpty())
        return {std::nullopt, problem};
    options.arguments = words;
    return {options, QString()};
}
