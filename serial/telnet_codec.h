#pragma once

#include <QByteArray>
#include <QList>

// Telnet framing (RFC 854, 855, 856) as a byte-level state machine with no I/O: bytes from the
// network go in, in pieces of any size; the line's own data and the Telnet commands come out.
namespace telnet {

enum Command : quint8 {
    SE = 240, // end of a sub-negotiation
    SB = 250, // start of a sub-negotiation
    Will = 251,
    Wont = 252,
    Do = 253,
    Dont = 254,
    IAC = 255, // "interpret as command"; doubled when it is data
};

enum Option : quint8 {
    Binary = 0,
    Echo = 1,
    SuppressGoAhead = 3,
    ComPort = 44, // RFC 2217
};

// A command of the other side: an option negotiation (verb Will/Wont/Do/Dont) or a
// sub-negotiation (verb SB) with its payload, 0xFF already undoubled.
struct Event {
    quint8 verb = 0;
    quint8 option = 0;
    QByteArray payload;

    friend bool operator==(const Event &, const Event &) = default;
};

class Decoder {
public:
    // Longer sub-negotiations are dropped: none this client reads comes near it.
    static constexpr qsizetype MaxPayload = 64;

    // In the Telnet default (non-binary) mode a carriage return is sent as CR NUL; the NUL is
    // then dropped here. Off once the other side sends in binary.
    void setDropNulAfterCr(bool drop) { m_dropNulAfterCr = drop; }

    // Appends the data bytes to *data and the commands to *events.
    void feed(const QByteArray &bytes, QByteArray *data, QList<Event> *events);

private:
    enum class State { Data, DataAfterCr, Command, Negotiation, SubOption, SubData, SubCommand };

    State m_state = State::Data;
    quint8 m_verb = 0;
    Event m_sub;
    bool m_subTooLong = false;
    bool m_dropNulAfterCr = true;
};

// Data for the wire: 0xFF doubled; without binary mode, a carriage return followed by NUL.
QByteArray escapeData(const QByteArray &data, bool binary);
QByteArray negotiation(quint8 verb, quint8 option);
QByteArray subnegotiation(quint8 option, const QByteArray &payload);

} // namespace telnet
