#include "telnet_codec.h"

namespace telnet {

namespace {

constexpr char CarriageReturn = '\r';

QByteArray bytes(std::initializer_list<quint8> codes)
{
    QByteArray out;
    for (quint8 code : codes)
        out += char(code);
    return out;
}

void appendEscaped(QByteArray &out, const QByteArray &payload)
{
    for (char byte : payload) {
        out += byte;
        if (quint8(byte) == IAC)
            out += byte;
    }
}

} // namespace

void Decoder::feed(const QByteArray &bytes, QByteArray *data, QList<Event> *events)
{
    for (const char byte : bytes) {
        const quint8 code = quint8(byte);
        switch (m_state) {
        case State::Data:
        case State::DataAfterCr:
            if (code == IAC) {
                m_state = State::Command;
            } else if (m_state == State::DataAfterCr && code == 0 && m_dropNulAfterCr) {
                m_state = State::Data;
            } else {
                *data += byte;
                m_state = byte == CarriageReturn ? State::DataAfterCr : State::Data;
            }
            break;
        case State::Command:
            m_state = State::Data;
            if (code == IAC) {
                *data += byte;
            } else if (code == SB) {
                m_state = State::SubOption;
            } else if (code >= Will && code <= Dont) {
                m_verb = code;
                m_state = State::Negotiation;
            } // any other command (NOP, GA, AYT...) carries nothing for a serial line
            break;
        case State::Negotiation:
            events->append(Event{m_verb, code, {}});
            m_state = State::Data;
            break;
        case State::SubOption:
            m_sub = Event{SB, code, {}};
            m_subTooLong = false;
            m_state = State::SubData;
            break;
        case State::SubData:
            if (code == IAC) {
                m_state = State::SubCommand;
            } else if (m_sub.payload.size() < MaxPayload) {
                m_sub.payload += byte;
            } else {
                m_subTooLong = true;
            }
            break;
        case State::SubCommand:
            if (code == IAC) {
                if (m_sub.payload.size() < MaxPayload)
                    m_sub.payload += byte;
                else
                    m_subTooLong = true;
                m_state = State::SubData;
            } else if (code == SE) {
                if (!m_subTooLong)
                    events->append(m_sub);
                m_state = State::Data;
            } else {
                // A command inside an unfinished sub-negotiation: the sub-negotiation is
                // broken off and the command taken as it stands.
                m_state = State::Command;
                feed(QByteArray(1, byte), data, events);
            }
            break;
        }
    }
}

QByteArray escapeData(const QByteArray &data, bool binary)
{
    QByteArray out;
    out.reserve(data.size() + 8);
    for (char byte : data) {
        out += byte;
        if (quint8(byte) == IAC)
            out += byte;
        else if (!binary && byte == CarriageReturn)
            out += '\0';
    }
    return out;
}

QByteArray negotiation(quint8 verb, quint8 option)
{
    return bytes({IAC, verb, option});
}

QByteArray subnegotiation(quint8 option, const QByteArray &payload)
{
    QByteArray out = bytes({IAC, SB, option});
    appendEscaped(out, payload);
    return out + bytes({IAC, SE});
}

} // namespace telnet
