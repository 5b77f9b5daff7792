#pragma once

#include "exchange_request.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct CatalogEntry;

QString outcomeName(Outcome outcome);

// "power-on: ACK", "status:  Power ON": the name, a colon and a blank, then the status line as
// the panel shows it, or the outcome, or the received line of an answer it does not decode.
QString resultText(const ExchangeResult &result);
// One JSON object on one line: name, sent, sent_line, received, received_line, status,
// outcome, ms. Bytes are arrays of numbers.
QByteArray resultJson(const ExchangeResult &result);

QString catalogText(const CatalogEntry &entry);
QByteArray catalogJson(const CatalogEntry &entry);

// The program's exit status.
enum ExitStatus {
    AllAnswered = 0,
    SomeNoReply = 1,
    UsageError = 2,
    SomeRefused = 3,
    PortTrouble = 4,
};
// A refusal weighs more than a missing reply.
ExitStatus exitStatusFor(const QList<Outcome> &outcomes);
