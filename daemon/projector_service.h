#pragma once

#include "exchange_queue.h"
#include "projector_readings.h"

#include <QByteArrayList>
#include <QHash>
#include <QObject>

#include <functional>
#include <memory>

class IntervalTimer;
class SerialPort;
class TimerService;

// The projector as the service's clients see it: one queue of exchanges on its line, and what
// is known of its state, kept fresh by polling. Clients' requests go ahead of the polling.
//
// Every exchange that passes, whoever asked for it, teaches the state: a status query's reply
// sets its field, a command that may change a field has that field read again right after it,
// and a change of the power phase has everything read again. While the power is warming up or
// cooling down, the phase is read every transitionPollMs. A projector that leaves an exchange
// unanswered, or a line that is down, empties the state: nothing stale is ever reported.
class ProjectorService final : public QObject {
    Q_OBJECT
public:
    struct Timing {
        int pollMs = 10000;
        int transitionPollMs = 2000;
    };
    using StateCallback = std::function<void(const ProjectorState &)>;

    ProjectorService(SerialPort &port, TimerService &timers, Timing timing);
    ~ProjectorService() override;

    const ProjectorState &state() const { return m_state; }
    // The line is up and the projector answered the last exchange.
    bool isAnswering() const { return m_answering; }

    // Calls back with the state once the fields of these status queries are known: at once
    // when they are, else after one reading of each unknown field, shared with every other
    // caller waiting for it and sent ahead of the polling. A field being read again after a
    // client's command counts as unknown, so a query right after a set sees its effect.
    // Fields still unknown then could not be read.
    void whenRead(const QByteArrayList &queryCodes, StateCallback done);

    // A client's command (a code of the vocabulary, such as "C00"), ahead of the polling.
    void command(const QByteArray &code, std::function<void(Outcome)> done);
    // A client's exchange as it stands: any text, its reply bytes returned.
    void exchange(const Request &request, ExchangeQueue::Done done);

    // Reads everything now, in the background (the line has come back, say).
    void readAll();

    ExchangeQueue &queue() { return m_queue; }

signals:
    void stateChanged(const ProjectorState &before, const ProjectorState &now);
    void answeringChanged(bool answering);
    // Every exchange that ended, whoever asked for it.
    void exchanged(const ExchangeResult &result);

private:
    struct PendingRead {
        ExchangeQueue::Ticket ticket = 0;
        QList<std::function<void()>> waiters;
        bool forClient = false; // asked for by a client or after a client's command
    };

    void read(const QByteArray &code, ExchangeQueue::Priority priority,
              std::function<void()> then = {});
    void learn(const ExchangeResult &result);
    void setState(const ProjectorState &now);
    void setAnswering(bool answering);

    ExchangeQueue m_queue;
    Timing m_timing;
    std::unique_ptr<IntervalTimer> m_poll;
    std::unique_ptr<IntervalTimer> m_transitionPoll;
    ProjectorState m_state;
    bool m_answering = false;
    QHash<QByteArray, PendingRead> m_pendingReads;
};
