#include "exchange_runner.h"

#include "command_table.h"
#include "interval_timer.h"
#include "serial_port.h"

#include <QTimer>

namespace {

constexpr char Ack = 6;
constexpr char Nak = 21;
constexpr char CarriageReturn = '\r';

Outcome outcomeOf(const QByteArray &collected)
{
    if (collected.isEmpty())
        return Outcome::NoReply;
    for (const char byte : collected) {
        if (byte == Ack)
            return Outcome::Ack;
        if (byte == Nak)
            return Outcome::Refused;
        if (byte == CarriageReturn)
            break;
    }
    return Outcome::Answer;
}

} // namespace

ExchangeRunner::ExchangeRunner(SerialPort &port, TimerService &timers)
    : m_replyTimeout(timers.createTimer(ReplyTimeoutStartMs))
    , m_displayClear(timers.createTimer(DisplayClearStartMs))
    , m_transaction(port, *m_replyTimeout, *m_displayClear, *this)
{
    m_replyTimeout->setTickHandler([this] { onReplyTimeout(); });
    // Nothing to blank here: the lines of each exchange have been captured.
    m_displayClear->setTickHandler([this] { m_displayClear->stop(); });
    m_transaction.setArrivalHandler([this](const QByteArray &collected) { onArrival(collected); });
    m_transaction.setSendFailureHandler([this](const QString &description) { fail(description); });
    connect(&port, &SerialPort::commEvent, this,
            [this](int code) { m_transaction.onCommEvent(code); });
    connect(&port, &SerialPort::linkLost, this, &ExchangeRunner::fail);
}

ExchangeRunner::~ExchangeRunner() = default;

void ExchangeRunner::start(QList<Request> requests)
{
    m_requests = std::move(requests);
    m_next = 0;
    sendNext();
}

void ExchangeRunner::sendNext()
{
    if (m_failed)
        return;
    if (m_next >= m_requests.size()) {
        emit finished();
        return;
    }
    const Request &request = m_requests.at(m_next++);
    // Bytes that came after the last exchange ended answer nothing sent by this run.
    m_transaction.clearRecvText();
    m_current = ExchangeResult{};
    m_current.name = request.name;
    m_inExchange = true;
    m_replyTimeout->setInterval(request.replyTimeoutMs);
    m_displayClear->setInterval(request.displayClearMs);
    m_sentAt.start();
    m_transaction.sendCommand(request.code);
    m_current.sent = m_transaction.sendText();
}

void ExchangeRunner::onArrival(const QByteArray &collected)
{
    if (!m_inExchange)
        return;
    m_current.replyMs = m_sentAt.nsecsElapsed() / 1e6;
    if (Transaction::isCompleteReply(collected))
        finishExchange(collected);
}

void ExchangeRunner::onReplyTimeout()
{
    const QByteArray collected = m_transaction.recvText();
    m_transaction.onReplyTimeout();
    if (m_inExchange)
        finishExchange(collected);
}

void ExchangeRunner::finishExchange(const QByteArray &collected)
{
    m_inExchange = false;
    m_current.received = collected;
    m_current.outcome = outcomeOf(collected);
    if (m_current.outcome == Outcome::NoReply)
        m_current.replyMs.reset();
    // Ends the collection now, as the reply timeout would: the reply is complete.
    if (m_replyTimeout->isActive())
        m_transaction.onReplyTimeout();
    m_displayClear->stop();
    if (onResult)
        onResult(m_current);
    // Not from inside the port's receive notification.
    QTimer::singleShot(0, this, &ExchangeRunner::sendNext);
}

void ExchangeRunner::fail(const QString &description)
{
    if (m_failed)
        return;
    m_failed = true;
    m_inExchange = false;
    m_replyTimeout->stop();
    m_displayClear->stop();
    emit portFailed(description);
}

void ExchangeRunner::showSent(const QString &text)
{
    if (m_inExchange && !text.isEmpty())
        m_current.sentLine = text;
    traffic("TXD", text);
}

void ExchangeRunner::showReceived(const QString &text)
{
    if (m_inExchange && !text.isEmpty())
        m_current.receivedLine = text;
    traffic("RXD", text);
}

void ExchangeRunner::showStatus(const QString &text)
{
    if (m_inExchange && !text.isEmpty())
        m_current.status = text;
    traffic("STATUS", text);
}

void ExchangeRunner::traffic(const char *caption, const QString &text)
{
    if (onTraffic && !text.isEmpty())
        onTraffic(QLatin1String(caption) + text);
}
