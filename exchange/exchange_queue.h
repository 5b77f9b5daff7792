#pragma once

#include "exchange_request.h"
#include "transaction.h"

#include <QElapsedTimer>
#include <QObject>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

class IntervalTimer;
class SerialPort;
class TimerService;

// The one owner of the line's exchanges: requests from any number of callers go out one at a
// time through the transaction routine, each once the one before it has ended (at its reply's
// first ACK, NAK or carriage return, or else at its reply timeout). Bytes that arrive between
// exchanges answer nothing sent and are dropped before the next send. Client requests go
// ahead of background ones; none is ever interrupted.
//
// A request made while the line is down ends at once with Outcome::LineLost; one made while a
// network line is still connecting waits for it. When the line fails, the exchange on it and
// every queued one end with LineLost and lineFailed() is raised.
//
// Completions are delivered from the event loop, never from inside enqueue().
class ExchangeQueue final : public QObject, private TrafficDisplay {
    Q_OBJECT
public:
    enum class Priority { Client, Background };
    using Done = std::function<void(const ExchangeResult &)>;
    using Ticket = quint64;

    ExchangeQueue(SerialPort &port, TimerService &timers);
    ~ExchangeQueue() override;

    Ticket enqueue(Request request, Priority priority, Done done);
    // Moves a waiting background request ahead, among the client ones; false once it is sent.
    bool promote(Ticket ticket);
    bool isIdle() const { return !m_current && m_client.empty() && m_background.empty(); }

    // Every line the panel would show as it changes: "TXD ...", "RXD ...", "STATUS ...".
    std::function<void(const QString &)> onTraffic;

signals:
    void lineFailed(const QString &description);

private:
    struct Entry {
        Ticket ticket;
        Request request;
        Done done;
    };

    void showSent(const QString &text) override;
    void showReceived(const QString &text) override;
    void showStatus(const QString &text) override;

    void sendNext();
    void onArrival(const QByteArray &collected);
    void onReplyTimeout();
    void finish(Outcome outcome, const QByteArray &collected);
    void deliver(Done done, ExchangeResult result);
    void failAll(const QString &description);
    void traffic(const char *caption, const QString &text);

    SerialPort &m_port;
    std::unique_ptr<IntervalTimer> m_replyTimeout;
    std::unique_ptr<IntervalTimer> m_displayClear;
    Transaction m_transaction;

    std::deque<Entry> m_client;
    std::deque<Entry> m_background;
    std::optional<Entry> m_current;
    ExchangeResult m_result;
    QElapsedTimer m_sentAt;
    Ticket m_lastTicket = 0;
};
