#pragma once

#include "fake_serial_port.h"
#include "fake_timers.h"
#include "transaction.h"

// The three display lines as plain strings, for tests of the exchange.
struct RecordingDisplay final : TrafficDisplay {
    void showSent(const QString &text) override { sent = text; }
    void showReceived(const QString &text) override { received = text; }
    void showStatus(const QString &text) override { status = text; }
    QStringList lines() const { return {sent, received, status}; }

    QString sent;
    QString received;
    QString status;
};

// The exchange on a recording port and a stepped clock, its timers wired as the panel wires them.
struct ExchangeRig {
    ExchangeRig()
    {
        QObject::connect(&port, &SerialPort::commEvent,
                         [this](int code) { transaction.onCommEvent(code); });
        replyTimeout->setTickHandler([this] { transaction.onReplyTimeout(); });
        displayClear->setTickHandler([this] { transaction.onDisplayClear(); });
        port.open();
    }
    FakeTimerService clock;
    std::unique_ptr<IntervalTimer> replyTimeout = clock.createTimer(500);
    std::unique_ptr<IntervalTimer> displayClear = clock.createTimer(1000);
    FakeSerialPort port;
    RecordingDisplay display;
    Transaction transaction{port, *replyTimeout, *displayClear, display};
};
