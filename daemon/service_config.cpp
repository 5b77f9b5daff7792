#include "service_config.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <functional>

namespace {

const QString Summary = QStringLiteral(
    "Owns the line of a ZRA70 series projector and serves it to PJLink controllers, to MQTT "
    "(Home Assistant) and, on a raw TCP line port, to zra70-panel and zra70ctl at once.\n\n"
    "Options override the configuration file, whose KEY=VALUE lines take the long option "
    "names as keys (port=1, speed=19200, pjlink=0.0.0.0:4352, ...); # starts a comment.");

// One setting, as an option of the command line and a key of the configuration file.
struct Setting {
    const char *key;
    const char *valueName; // nullptr for a switch
    const char *help;
    // Takes the text into the configuration; a problem when it is not a valid value.
    std::function<QString(ServiceConfig &, const QString &)> take;
};

QString takeInt(int *into, const QString &text, int least, int most, const char *what)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < least || value > most)
        return QStringLiteral("%1 must be a whole number from %2 to %3, not \"%4\"")
            .arg(QLatin1String(what))
            .arg(least)
            .arg(most)
            .arg(text);
    *into = value;
    return {};
}

QString takeListen(std::optional<ListenAddress> *into, const QString &text, const char *what)
{
    if (text == QLatin1String("off")) {
        into->reset();
        return {};
    }
    *into = parseListenAddress(text);
    if (!*into)
        return QStringLiteral("%1 must be [HOST:]PORT or off, not \"%2\"")
            .arg(QLatin1String(what), text);
    return {};
}

// Printed in PJLink's NAME and in MQTT topics: no topic wildcards or levels, no control bytes.
bool isValidName(const QString &name)
{
    if (name.isEmpty() || name.toUtf8().size() > 64)
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return c.unicode() < 0x20 || c == QLatin1Char('/') || c == QLatin1Char('+') ||
               c == QLatin1Char('#') || c.unicode() == 0x7F;
    });
}

QString takeText(QString *into, const QString &text)
{
    *into = text;
    return {};
}

const Setting Settings[] = {
    {"port", "PORT",
     "Port 1 or 2 (as the panel's COM1 and COM2), a device path, tcp://HOST:PORT or "
     "rfc2217://HOST:PORT. Default 1.",
     [](ServiceConfig &c, const QString &t) {
         return t.isEmpty() ? QStringLiteral("port must not be empty") : takeText(&c.port, t);
     }},
    {"speed", "9600|19200", "The line speed in baud. Default 19200.",
     [](ServiceConfig &c, const QString &t) {
         if (t != QLatin1String("9600") && t != QLatin1String("19200"))
             return QStringLiteral("speed must be 9600 or 19200, not \"%1\"").arg(t);
         c.speed = t.toInt();
         return QString();
     }},
    {"name", "NAME", "The projector's name, for PJLink and MQTT. Default zra70.",
     [](ServiceConfig &c, const QString &t) {
         if (!isValidName(t))
             return QStringLiteral("name must be 1 to 64 bytes without control characters, "
                                   "/, + or #, not \"%1\"")
                 .arg(t);
         return takeText(&c.name, t);
     }},
    {"pjlink", "[HOST:]PORT|off", "Where PJLink is served. Default 127.0.0.1:4352.",
     [](ServiceConfig &c, const QString &t) {
         return takeListen(&c.pjlink, t, "pjlink");
     }},
    {"password-file", "FILE", "The PJLink password, from a file others cannot read.",
     [](ServiceConfig &c, const QString &t) {
         return takeText(&c.passwordFile, t);
     }},
    {"line", "[HOST:]PORT|off", "Serve the projector's line on a raw TCP port. Default off.",
     [](ServiceConfig &c, const QString &t) {
         return takeListen(&c.line, t, "line");
     }},
    {"poll", "SECONDS", "How often the whole state is read. Default 10.",
     [](ServiceConfig &c, const QString &t) {
         return takeInt(&c.pollSeconds, t, 1, 3600, "poll");
     }},
    {"mqtt", "URL", "Publish to an MQTT broker: mqtt://[USER@]HOST[:PORT] or mqtts://...",
     [](ServiceConfig &c, const QString &t) {
         return takeText(&c.mqtt, t);
     }},
    {"mqtt-password-file", "FILE", "The MQTT password, from a file others cannot read.",
     [](ServiceConfig &c, const QString &t) {
         return takeText(&c.mqttPasswordFile, t);
     }},
    {"mqtt-ca", "FILE", "The certificate authority for mqtts://.",
     [](ServiceConfig &c, const QString &t) {
         return takeText(&c.mqttCa, t);
     }},
    {"discovery-prefix", "PREFIX", "Home Assistant's discovery prefix. Default homeassistant.",
     [](ServiceConfig &c, const QString &t) {
         return t.isEmpty() ? QStringLiteral("discovery-prefix must not be empty")
                            : takeText(&c.discoveryPrefix, t);
     }},
    {"verbose", nullptr, "Log every exchange on the line.",
     [](ServiceConfig &c, const QString &t) {
         const QString value = t.toLower();
         if (value != QLatin1String("true") && value != QLatin1String("false"))
             return QStringLiteral("verbose must be true or false, not \"%1\"").arg(t);
         c.verbose = value == QLatin1String("true");
         return QString();
     }},
};

