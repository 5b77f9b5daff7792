#pragma once

#include "line_settings.h"
#include "telnet_codec.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <deque>

// The client side of one RFC 2217 conversation, with no I/O: what to send on connecting, what
// to answer to the bytes that arrive, and which of them are the line's data. It offers BINARY
// both ways, agrees to SUPPRESS-GO-AHEAD, refuses every other option, and once the server
// takes the COM-PORT-OPTION asks for the line settings and compares each acknowledgement with
// the value asked for.
class ComPortSession {
public:
    enum class State { Negotiating, Ready, Failed };
    enum class Failure { None, NoComPortOption, SettingRefused };

    struct Step {
        QByteArray reply; // to send to the server
        QByteArray data;  // the line's own bytes
    };

    explicit ComPortSession(const LineSettings &settings);

    // The offers to send as soon as the connection is made.
    QByteArray begin();
    Step receive(const QByteArray &bytes);
    // Requests for new settings; empty until the server has taken the COM-PORT-OPTION (the
    // settings are then asked for with the others).
    QByteArray changeSettings(const LineSettings &settings);
    // The line's data as it must go on the wire.
    QByteArray encode(const QByteArray &data) const;

    State state() const { return m_state; }
    Failure failure() const { return m_failure; }
    // What the server refused, such as "the server set the speed to 9600 instead of 19200".
    const QString &refusal() const { return m_refusal; }
    // Whether the server has answered the COM-PORT-OPTION at all, yes or no.
    bool comPortAnswered() const { return m_comPortAnswered; }

private:
    struct OptionState {
        bool enabled = false;
        bool asked = false;
    };
    struct Pending {
        quint8 code;
        qint64 value;
    };

    void negotiate(const telnet::Event &event, QByteArray &reply);
    void takeAcknowledgement(const QByteArray &payload);
    QByteArray requestsFor(const LineSettings &settings);
    void fail(Failure failure, const QString &refusal);
    void updateState();

    LineSettings m_settings;
    telnet::Decoder m_decoder;
    std::array<OptionState, 256> m_ours{};   // options this side performs
    std::array<OptionState, 256> m_theirs{}; // options the server performs
    std::deque<Pending> m_pending;           // settings asked for, not yet acknowledged
    bool m_comPortAnswered = false;
    State m_state = State::Negotiating;
    Failure m_failure = Failure::None;
    QString m_refusal;
};
