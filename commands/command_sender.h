#pragma once

#include "command_table.h"

#include <QString>

class IntervalTimer;
class Repeater;
class Transaction;

// Sends single-press and typed commands with their timing kind applied. A kind that needs
// other reply-timeout and display-clear intervals sets them before the send, and they stay in
// force for every later send until a command sets them again.
class CommandSender {
public:
    // arrows: prepared by the arrow-preparation kind; none for a program without the cross.
    CommandSender(Transaction &transaction, IntervalTimer &replyTimeout,
                  IntervalTimer &displayClear, Repeater *arrows = nullptr);

    void send(const CommandButton &command);
    void send(const QByteArray &code, TimingKind timing);
    // Free text goes out one byte per character (Latin-1 where it can, "?" beyond it), with
    // the long-reply timing.
    void sendTyped(const QString &text);

private:
    Transaction &m_transaction;
    IntervalTimer &m_replyTimeout;
    IntervalTimer &m_displayClear;
    Repeater *m_arrows;
};