// KEY=VALUE lines; blank lines and lines starting with # or ; are comments.
QString readConfigFile(const QString &path, ServiceConfig &config)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("cannot read the configuration file %1: %2")
            .arg(path, file.errorString());
    // A configuration named for its projector (/etc/zra70d/hall.conf) names it.
    if (const QString base = QFileInfo(path).completeBaseName(); isValidName(base))
        config.name = base;
    int number = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine(4096)).trimmed();
        ++number;
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) ||
            line.startsWith(QLatin1Char(';')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QString key = line.left(equals).trimmed();
        const auto setting = std::find_if(std::begin(Settings), std::end(Settings),
                                          [&](const Setting &s) { return key == s.key; });
        if (equals < 0)
            return QStringLiteral("%1:%2: not KEY=VALUE").arg(path).arg(number);
        if (setting == std::end(Settings))
            return QStringLiteral("%1:%2: unknown key \"%3\"").arg(path).arg(number).arg(key);
        if (QString problem = setting->take(config, line.mid(equals + 1).trimmed());
            !problem.isEmpty())
            return QStringLiteral("%1:%2: %3").arg(path).arg(number).arg(problem);
    }
    return {};
}

} // namespace

QString ListenAddress::text() const
{
    const QString address = host.protocol() == QAbstractSocket::IPv6Protocol
                                ? QStringLiteral("[%1]").arg(host.toString())
                                : host.toString();
    return QStringLiteral("%1:%2").arg(address).arg(port);
}

std::optional<ListenAddress> parseListenAddress(const QString &text)
{
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    QString host = colon < 0 ? QStringLiteral("127.0.0.1") : text.left(colon);
    bool ok = false;
    const uint port = text.mid(colon + 1).toUInt(&ok);
    if (!ok || port > 65535)
        return std::nullopt;
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    else if (host.contains(QLatin1Char(':')))
        return std::nullopt; // IPv6 goes in brackets
    if (host == QLatin1String("localhost"))
        host = QStringLiteral("127.0.0.1");
    QHostAddress address;
    if (!address.setAddress(host))
        return std::nullopt;
    return ListenAddress{address, quint16(port)};
}

ParsedConfig parseServiceConfig(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(Summary);
    const QCommandLineOption configOption(QStringLiteral("config"),
                                          QStringLiteral("Read the settings from FILE first."),
                                          QStringLiteral("FILE"));
    parser.addOption(configOption);
    QList<QCommandLineOption> options;
    for (const Setting &setting : Settings) {
        options.append(
            setting.valueName
                ? QCommandLineOption(QLatin1String(setting.key), QLatin1String(setting.help),
                                     QLatin1String(setting.valueName))
                : QCommandLineOption(QLatin1String(setting.key), QLatin1String(setting.help)));
        parser.addOption(options.last());
    }
    parser.addHelpOption();
    parser.addVersionOption();
    if (!parser.parse(arguments))
        return {std::nullopt, parser.errorText()};
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty())
        return {
            std::nullopt,
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first())};

    ServiceConfig config;
    if (parser.isSet(configOption)) {
        if (QString problem = readConfigFile(parser.value(configOption), config);
            !problem.isEmpty())
            return {std::nullopt, problem};
    }
    for (qsizetype i = 0; i < options.size(); ++i) {
        if (!parser.isSet(options[i]))
            continue;
        const QString value =
            Settings[i].valueName ? parser.value(options[i]) : QStringLiteral("true");
        if (QString problem = Settings[i].take(config, value); !problem.isEmpty())
            return {std::nullopt, problem};
    }
    return {config, {}};
}
