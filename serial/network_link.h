#pragma once

#include "com_port_session.h"
#include "line_settings.h"
#include "network_address.h"
#include "network_errors.h"

#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include <optional>

// One connection to a serial server, from connecting until it fails or is dropped: raw TCP,
// or RFC 2217 negotiated by a ComPortSession. Runs in the event loop and never waits.
// Bytes written before the link is ready are queued and go out once it is.
class NetworkLink final : public QObject {
    Q_OBJECT
public:
    // Connects after delayMs, then must be up within answerMs.
    NetworkLink(const NetworkAddress &address, const LineSettings &settings, int answerMs,
                int settleMs, int delayMs = 0, QObject *parent = nullptr);

    const NetworkAddress &address() const { return m_address; }
    bool isReady() const { return m_phase == Phase::Ready; }
    // False when the queue of bytes waiting for the link is full.
    bool write(const QByteArray &bytes);
    QByteArray readAll() { return std::exchange(m_inbox, {}); }
    // What was written before the link was ready and has not gone out.
    QByteArray takeUnsent() { return std::exchange(m_outbox, {}); }
    // On an RFC 2217 link the new settings are asked for at once; a raw link keeps them.
    void changeSettings(const LineSettings &settings);

signals:
    void ready();
    void failed(const NetworkFailure &failure);
    void dataArrived();

private:
    enum class Phase { Connecting, Negotiating, Settling, Ready, Failed };

    void onConnected();
    void onReadyRead();
    void onSocketError(QAbstractSocket::SocketError error);
    void onDeadline();
    void becomeReady();
    void fail(NetworkFailure::Kind kind, const QString &detail = {});
    void send(const QByteArray &wireBytes);
    QString lastWords() const;

    NetworkAddress m_address;
    QTcpSocket m_socket;
    std::optional<ComPortSession> m_session; // on RFC 2217 links
    QTimer m_deadline;                       // connecting and negotiating
    QTimer m_settle;                         // a raw link must stay up a moment to count
    Phase m_phase = Phase::Connecting;
    QByteArray m_outbox;   // written before the link was ready
    QByteArray m_inbox;    // the line's data, not yet read
    QByteArray m_preamble; // arrived before the link was ready: a banner or a server's complaint
};
