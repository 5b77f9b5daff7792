#pragma once

#include "exchange_request.h"
#include "projector_readings.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>

#include <optional>
#include <span>
#include <variant>

// PJLink Class 1 as the projector's side speaks it, with no I/O: a client's line read into a
// request, what the projector must be asked, and the reply text. A command is "%1", a body of
// four characters, a blank and a parameter of at most 128 bytes; a reply is the command's
// header, "=", and its value or an error, ended by a carriage return.

namespace pjlink {

// The longest command, "%1" + body + blank + 128 parameter bytes, its carriage return left out.
inline constexpr qsizetype MaxCommandLength = 135;
inline constexpr qsizetype MaxReplyLength = 135;

enum class Error {
    UndefinedCommand, // ERR1: an unknown body, or a class other than 1
    BadParameter,     // ERR2: a parameter the body does not take, or a refused set
    UnavailableTime,  // ERR3: not while the projector is in this power phase
    ProjectorFailure, // ERR4: the projector did not answer, or the line is down
};

// What the projector must be in for a row's value to mean something.
enum class Need {
    Any,
    Steady, // a set is refused (ERR3) while warming up or cooling down
    On,     // queries and sets alike are refused (ERR3) unless the power is on
};

// What the reply needs that the projector's state does not hold.
struct Identity {
    QByteArray name;    // NAME, at most 64 bytes
    QByteArray version; // INFO
};

// One row of the mapping: a PJLink body and one of its values, the status queries that tell
// the value and the projector commands that set it.
struct Row {
    const char *body;
    const char *value; // nullptr: answer() composes the value and it cannot be set
    std::array<const char *, 2> reads;
    std::array<const char *, 2> commands; // none: the value cannot be set (ERR2)
    // The value to answer "?" with, when the state tells it; nothing when this row's value
    // is not the one that holds.
    std::optional<QByteArray> (*answer)(const Row &row, const ProjectorState &state,
                                        const Identity &identity);
    Need need = Need::Any;
};
std::span<const Row> rows();

// A command line read: its header for the reply ("%1POWR", upper case) and either what it
// asks (the body's rows and, for a set, the row of its value) or the error to answer at once.
struct Request {
    QByteArray header;
    std::span<const Row> bodyRows;
    const Row *set = nullptr; // nullptr for a query
    std::optional<Error> error;
};

// A line without its end. Nothing for a line that is not a PJLink command at all (empty, not
// beginning with "%" and four printable characters): it is left unanswered.
std::optional<Request> readLine(QByteArrayView line);

// The status queries whose fields the request needs known before step().
QByteArrayList statusReads(const Request &request);

// With the state read: the reply at once, or the projector commands to send, in order.
using Step = std::variant<QByteArray, QByteArrayList>;
Step step(const Request &request, const ProjectorState &state, const Identity &identity);

// The reply to a set whose commands went out: OK when all were acknowledged, else by the
// outcome of the first that was not (a refusal ERR2, no reply or a lost line ERR4).
QByteArray commandReply(const QByteArray &header, Outcome firstNotAcknowledged);
QByteArray reply(const QByteArray &header, QByteArrayView value);
QByteArray errorReply(const QByteArray &header, Error error);

} // namespace pjlink
