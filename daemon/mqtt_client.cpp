#include "mqtt_client.h"

#include "service_log.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHostAddress>
#include <QSocketNotifier>

#include <mosquitto.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace {

constexpr int Qos = 1;
constexpr char SystemCertificates[] = "/etc/ssl/certs";

// The library's words for a result, without their final full stop.
QString resultText(int code)
{
    QString text = QString::fromLocal8Bit(code == MOSQ_ERR_ERRNO ? std::strerror(errno)
                                                                 : mosquitto_strerror(code));
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

} // namespace

MqttClient::MqttClient(Settings settings, const ServiceLog &log)
    : m_settings(std::move(settings))
    , m_log(log)
    , m_retryMs(m_settings.firstRetryMs)
{
    mosquitto_lib_init();
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &MqttClient::lookUp);
    // The library sends its pings, and gives up on a silent broker, when asked to look.
    m_keepAlive.setInterval(m_settings.keepAliveSeconds * 1000 / 6);
    connect(&m_keepAlive, &QTimer::timeout, this, [this] {
        mosquitto_loop_misc(m_mosq);
        settle();
    });
}

MqttClient::~MqttClient()
{
    if (m_lookUpId >= 0)
        QHostInfo::abortHostLookup(m_lookUpId);
    m_readable.reset();
    m_writable.reset();
    if (m_mosq)
        mosquitto_destroy(m_mosq);
    mosquitto_lib_cleanup();
}

bool MqttClient::start(QString *problem)
{
    m_mosq = mosquitto_new(m_settings.clientId.toUtf8().constData(), true, this);
    if (!m_mosq) {
        *problem =
            QStringLiteral("cannot set up the MQTT client: %1").arg(resultText(MOSQ_ERR_ERRNO));
        return false;
    }
    mosquitto_connect_callback_set(m_mosq, onConnack);
    mosquitto_disconnect_callback_set(m_mosq, onDisconnect);
    mosquitto_message_callback_set(m_mosq, onMessage);
    mosquitto_log_callback_set(m_mosq, onLibraryLog);
    // Without it, a small message sent while one before it waits for its TCP acknowledgement
    // is held back for the peer's delayed acknowledgement, some 40 ms.
    int result = mosquitto_int_option(m_mosq, MOSQ_OPT_TCP_NODELAY, 1);
    if (result == MOSQ_ERR_SUCCESS && !m_settings.broker.user.isEmpty())
        result = mosquitto_username_pw_set(
            m_mosq, m_settings.broker.user.toUtf8().constData(),
            m_settings.password.isEmpty() ? nullptr : m_settings.password.constData());
    if (result == MOSQ_ERR_SUCCESS && m_settings.will) {
        const MqttMessage &will = *m_settings.will;
        result =
            mosquitto_will_set(m_mosq, will.topic.toUtf8().constData(), int(will.payload.size()),
                               will.payload.constData(), Qos, will.retained);
    }
    if (result != MOSQ_ERR_SUCCESS) {
        *problem = QStringLiteral("cannot set up the MQTT client: %1").arg(resultText(result));
        return false;
    }
    if (m_settings.broker.tls) {
        // The system's authorities as a directory: libmosquitto 2.0.11 takes
        // MOSQ_OPT_TLS_USE_OS_CERTS alone for its first connection only, and refuses every
        // reconnection.
        const QByteArray caFile = QFile::encodeName(m_settings.caFile);
        result = mosquitto_tls_set(m_mosq, caFile.isEmpty() ? nullptr : caFile.constData(),
                                   caFile.isEmpty() ? SystemCertificates : nullptr, nullptr,
                                   nullptr, nullptr);
        if (result != MOSQ_ERR_SUCCESS) {
            *problem = QStringLiteral("cannot read the certificate authority file %1")
                           .arg(m_settings.caFile);
            return false;
        }
    }
    // The library writes with write(), which raises SIGPIPE on a socket the broker has
    // closed; ignored, the write fails instead and the loss is seen on the next read.
    std::signal(SIGPIPE, SIG_IGN);
    lookUp();
    return true;
}

void MqttClient::subscribe(const QString &filter)
{
    m_filters.append(filter);
    if (m_connected)
        mosquitto_subscribe(m_mosq, nullptr, filter.toUtf8().constData(), Qos);
}

void MqttClient::publish(const MqttMessage &message)
{
    if (!m_connected)
        return;
    mosquitto_publish(m_mosq, nullptr, message.topic.toUtf8().constData(),
                      int(message.payload.size()), message.payload.constData(), Qos,
                      message.retained);
    m_writable->setEnabled(mosquitto_want_write(m_mosq));
}

void MqttClient::finish(const QList<MqttMessage> &last, int timeoutMs)
{
    m_retry.stop();
    if (!m_connected)
        return;
    for (const MqttMessage &message : last)
        publish(message);
    m_readable.reset();
    m_writable.reset();
    m_keepAlive.stop();
    m_connected = false;
    mosquitto_disconnect(m_mosq);
    // Usually all written at once; a full socket buffer is waited out here, at the end.
    const QDeadlineTimer deadline(timeoutMs);
    while (mosquitto_socket(m_mosq) >= 0 && !deadline.hasExpired())
        mosquitto_loop(m_mosq, 50, 1);
}

