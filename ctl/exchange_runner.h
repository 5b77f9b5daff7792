#pragma once

#include "exchange_result.h"
#include "request.h"
#include "transaction.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>

#include <functional>
#include <memory>

class IntervalTimer;
class SerialPort;
class TimerService;

// Sends requests one after another through the panel's transaction routine, each once the
// one before it has finished: at its reply's first ACK, NAK or carriage return, or else at
// its reply timeout, as the panel ends a collection. Reply pieces are collected, shown and
// decoded exactly as the panel does; the lines it would show are captured per exchange.
class ExchangeRunner final : public QObject, private TrafficDisplay {
    Q_OBJECT
public:
    ExchangeRunner(SerialPort &port, TimerService &timers);
    ~ExchangeRunner() override;

    // Sends the first request at once; the rest follow from the event loop.
    void start(QList<Request> requests);

    // Each finished exchange, in order.
    std::function<void(const ExchangeResult &)> onResult;
    // Every line the panel would show as it changes: "TXD ...", "RXD ...", "STATUS ...".
    std::function<void(const QString &)> onTraffic;

signals:
    void finished();
    // Nothing could be sent, or the line was lost: no further request is sent.
    void portFailed(const QString &description);

private:
    void showSent(const QString &text) override;
    void showReceived(const QString &text) override;
    void showStatus(const QString &text) override;

    void sendNext();
    void onArrival(const QByteArray &collected);
    void onReplyTimeout();
    void finishExchange(const QByteArray &collected);
    void fail(const QString &description);
    void traffic(const char *caption, const QString &text);

    std::unique_ptr<IntervalTimer> m_replyTimeout;
    std::unique_ptr<IntervalTimer> m_displayClear;
    Transaction m_transaction;

    QList<Request> m_requests;
    qsizetype m_next = 0;
    bool m_inExchange = false;
    bool m_failed = false;
    ExchangeResult m_current;
    QElapsedTimer m_sentAt;
};
