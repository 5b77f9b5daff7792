#include "command_sender.h"

#include "interval_timer.h"
#include "repeater.h"
#include "transaction.h"

CommandSender::CommandSender(Transaction &transaction, IntervalTimer &replyTimeout,
                             IntervalTimer &displayClear, Repeater *arrows)
    : m_transaction(transaction)
    , m_replyTimeout(replyTimeout)
    , m_displayClear(displayClear)
    , m_arrows(arrows)
{
}

void CommandSender::send(const CommandButton &command)
{
    send(QByteArray(command.code), command.timing);
}

void CommandSender::send(const QByteArray &code, TimingKind timing)
{
    if (const ReplyTiming *intervals = replyTimingOf(timing)) {
        m_replyTimeout.setInterval(intervals->replyTimeoutMs);
        m_displayClear.setInterval(intervals->displayClearMs);
    }
    m_transaction.sendCommand(code);
    if (timing == TimingKind::ArrowPreparation && m_arrows)
        m_arrows->prepareArrows();
}

void CommandSender::sendTyped(const QString &text)
{
    send(text.toLatin1(), TimingKind::LongReply);
}
