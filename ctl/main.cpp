// zra70ctl: sends commands to a ZRA70 series projector from a script or a terminal, through
// the panel's own transaction routine, reply decoder and serial port.

#include "command_catalog.h"
#include "ctl_options.h"
#include "exchange_queue.h"
#include "name_suggestion.h"
#include "port_choice.h"
#include "qt_timer_service.h"
#include "result_output.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

void printLine(std::FILE *stream, const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

void printLine(std::FILE *stream, const QString &line)
{
    printLine(stream, line.toLocal8Bit());
}

int usageError(const QString &problem)
{
    printLine(stderr, QStringLiteral("zra70ctl: %1\nTry 'zra70ctl --help'.").arg(problem));
    return UsageError;
}

QString unknownName(const QString &name, const QStringList &names)
{
    const QStringList closest = closestNames(name, names);
    QString text = QStringLiteral("unknown name \"%1\"").arg(name);
    if (!closest.isEmpty())
        text += QStringLiteral("; did you mean %1?").arg(closest.join(QStringLiteral(" or ")));
    return text + QStringLiteral(" ('zra70ctl list' shows them all)");
}

int listCatalog(const CtlOptions &options)
{
    for (const CatalogEntry &entry : catalog())
        options.json ? printLine(stdout, catalogJson(entry))
                     : printLine(stdout, catalogText(entry));
    return AllAnswered;
}

// The requests the command asks for, or a usage error.
std::optional<QList<Request>> requestsFor(const CtlOptions &options, QString *problem)
{
    QList<Request> requests;
    if (options.command == QLatin1String("status")) {
        requests = allQueries();
    } else if (options.command == QLatin1String("raw")) {
        requests.append(rawRequest(options.arguments.join(QLatin1Char(' '))));
    } else if (options.command == QLatin1String("query")) {
        const QString &name = options.arguments.first();
        const std::optional<Request> query = queryNamed(name);
        if (!query) {
            *problem = requestNamed(name)
                           ? QStringLiteral("\"%1\" is not a status query; the queries are: %2")
                                 .arg(name, queryNames().join(QStringLiteral(", ")))
                           : unknownName(name, queryNames());
            return std::nullopt;
        }
        requests.append(*query);
    } else {
        for (const QString &name : options.arguments) {
            const std::optional<Request> request = requestNamed(name);
            if (!request) {
                *problem = unknownName(name, commandNames());
                return std::nullopt;
            }
            requests.append(*request);
        }
    }
    if (options.timeoutMs) {
        for (Request &request : requests) {
            request.replyTimeoutMs = *options.timeoutMs;
            request.displayClearMs = std::max(request.displayClearMs, *options.timeoutMs);
        }
    }
    return requests;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zra70ctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZRA70_VERSION));

    const ParsedOptions parsed = parseOptions(QCoreApplication::arguments());
    if (!parsed.options)
        return usageError(parsed.usageError);
    const CtlOptions &options = *parsed.options;
    if (options.command == QLatin1String("list"))
        return listCatalog(options);

    QString problem;
    const std::optional<QList<Request>> requests = requestsFor(options, &problem);
    if (!requests)
        return usageError(problem);
    const std::unique_ptr<SerialPort> port = createPort(options.port, &problem);
    if (!port)
        return usageError(problem);

    port->setSettings(QStringLiteral("%1,N,8,1").arg(options.speed));
    if (const PortStatus opened = port->open(); !opened) {
        printLine(stderr, QStringLiteral("zra70ctl: ") +
                              describeForCommandLine(opened.description(), options.port));
        return PortTrouble;
    }

    QtTimerService timers;
    ExchangeQueue queue(*port, timers);
    if (options.verbose)
        queue.onTraffic = [](const QString &line) {
            printLine(stderr, line);
        };
    QList<Outcome> outcomes;
    for (const Request &request : *requests) {
        queue.enqueue(request, ExchangeQueue::Priority::Client, [&](const ExchangeResult &result) {
            if (result.outcome == Outcome::LineLost)
                return; // told once, by lineFailed below
            outcomes.append(result.outcome);
            options.json ? printLine(stdout, resultJson(result))
                         : printLine(stdout, resultText(result));
            if (outcomes.size() == requests->size())
                QCoreApplication::exit(exitStatusFor(outcomes));
        });
    }
    // A network port connects in the event loop; its loss before that ends the run here too.
    QObject::connect(&queue, &ExchangeQueue::lineFailed, &app, [&](const QString &description) {
        printLine(stderr,
                  QStringLiteral("zra70ctl: ") + describeForCommandLine(description, options.port));
        QCoreApplication::exit(PortTrouble);
    });
    const int status = QCoreApplication::exec();
    port->close();
    return status;
}
