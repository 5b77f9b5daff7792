#pragma once

#include "projector_model.h"
#include "pseudo_terminal.h"
#include "reply_shaping.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QRandomGenerator>
#include <QString>
#include <QTimer>

#include <deque>

class QSocketNotifier;

struct SimulatorOptions {
    int replyDelayMs = 0;  // before the first piece of each reply
    int pieces = 1;        // each reply goes out cut into this many pieces...
    int pieceGapMs = 0;    // ...this far apart
    bool noReply = false;  // commands are taken in and recorded, nothing is answered
    bool garbage = false;  // random bytes mixed into every reply
    bool flood = false;    // reply-like bytes sent continuously at line speed
    int floodBaud = 19200; // flood rate: floodBaud / 10 bytes per second
    bool trace = false;    // every command received is written to stderr with its time
    QString linkPath = {}; // if set, a symlink here points to the device
};

// A simulated projector on the master end of a pseudo-terminal, served from the Qt event
// loop without blocking. Replies keep the order of the commands; delayed and split replies
// are queued behind each other. The projector's state survives stop() and start(), as a real
// one's does when its cable is pulled and plugged in again.
class ProjectorSimulator : public QObject {
    Q_OBJECT
public:
    explicit ProjectorSimulator(SimulatorOptions options = {}, QObject *parent = nullptr);
    ~ProjectorSimulator() override;

    // Opens a new pseudo-terminal and serves it (a running one is stopped first).
    bool start(QString *error = nullptr);
    // Closes the pseudo-terminal, drops unsent replies and removes the symlink.
    void stop();
    bool isRunning() const { return m_pty.isOpen(); }

    // The device the panel opens: the symlink if one was asked for, else the slave itself.
    QString devicePath() const;

    struct Received {
        qint64 monotonicNs; // CLOCK_MONOTONIC (std::chrono::steady_clock), when it was read
        QByteArray command; // without its carriage return
    };
    // Every command since construction, across restarts.
    const QList<Received> &received() const { return m_received; }
    QByteArray rawBytesReceived() const { return m_rawBytes; }
    // Bytes the pseudo-terminal has taken from us so far: replies, noise and flood.
    qint64 bytesSent() const { return m_bytesSent; }

    const ProjectorModel &model() const { return m_model; }

signals:
    void commandReceived(const QByteArray &command);

private:
    void readCommands();
    void answer(QByteArray reply);
    void sendDuePieces();
    void armPieceTimer();
    void send(const QByteArray &bytes);
    void flushOutput();
    void floodTick();
    bool createLink(QString *error);
    void removeLink();
    qint64 nowMs() const { return m_clock.elapsed(); }
    void trace(qint64 monotonicNs, const QByteArray &command) const;

    SimulatorOptions m_options;
    PseudoTerminal m_pty;
    QElapsedTimer m_clock;
    ProjectorModel m_model;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QTimer m_pieceTimer;
    std::deque<TimedPiece> m_pendingPieces;
    QByteArray m_output; // bytes the pseudo-terminal could not take yet
    QTimer m_floodTimer;
    QElapsedTimer m_floodClock;
    qint64 m_floodBytesSent = 0;
    FloodPattern m_floodPattern;
    QRandomGenerator m_random{70}; // fixed seed: the same noise on every run
    bool m_linkCreated = false;
    quint64 m_session = 0; // counts start() calls
    QList<Received> m_received;
    QByteArray m_rawBytes;
    qint64 m_bytesSent = 0;
};
