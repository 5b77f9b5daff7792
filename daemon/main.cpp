// zra70d: owns the line of a ZRA70 series projector, keeps its state and serves it to PJLink
// controllers, MQTT and, on a raw TCP line port, to zra70-panel and zra70ctl at once.

#include "line_keeper.h"
#include "line_port_server.h"
#include "mqtt_bridge.h"
#include "mqtt_client.h"
#include "mqtt_entities.h"
#include "pjlink_auth.h"
#include "pjlink_server.h"
#include "port_choice.h"
#include "projector_service.h"
#include "qt_timer_service.h"
#include "secret_file.h"
#include "serial_port.h"
#include "service_config.h"
#include "service_log.h"
#include "termination_signals.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

enum ExitStatus { Ended = 0, CannotServe = 1, UsageError = 2 };

constexpr qsizetype MqttPasswordLength = 256;
constexpr int MqttFarewellMs = 2000;

int usageError(const QString &problem)
{
    ServiceLog(false).event(QStringLiteral("zra70d: %1\nTry 'zra70d --help'.").arg(problem));
    return UsageError;
}

QString outcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Ack:
        return QStringLiteral("ACK");
    case Outcome::Answer:
        return QStringLiteral("answer");
    case Outcome::NoReply:
        return QStringLiteral("no reply");
    case Outcome::Refused:
        return QStringLiteral("NAK");
    case Outcome::LineLost:
        break;
    }
    return QStringLiteral("line lost");
}

void logExchange(const ServiceLog &log, const ExchangeResult &result)
{
    QString line = QStringLiteral("exchange %1: %2")
                       .arg(QString::fromLatin1(result.code), outcomeText(result.outcome));
    if (result.outcome == Outcome::Answer)
        line += QStringLiteral(":%1").arg(result.receivedLine);
    if (result.replyMs)
        line += QStringLiteral(" (%1 ms)").arg(*result.replyMs, 0, 'f', 1);
    log.exchange(line);
}

// The MQTT client's settings from the configuration; none, with the problem, when they
// cannot work.
std::optional<MqttClient::Settings>
mqttSettingsFrom(const ServiceConfig &config, const ProjectorTopics &topics, QString *problem)
{
    const std::optional<MqttBrokerAddress> broker = parseMqttBrokerAddress(config.mqtt, problem);
    if (!broker)
        return std::nullopt;
    MqttClient::Settings settings;
    settings.broker = *broker;
    if (!config.mqttPasswordFile.isEmpty()) {
        if (broker->user.isEmpty()) {
            *problem = QStringLiteral("mqtt-password-file needs a user: mqtt://USER@HOST");
            return std::nullopt;
        }
        const std::optional<QByteArray> password =
            readSecretFile(config.mqttPasswordFile, MqttPasswordLength, problem);
        if (!password)
            return std::nullopt;
        settings.password = *password;
    }
    if (!config.mqttCa.isEmpty() && !broker->tls) {
        *problem = QStringLiteral("mqtt-ca is for an mqtts:// broker");
        return std::nullopt;
    }
    settings.caFile = config.mqttCa;
    settings.clientId = QStringLiteral("zra70d-") + config.name;
    settings.will = availabilityMessage(topics, false);
    return settings;
}

} // namespace

int main(int argc, char *argv[])
{
    // Qt's own event loop: the service integrates with no GLib main loop, and leaving GLib's
    // out keeps a third of a megabyte of it off the resident memory.
    qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zra70d"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZRA70_VERSION));

    const ParsedConfig parsed = parseServiceConfig(QCoreApplication::arguments());
    if (!parsed.config)
        return usageError(parsed.problem);
    const ServiceConfig &config = *parsed.config;
    const ServiceLog log(config.verbose);

    QString problem;
    std::optional<QByteArray> password;
    if (config.pjlink && !config.passwordFile.isEmpty()) {
        password = readSecretFile(config.passwordFile, PjlinkLogin::MaxPasswordLength, &problem);
        if (!password)
            return usageError(problem);
    }
    const ProjectorTopics topics(config.name, config.discoveryPrefix);
    std::optional<MqttClient::Settings> mqttSettings;
    if (!config.mqtt.isEmpty()) {
        mqttSettings = mqttSettingsFrom(config, topics, &problem);
        if (!mqttSettings)
            return usageError(problem);
    }
    const std::unique_ptr<SerialPort> port = createPort(config.port, &problem);
    if (!port)
        return usageError(problem);
    port->setSettings(QStringLiteral("%1,N,8,1").arg(config.speed));

    TerminationSignals termination;
    if (!termination.install())
        return usageError(QStringLiteral("cannot handle SIGTERM"));
    QObject::connect(&termination, &TerminationSignals::received, &app, &QCoreApplication::quit);

    QtTimerService timers;
    ProjectorService service(*port, timers, {config.pollSeconds * 1000, 2000});
    QObject::connect(&service, &ProjectorService::exchanged, &app,
                     [&log](const ExchangeResult &result) { logExchange(log, result); });

    QStringList serving;
    std::unique_ptr<PjlinkServer> pjlink;
    if (config.pjlink) {
        pjlink = std::make_unique<PjlinkServer>(
            service, timers, log,
            PjlinkServer::Settings{{config.name.toUtf8(), QByteArrayLiteral(ZRA70_VERSION)},
                                   std::move(password)});
        if (!pjlink->listen(*config.pjlink, &problem)) {
            log.event(QStringLiteral("zra70d: ") + problem);
            return CannotServe;
        }
        serving.append(QStringLiteral("pjlink=") + pjlink->address().text());
    }
    std::unique_ptr<LinePortServer> linePort;
    if (config.line) {
        linePort = std::make_unique<LinePortServer>(service, log);
        if (!linePort->listen(*config.line, &problem)) {
            log.event(QStringLiteral("zra70d: ") + problem);
            return CannotServe;
        }
        serving.append(QStringLiteral("line=") + linePort->address().text());
    }

    // Connects in the background: a broker away delays nothing else.
    std::unique_ptr<MqttClient> mqtt;
    std::unique_ptr<MqttBridge> bridge;
    if (mqttSettings) {
        mqtt = std::make_unique<MqttClient>(*mqttSettings, log);
        bridge = std::make_unique<MqttBridge>(service, *mqtt, topics);
        if (!mqtt->start(&problem))
            return usageError(problem);
        serving.append(QStringLiteral("mqtt=") + mqttSettings->broker.text());
    }

    LineKeeper keeper(*port, log);
    QObject::connect(&keeper, &LineKeeper::lineUp, &service, &ProjectorService::readAll);
    keeper.start();

    // One line once every server accepts connections, for whoever started the service.
    std::printf("zra70d %s: serving %s\n", qUtf8Printable(config.name),
                qUtf8Printable(serving.join(QLatin1Char(' '))));
    std::fflush(stdout);

    const int status = QCoreApplication::exec();
    if (mqtt)
        mqtt->finish({bridge->farewell()}, MqttFarewellMs);
    port->close();
    log.event(QStringLiteral("zra70d %1: ended").arg(config.name));
    return status;
}
