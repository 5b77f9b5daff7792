#pragma once

#include "command_table.h"
#include "exchange_request.h"

#include <QByteArrayView>

// A command of the vocabulary as one exchange, waited on as long as a freshly started panel
// waits for its kind: the sticky kinds get the start intervals, an arrow the start intervals
// too (its mode is "as they are" at start), an adjuster its press values.
Request requestFor(const CommandButton &row);
Request requestFor(const Adjuster &row);
// Any code: the vocabulary's row when it has one, else the timing of a typed command.
Request requestForCode(QByteArrayView code);
// Free text, as the panel's SEND sends it: Latin-1 bytes, the typed command's timing.
Request typedRequest(const QString &name, const QByteArray &text);
