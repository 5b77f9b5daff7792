#include "projector_service.h"

#include "command_requests.h"
#include "interval_timer.h"
#include "serial_port.h"

#include <memory>

namespace {

// What a command may have changed, read again right after it.
struct Aftermath {
    const char *command;
    const char *query;
};
constexpr Aftermath Aftermaths[] = {
    {"C00", "CR0"},
    {"C01", "CR0"},
    {"C05", "CR1"},
    {"C06", "CR1"},
    {"C07", "CR1"},
    {"C50", "CR1"},
    {"C51", "CR1"},
    {"C54", "CR1"},
    {"CF INPUT COMPUTER1 S-VIDEO", "CR1"},
    {"CF INPUT COMPUTER2 ANALOG", "CR1"},
    {"CF INPUT VIDEO VIDEO", "CR1"},
    {"C0B", "CRA"},
    {"C0C", "CRA"},
    {"C0D", "CRA"},
    {"C0E", "CRA"},
};

const char *aftermathOf(QByteArrayView command)
{
    for (const Aftermath &row : Aftermaths) {
        if (command == QByteArrayView(row.command))
            return row.query;
    }
    return nullptr;
}

std::optional<PowerPhase> phaseOf(const ProjectorState &state)
{
    return state.power ? std::optional(state.power->phase) : std::nullopt;
}

bool isTransition(std::optional<PowerPhase> phase)
{
    return phase == PowerPhase::WarmingUp || phase == PowerPhase::CoolingDown;
}

bool isAnswered(Outcome outcome)
{
    return outcome != Outcome::NoReply && outcome != Outcome::LineLost;
}

} // namespace

ProjectorService::ProjectorService(SerialPort &port, TimerService &timers, Timing timing)
    : m_queue(port, timers)
    , m_timing(timing)
    , m_poll(timers.createTimer(timing.pollMs))
    , m_transitionPoll(timers.createTimer(timing.transitionPollMs))
{
    m_poll->setTickHandler([this] { readAll(); });
    m_transitionPoll->setTickHandler([this] { read("CR0", ExchangeQueue::Priority::Background); });
    m_poll->start();
    connect(&port, &SerialPort::linkLost, this, [this] {
        setAnswering(false);
        setState({});
    });
}

ProjectorService::~ProjectorService() = default;

void ProjectorService::whenRead(const QByteArrayList &queryCodes, StateCallback done)
{
    QByteArrayList unknown;
    for (const QByteArray &code : queryCodes) {
        const StateQuery *query = findStateQuery(code);
        // A field read again after a client's command is about to change: wait for it.
        const auto pending = m_pendingReads.constFind(code);
        const bool rereading = pending != m_pendingReads.cend() && pending->forClient;
        if (query && (!query->isKnown(m_state) || rereading))
            unknown.append(code);
    }
    if (unknown.isEmpty()) {
        done(m_state);
        return;
    }
    auto remaining = std::make_shared<qsizetype>(unknown.size());
    auto shared = std::make_shared<StateCallback>(std::move(done));
    for (const QByteArray &code : unknown)
        read(code, ExchangeQueue::Priority::Client, [this, remaining, shared] {
            if (--*remaining == 0)
                (*shared)(m_state);
        });
}

void ProjectorService::command(const QByteArray &code, std::function<void(Outcome)> done)
{
    exchange(requestForCode(code), [done = std::move(done)](const ExchangeResult &result) {
        if (done)
            done(result.outcome);
    });
}

void ProjectorService::exchange(const Request &request, ExchangeQueue::Done done)
{
    m_queue.enqueue(request, ExchangeQueue::Priority::Client,
                    [this, done = std::move(done)](const ExchangeResult &result) {
                        learn(result);
                        if (done)
                            done(result);
                    });
}

void ProjectorService::readAll()
{
    for (const StateQuery &query : stateQueries())
        read(query.code, ExchangeQueue::Priority::Background);
}

// One reading of a field at a time: later askers wait for the one under way.
void ProjectorService::read(const QByteArray &code, ExchangeQueue::Priority priority,
                            std::function<void()> then)
{
    const auto pending = m_pendingReads.find(code);
    if (pending != m_pendingReads.end()) {
        if (then)
            pending->waiters.append(std::move(then));
        if (priority == ExchangeQueue::Priority::Client) {
            m_queue.promote(pending->ticket);
            pending->forClient = true;
        }
        return;
    }
    PendingRead &entry = m_pendingReads[code];
    entry.forClient = priority == ExchangeQueue::Priority::Client;
    if (then)
        entry.waiters.append(std::move(then));
    entry.ticket =
        m_queue.enqueue(requestForCode(code), priority, [this, code](const ExchangeResult &result) {
            learn(result);
            const QList<std::function<void()>> waiters = m_pendingReads.take(code).waiters;
            for (const auto &waiter : waiters)
                waiter();
        });
}

void ProjectorService::learn(const ExchangeResult &result)
{
    emit exchanged(result);
    setAnswering(isAnswered(result.outcome));
    if (!m_answering) {
        setState({});
        return;
    }
    if (const StateQuery *query = findStateQuery(result.code)) {
        ProjectorState now = m_state;
        query->take(now, result.outcome == Outcome::Answer ? QByteArrayView(result.received)
                                                           : QByteArrayView());
        setState(now);
    }
    if (const char *query = aftermathOf(result.code);
        query && (result.outcome == Outcome::Ack || result.outcome == Outcome::Answer))
        read(query, ExchangeQueue::Priority::Client);
}

void ProjectorService::setState(const ProjectorState &now)
{
    if (now == m_state)
        return;
    const ProjectorState before = std::exchange(m_state, now);
    const std::optional<PowerPhase> phase = phaseOf(now);
    if (isTransition(phase))
        m_transitionPoll->start();
    else
        m_transitionPoll->stop();
    emit stateChanged(before, now);
    // Lamp, input, mutes and temperatures follow the power: read them again.
    if (phase && phaseOf(before) && phase != phaseOf(before))
        readAll();
}

void ProjectorService::setAnswering(bool answering)
{
    if (std::exchange(m_answering, answering) != answering)
        emit answeringChanged(answering);
}
