#pragma once

#include "transaction.h"

// The three display lines as plain strings, for tests of the exchange.
struct RecordingDisplay final : TrafficDisplay {
    void showSent(const QString &text) override { sent = text; }
    void showReceived(const QString &text) override { received = text; }
    void showStatus(const QString &text) override { status = text; }

    QString sent;
    QString received;
    QString status;
};
