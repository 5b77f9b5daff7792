#include "exchange_queue.h"

#include "interval_timer.h"
#include "serial_port.h"

#include <QTimer>

namespace {
constexpr char Ack = 6;
constexpr char Nak = 21;
constexpr char CarriageReturn = '\r';
} // namespace

Outcome outcomeOf(QByteArrayView collected)
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

ExchangeQueue::ExchangeQueue(SerialPort &port, TimerService &timers)
    : m_port(port)
    , m_replyTimeout(timers.createTimer(500))
    , m_displayClear(timers.createTimer(1000))
    , m_transaction(port, *m_replyTimeout, *m_displayClear, *this)
{
    m_replyTimeout->setTickHandler([this] { onReplyTimeout(); });
    // Nothing to blank: the lines of each exchange have been captured.
    m_displayClear->setTickHandler([this] { m_displayClear->stop(); });
    m_transaction.setArrivalHandler([this](const QByteArray &collected) { onArrival(collected); });
    m_transaction.setSendFailureHandler(
        [this](const QString &description) { failAll(description); });
    connect(&port, &SerialPort::commEvent, this,
            [this](int code) { m_transaction.onCommEvent(code); });
    connect(&port, &SerialPort::linkLost, this, &ExchangeQueue::failAll);
    connect(&port, &SerialPort::linkReady, this, &ExchangeQueue::sendNext);
}

ExchangeQueue::~ExchangeQueue() = default;

ExchangeQueue::Ticket ExchangeQueue::enqueue(Request request, Priority priority, Done done)
{
    const Ticket ticket = ++m_lastTicket;
    Entry entry{ticket, std::move(request), std::move(done)};
    if (!m_port.isOpen()) {
        ExchangeResult result;
        result.name = entry.request.name;
        result.code = entry.request.code;
        result.outcome = Outcome::LineLost;
        deliver(std::move(entry.done), std::move(result));
        return ticket;
    }
    (priority == Priority::Client ? m_client : m_background).push_back(std::move(entry));
    sendNext();
    return ticket;
}

bool ExchangeQueue::promote(Ticket ticket)
{
    const auto waiting = std::find_if(m_background.begin(), m_background.end(),
                                      [ticket](const Entry &e) { return e.ticket == ticket; });
    if (waiting == m_background.end())
        return std::any_of(m_client.begin(), m_client.end(),
                           [ticket](const Entry &e) { return e.ticket == ticket; });
    m_client.push_back(std::move(*waiting));
    m_background.erase(waiting);
    return true;
}

void ExchangeQueue::sendNext()
{
    if (m_current || !m_port.isReady())
        return; // an exchange is on the line, or the line is still connecting
    std::deque<Entry> &queue = m_client.empty() ? m_background : m_client;
    if (queue.empty())
        return;
    m_current = std::move(queue.front());
    queue.pop_front();
    const Request &request = m_current->request;
    m_transaction.clearRecvText();
    m_result = ExchangeResult{};
    m_result.name = request.name;
    m_result.code = request.code;
    m_replyTimeout->setInterval(request.replyTimeoutMs);
    m_displayClear->setInterval(request.displayClearMs);
    m_sentAt.start();
    m_transaction.sendCommand(request.code);
    if (m_current)
        m_result.sent = m_transaction.sendText();
}

void ExchangeQueue::onArrival(const QByteArray &collected)
{
    if (!m_current)
        return;
    m_result.replyMs = m_sentAt.nsecsElapsed() / 1e6;
    if (Transaction::isCompleteReply(collected))
        finish(outcomeOf(collected), collected);
}

void ExchangeQueue::onReplyTimeout()
{
    const QByteArray collected = m_transaction.recvText();
    m_transaction.onReplyTimeout();
    if (m_current)
        finish(outcomeOf(collected), collected);
}

void ExchangeQueue::finish(Outcome outcome, const QByteArray &collected)
{
    Entry entry = std::move(*m_current);
    m_current.reset();
    m_result.received = collected;
    m_result.outcome = outcome;
    if (outcome == Outcome::NoReply || outcome == Outcome::LineLost)
        m_result.replyMs.reset();
    // Ends the collection now, as the reply timeout would: the reply is complete.
    if (m_replyTimeout->isActive())
        m_transaction.onReplyTimeout();
    m_displayClear->stop();
    deliver(std::move(entry.done), std::move(m_result));
    // Not from inside the port's receive notification, and after the completion above.
    QTimer::singleShot(0, this, &ExchangeQueue::sendNext);
}

void ExchangeQueue::deliver(Done done, ExchangeResult result)
{
    if (done)
        QTimer::singleShot(0, this,
                           [done = std::move(done), result = std::move(result)] { done(result); });
}

void ExchangeQueue::failAll(const QString &description)
{
    if (m_current) {
        m_replyTimeout->stop();
        finish(Outcome::LineLost, QByteArray());
    }
    for (std::deque<Entry> *queue : {&m_client, &m_background}) {
        for (Entry &entry : *queue) {
            ExchangeResult result;
            result.name = entry.request.name;
            result.code = entry.request.code;
            result.outcome = Outcome::LineLost;
            deliver(std::move(entry.done), std::move(result));
        }
        queue->clear();
    }
    emit lineFailed(description);
}

void ExchangeQueue::showSent(const QString &text)
{
    if (m_current && !text.isEmpty())
        m_result.sentLine = text;
    traffic("TXD", text);
}

void ExchangeQueue::showReceived(const QString &text)
{
    if (m_current && !text.isEmpty())
        m_result.receivedLine = text;
    traffic("RXD", text);
}

void ExchangeQueue::showStatus(const QString &text)
{
    if (m_current && !text.isEmpty())
        m_result.status = text;
    traffic("STATUS", text);
}

void ExchangeQueue::traffic(const char *caption, const QString &text)
{
    if (onTraffic && !text.isEmpty())
        onTraffic(QLatin1String(caption) + text);
}