// A name is looked up in the background first; an address needs no lookup.
void MqttClient::lookUp()
{
    if (QHostAddress().setAddress(m_settings.broker.host))
        onLookedUp(QHostInfo());
    else
        m_lookUpId = QHostInfo::lookupHost(m_settings.broker.host, this, &MqttClient::onLookedUp);
}

void MqttClient::onLookedUp(const QHostInfo &info)
{
    m_lookUpId = -1;
    if (info.error() != QHostInfo::NoError) {
        trouble(
            QStringLiteral("cannot find %1: %2").arg(m_settings.broker.host, info.errorString()));
        return;
    }
    m_lostBecause.clear();
    // The name again, not the address found: TLS checks the broker's certificate against it.
    const int result = mosquitto_connect_async(m_mosq, m_settings.broker.host.toUtf8().constData(),
                                               m_settings.broker.port, m_settings.keepAliveSeconds);
    if (result != MOSQ_ERR_SUCCESS || mosquitto_socket(m_mosq) < 0) {
        trouble(QStringLiteral("cannot connect to %1: %2")
                    .arg(m_settings.broker.text(), resultText(result)));
        return;
    }
    watchSocket();
    settle();
}

void MqttClient::watchSocket()
{
    const int socket = mosquitto_socket(m_mosq);
    m_readable = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
    m_writable = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Write);
    connect(m_readable.get(), &QSocketNotifier::activated, this, &MqttClient::onReadable);
    connect(m_writable.get(), &QSocketNotifier::activated, this, &MqttClient::onWritable);
    m_keepAlive.start();
}

void MqttClient::onReadable()
{
    mosquitto_loop_read(m_mosq, 1);
    // A broker that leaves Nagle's algorithm on (mosquitto does, by default) holds a small
    // message back until its last one is acknowledged, which Linux delays by up to 40 ms:
    // acknowledged at once instead. The kernel leaves this mode by itself, so after each read.
    const int once = 1;
    setsockopt(mosquitto_socket(m_mosq), IPPROTO_TCP, TCP_QUICKACK, &once, sizeof once);
    settle();
}

void MqttClient::onWritable()
{
    // During the TLS handshake only the read step moves it on, whichever way it waits.
    if (m_settings.broker.tls && !m_connected)
        mosquitto_loop_read(m_mosq, 1);
    mosquitto_loop_write(m_mosq, 1);
    settle();
}

// Acts on what the library's callbacks saw during its call, now that it has returned.
void MqttClient::settle()
{
    if (!m_readable)
        return;
    if (const std::optional<int> code = std::exchange(m_connack, std::nullopt)) {
        if (*code == 0) {
            m_connected = true;
            m_troubleTold = false;
            m_retryMs = m_settings.firstRetryMs;
            m_log.event(QStringLiteral("mqtt: connected to %1").arg(m_settings.broker.text()));
            for (const QString &filter : std::as_const(m_filters))
                mosquitto_subscribe(m_mosq, nullptr, filter.toUtf8().constData(), Qos);
            emit connected();
        } else {
            m_lostBecause = QString::fromUtf8(mosquitto_connack_string(*code));
            m_lostBecause.chop(m_lostBecause.endsWith(QLatin1Char('.')) ? 1 : 0);
        }
    }
    for (const auto &[topic, payload] : std::exchange(m_arrived, {})) {
        if (m_connected)
            emit received(topic, payload);
    }
    if (mosquitto_socket(m_mosq) < 0) {
        dropConnection(m_lostBecause.isEmpty() ? QStringLiteral("connection closed")
                                               : m_lostBecause);
        return;
    }
    m_writable->setEnabled(mosquitto_want_write(m_mosq));
}

void MqttClient::dropConnection(const QString &why)
{
    m_readable.reset();
    m_writable.reset();
    m_keepAlive.stop();
    const bool wasConnected = std::exchange(m_connected, false);
    trouble(
        (wasConnected ? QStringLiteral("lost %1: %2") : QStringLiteral("cannot connect to %1: %2"))
            .arg(m_settings.broker.text(), why));
}

// Said once until the next connection; tried again after a pause that doubles each time.
void MqttClient::trouble(const QString &what)
{
    if (!std::exchange(m_troubleTold, true))
        m_log.event(QStringLiteral("mqtt: %1; trying again").arg(what));
    m_retry.start(m_retryMs);
    m_retryMs = std::min(m_retryMs * 2, m_settings.longestRetryMs);
}

void MqttClient::onConnack(mosquitto *, void *self, int code)
{
    static_cast<MqttClient *>(self)->m_connack = code;
}

void MqttClient::onDisconnect(mosquitto *, void *self, int code)
{
    auto *client = static_cast<MqttClient *>(self);
    if (client->m_lostBecause.isEmpty())
        client->m_lostBecause = resultText(code);
}

// The library says what went wrong with TLS (a certificate not verified, say) only here.
void MqttClient::onLibraryLog(mosquitto *, void *self, int level, const char *text)
{
    auto *client = static_cast<MqttClient *>(self);
    if (level == MOSQ_LOG_ERR && client->m_lostBecause.isEmpty())
        client->m_lostBecause = QString::fromUtf8(text);
}

void MqttClient::onMessage(mosquitto *, void *self, const mosquitto_message *message)
{
    static_cast<MqttClient *>(self)->m_arrived.append(
        {QString::fromUtf8(message->topic),
         QByteArray(static_cast<const char *>(message->payload), message->payloadlen)});
}
