#include "transaction.h"

#include "interval_timer.h"
#include "port_errors.h"
#include "reply_decoder.h"
#include "serial_port.h"
#include "traffic_render.h"

namespace {
constexpr char CarriageReturn = '\r';
const QString NoReplyMark = QStringLiteral(" X X X X");
constexpr char Ack = 6;
constexpr char Nak = 21;

PortStatus notOpen(const SerialPort &port)
{
    return PortStatus::failure(describeNotOpenForWrite(port.portNumber(), port.deviceName()));
}
} // namespace

Transaction::Transaction(SerialPort &port, IntervalTimer &replyTimeout, IntervalTimer &displayClear,
                         TrafficDisplay &display)
    : m_port(port)
    , m_replyTimeout(replyTimeout)
    , m_displayClear(displayClear)
    , m_display(display)
{
}

void Transaction::reset()
{
    m_cmdPrefix.clear();
    m_awaitingReply = false;
    m_recvText.clear();
}

void Transaction::sendCommand(const QByteArray &code)
{
    m_sendText = m_cmdPrefix + code + CarriageReturn;
    Hyouji(m_sendText, Send);
}

void Transaction::Hyouji(const QByteArray &text, Direction direction)
{
    if (direction == Send) {
        const PortStatus written = m_port.isOpen() ? m_port.write(text) : notOpen(m_port);
        m_display.showSent(renderTraffic(text));
        m_replyTimeout.start();
        m_awaitingReply = true;
        m_displayClear.start();
        if (!written && m_onSendFailure)
            m_onSendFailure(written.description());
        return;
    }
    const QString rendered = renderTraffic(text);
    m_display.showReceived(rendered);
    if (const auto status = decodeReply(m_sendText, m_cmdPrefix, rendered))
        m_display.showStatus(*status);
}

void Transaction::onCommEvent(int code)
{
    if (code != SerialPort::Receive)
        return;
    const QByteArray arrived = m_port.readAll();
    m_awaitingReply = false;
    const qsizetype room = MaxCollected - m_recvText.size();
    if (room <= 0)
        return; // full: the lines already show all that is kept
    m_recvText += arrived.first(std::min(room, arrived.size()));
    Hyouji(m_recvText, Received);
    if (m_onArrival)
        m_onArrival(m_recvText);
}

bool Transaction::isCompleteReply(QByteArrayView collected)
{
    return !collected.isEmpty() && (collected.back() == CarriageReturn || collected.back() == Ack ||
                                    collected.back() == Nak);
}

void Transaction::onReplyTimeout()
{
    const bool nothingArrived = m_awaitingReply;
    if (nothingArrived)
        m_display.showReceived(NoReplyMark);
    m_replyTimeout.stop();
    m_recvText.clear();
    m_awaitingReply = false;
    if (nothingArrived && m_onNoReply)
        m_onNoReply();
}

void Transaction::onDisplayClear()
{
    m_display.showSent(QString());
    m_display.showReceived(QString());
    m_display.showStatus(QString());
    m_displayClear.stop();
}
