#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

class IntervalTimer;
class SerialPort;

// The three display lines the exchange writes: sent traffic, received traffic, status.
class TrafficDisplay {
public:
    virtual ~TrafficDisplay() = default;
    virtual void showSent(const QString &text) = 0;
    virtual void showReceived(const QString &text) = 0;
    virtual void showStatus(const QString &text) = 0;
};

// Every exchange with the projector: the only code that writes to the port (Hyouji), the
// receive handler, the reply timeout (Timer2) and the display clear (Timer4).
class Transaction {
public:
    enum Direction : unsigned char { Send = 1, Received = 2 };
    // A collection keeps its first bytes up to this size and drops the rest until it is
    // cleared, so a line that streams without pause cannot grow it without bound.
    static constexpr qsizetype MaxCollected = 1024;

    Transaction(SerialPort &port, IntervalTimer &replyTimeout, IntervalTimer &displayClear,
                TrafficDisplay &display);

    // A sender's steps 2 and 3: SendText = CmdPrefix & code & CR, then Hyouji(SendText, 1).
    void sendCommand(const QByteArray &code);
    // Writes (send only), renders and shows the text; decodes received text.
    void Hyouji(const QByteArray &text, Direction direction);

    // Called once the send sequence is complete when the text could not be written: the
    // port is not open or refused the write.
    void setSendFailureHandler(std::function<void(const QString &description)> handler)
    {
        m_onSendFailure = std::move(handler);
    }

    // For a program that waits on each reply: told after every arrival has been shown and
    // decoded (with all bytes collected since the send), and when the reply timeout passes
    // with nothing arrived.
    void setArrivalHandler(std::function<void(const QByteArray &collected)> handler)
    {
        m_onArrival = std::move(handler);
    }
    void setNoReplyHandler(std::function<void()> handler) { m_onNoReply = std::move(handler); }
    // A collection that ends in a carriage return, ACK or NAK: the projector has finished.
    static bool isCompleteReply(QByteArrayView collected);

    void onCommEvent(int code);
    void onReplyTimeout();
    void onDisplayClear();

    const QByteArray &sendText() const { return m_sendText; }
    const QByteArray &recvText() const { return m_recvText; }
    bool awaitingReply() const { return m_awaitingReply; }
    void clearRecvText() { m_recvText.clear(); }
    void reset();

private:
    SerialPort &m_port;
    IntervalTimer &m_replyTimeout;
    IntervalTimer &m_displayClear;
    TrafficDisplay &m_display;

    QByteArray m_sendText;
    QByteArray m_recvText;
    QByteArray m_cmdPrefix;
    bool m_awaitingReply = false;
    std::function<void(const QString &)> m_onSendFailure;
    std::function<void(const QByteArray &)> m_onArrival;
    std::function<void()> m_onNoReply;
};
