#include "network_serial_port.h"

#include "device_map.h"
#include "network_errors.h"
#include "network_link.h"
#include "port_errors.h"
#include "serial_trace.h"

namespace {

constexpr int ReopenDelayMs = 200;

} // namespace

NetworkSerialPort::NetworkSerialPort(NetworkTimings timings, QObject *parent)
    : SerialPort(parent)
    , m_timings(timings)
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(timings.retryMs);
    connect(&m_retry, &QTimer::timeout, this, &NetworkSerialPort::retry);
    m_standby.setSingleShot(true);
    m_standby.setInterval(timings.answerMs);
    connect(&m_standby, &QTimer::timeout, this, [this] {
        dropLink();
        m_state = State::Closed;
    });
}

NetworkSerialPort::~NetworkSerialPort()
{
    dropLink();
    dropClosedLink();
}

PortStatus NetworkSerialPort::setPortNumber(int number)
{
    if (!isKnownPortNumber(number))
        return PortStatus::failure(describeUnknownPortNumber(number));
    if (m_state == State::Open) {
        if (number == m_number)
            return PortStatus::success();
        return PortStatus::failure(describeRenumberWhileOpen(m_number, number));
    }
    close();
    m_number = number;
    return PortStatus::success();
}

PortStatus NetworkSerialPort::setSettings(const QString &settings)
{
    QString problem;
    const std::optional<LineSettings> parsed = parseLineSettings(settings, &problem);
    if (!parsed)
        return PortStatus::failure(problem);
    m_settingsText = settings;
    m_lineSettings = *parsed;
    if (m_state == State::Open && m_link)
        m_link->changeSettings(*parsed);
    else if (m_state == State::Returned)
        close(); // negotiated with the old settings: the next opening starts afresh
    return PortStatus::success();
}

PortStatus NetworkSerialPort::open()
{
    if (m_state == State::Open)
        return PortStatus::failure(describeAlreadyOpen(m_number, m_address.url()));
    const QString name = devicePathForPort(m_number);
    const std::optional<NetworkAddress> address = parseNetworkAddress(name);
    if (!address) {
        close();
        return PortStatus::failure(describeBadNetworkAddress(m_number, name));
    }
    if (m_state == State::Returned && m_link && m_link->address().url() == address->url()) {
        m_standby.stop();
        m_link->readAll(); // nothing was asked yet: anything there is stale
        m_state = State::Open;
        m_linkWasUp = true;
        qCDebug(lcSerial).noquote() << "open" << address->url() << "(link kept from retrying)";
        return PortStatus::success();
    }
    close();
    if (m_closedLink && m_closedLink->address().url() == address->url()) {
        m_link = std::move(m_closedLink);
        connectLink();
        m_link->readAll(); // what arrived for the closed port is not for this opening
        if (m_closedLinkSettings != m_settingsText)
            m_link->changeSettings(m_lineSettings);
        m_address = *address;
        m_state = State::Open;
        m_linkWasUp = m_link->isReady();
        qCDebug(lcSerial).noquote() << "open" << address->url() << "(reopened at once)";
        return PortStatus::success();
    }
    m_address = *address;
    m_state = State::Open;
    m_linkWasUp = false;
    m_opening.start();
    startLink(*address);
    qCDebug(lcSerial).noquote() << "open" << address->url() << m_settingsText;
    return PortStatus::success();
}

PortStatus NetworkSerialPort::close()
{
    m_retry.stop();
    m_standby.stop();
    if (m_state == State::Open && m_link) {
        qCDebug(lcSerial).noquote() << "close" << m_address.url();
        dropClosedLink();
        m_link->disconnect(this);
        m_closedLink = std::move(m_link);
        m_closedLinkSettings = m_settingsText;
        QMetaObject::invokeMethod(this, &NetworkSerialPort::dropClosedLink, Qt::QueuedConnection);
    }
    dropLink();
    m_state = State::Closed;
    return PortStatus::success();
}

void NetworkSerialPort::dropClosedLink()
{
    if (m_closedLink)
        m_closedLink.release()->deleteLater();
}

bool NetworkSerialPort::isReady() const
{
    return m_state == State::Open && m_link && m_link->isReady();
}

PortStatus NetworkSerialPort::write(const QByteArray &bytes)
{
    if (m_state != State::Open || !m_link)
        return PortStatus::failure(describeNotOpenForWrite(m_number, m_address.url()));
    if (!m_link->write(bytes))
        return PortStatus::failure(describeWriteFailure(
            m_number, m_address.url(),
            QStringLiteral("too much is waiting for the connection to be made")));
    return PortStatus::success();
}

QByteArray NetworkSerialPort::readAll()
{
    if (m_state != State::Open || !m_link)
        return QByteArray();
    return m_link->readAll();
}

QString NetworkSerialPort::deviceName() const
{
    if (m_state != State::Closed)
        return m_address.url();
    return devicePathForPort(m_number);
}

void NetworkSerialPort::startLink(const NetworkAddress &address, int delayMs)
{
    dropLink();
    m_link = std::make_unique<NetworkLink>(address, m_lineSettings, m_timings.answerMs,
                                           m_timings.settleMs, delayMs);
    connectLink();
}

void NetworkSerialPort::connectLink()
{
    connect(m_link.get(), &NetworkLink::ready, this, &NetworkSerialPort::onLinkReady);
    connect(m_link.get(), &NetworkLink::failed, this, &NetworkSerialPort::onLinkFailed);
    connect(m_link.get(), &NetworkLink::dataArrived, this, [this] {
        if (m_state == State::Open)
            emit commEvent(Receive);
    });
}

void NetworkSerialPort::dropLink()
{
    // A link fails from inside its socket's own signals: it is deleted once they are done.
    if (m_link) {
        m_link->disconnect(this);
        m_link.release()->deleteLater();
    }
}

void NetworkSerialPort::onLinkReady()
{
    if (m_state == State::Open) {
        m_linkWasUp = true;
        qCDebug(lcSerial).noquote() << "link up" << m_address.url();
        emit linkReady();
    } else if (m_state == State::Lost) {
        m_state = State::Returned;
        m_standby.start();
        qCDebug(lcSerial).noquote() << "server back" << m_address.url();
        emit deviceReturned();
    }
}

void NetworkSerialPort::onLinkFailed(const NetworkFailure &failure)
{
    if (m_state == State::Open && !m_linkWasUp &&
        failure.kind == NetworkFailure::Kind::ClosedByServer &&
        m_opening.elapsed() + ReopenDelayMs < m_timings.answerMs) {
        const QByteArray unsent = m_link->takeUnsent();
        startLink(m_address, ReopenDelayMs);
        m_link->write(unsent);
        return;
    }
    dropLink();
    if (m_state != State::Open) { // a retry or a returned link that did not last
        m_state = State::Lost;
        m_retry.start();
        return;
    }
    const QString description =
        m_linkWasUp ? describeNetworkLoss(m_number, m_address, m_settingsText, failure)
                    : describeNetworkOpenFailure(m_number, m_address, m_settingsText,
                                                 m_timings.answerMs, failure);
    if (isWorthRetrying(failure)) {
        m_state = State::Lost;
        m_retry.start();
    } else {
        m_state = State::Closed;
    }
    qCDebug(lcSerial).noquote() << "link lost:" << description;
    emit commEvent(EventDeviceError);
    emit linkLost(description);
}

void NetworkSerialPort::retry()
{
    if (m_state == State::Lost)
        startLink(m_address);
}
