#include "projector_simulator.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kFloodTickMs = 10;
constexpr qsizetype kReadChunk = 4096;
// After a stall the flood does not try to catch up with more than this in one go.
constexpr qint64 kMaxFloodBurst = 4096;

qint64 monotonicNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

QString systemError(const QString &what)
{
    return QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
}

QByteArray printable(const QByteArray &bytes)
{
    QByteArray text;
    for (char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 32 && code < 127 && byte != '\\')
            text.append(byte);
        else
            text.append("\\x").append(QByteArray::number(code, 16).rightJustified(2, '0'));
    }
    return text;
}

} // namespace

ProjectorSimulator::ProjectorSimulator(SimulatorOptions options, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
{
    m_clock.start();
    m_pieceTimer.setSingleShot(true);
    m_pieceTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_pieceTimer, &QTimer::timeout, this, &ProjectorSimulator::sendDuePieces);
    m_floodTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_floodTimer, &QTimer::timeout, this, &ProjectorSimulator::floodTick);
}

ProjectorSimulator::~ProjectorSimulator()
{
    stop();
}

bool ProjectorSimulator::start(QString *error)
{
    stop();
    if (!m_pty.open(error))
        return false;
    if (!m_options.linkPath.isEmpty() && !createLink(error)) {
        m_pty.close();
        return false;
    }
    const int fd = m_pty.masterFd();
    m_readNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &ProjectorSimulator::readCommands);
    m_writeNotifier = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &ProjectorSimulator::flushOutput);
    ++m_session;

    if (m_options.flood && m_options.floodBaud >= 10) {
        m_floodClock.start();
        m_floodBytesSent = 0;
        m_floodTimer.start(kFloodTickMs);
    }
    return true;
}

void ProjectorSimulator::stop()
{
    m_pieceTimer.stop();
    m_floodTimer.stop();
    m_pendingPieces.clear();
    m_output.clear();
    m_model.dropPartialCommand();
    // stop() may run inside a notifier's own activation, so the notifiers go later.
    for (QSocketNotifier **notifier : {&m_readNotifier, &m_writeNotifier}) {
        if (*notifier) {
            (*notifier)->setEnabled(false);
            (*notifier)->deleteLater();
            *notifier = nullptr;
        }
    }
    removeLink();
    m_pty.close();
}

QString ProjectorSimulator::devicePath() const
{
    return m_options.linkPath.isEmpty() ? m_pty.slavePath() : m_options.linkPath;
}

void ProjectorSimulator::readCommands()
{
    QByteArray chunk;
    char buffer[kReadChunk];
    for (;;) {
        const ssize_t count = ::read(m_pty.masterFd(), buffer, sizeof buffer);
        if (count > 0) {
            chunk.append(buffer, count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        // End of file or EIO: the slave side is gone. Stop listening instead of spinning.
        m_readNotifier->setEnabled(false);
        break;
    }
    if (chunk.isEmpty())
        return;

    const qint64 receivedNs = monotonicNs();
    m_rawBytes.append(chunk);
    const quint64 session = m_session;
    for (const Exchange &exchange : m_model.feed(chunk, nowMs())) {
        m_received.append({receivedNs, exchange.command});
        if (m_options.trace)
            trace(receivedNs, exchange.command);
        emit commandReceived(exchange.command);
        if (m_session != session || !isRunning())
            return; // a listener stopped or restarted us; the reply has no line to go to
        if (!m_options.noReply)
            answer(exchange.reply);
    }
}

void ProjectorSimulator::answer(QByteArray reply)
{
    if (m_options.garbage)
        reply = mixInGarbage(reply, m_random);
    qint64 firstDueMs = nowMs() + std::max(m_options.replyDelayMs, 0);
    // A reply never overtakes the pieces of an earlier one.
    if (!m_pendingPieces.empty())
        firstDueMs = std::max(firstDueMs, m_pendingPieces.back().dueMs);
    const QList<QByteArray> pieces = splitIntoPieces(reply, m_options.pieces);
    for (TimedPiece &piece : schedulePieces(pieces, firstDueMs, std::max(m_options.pieceGapMs, 0)))
        m_pendingPieces.push_back(std::move(piece));
    sendDuePieces();
}

void ProjectorSimulator::sendDuePieces()
{
    const qint64 now = nowMs();
    while (!m_pendingPieces.empty() && m_pendingPieces.front().dueMs <= now) {
        send(m_pendingPieces.front().bytes);
        m_pendingPieces.pop_front();
    }
    armPieceTimer();
}

void ProjectorSimulator::armPieceTimer()
{
    if (m_pendingPieces.empty()) {
        m_pieceTimer.stop();
        return;
    }
    m_pieceTimer.start(int(std::max<qint64>(m_pendingPieces.front().dueMs - nowMs(), 0)));
}

void ProjectorSimulator::send(const QByteArray &bytes)
{
    m_output.append(bytes);
    flushOutput();
}

void ProjectorSimulator::flushOutput()
{
    while (!m_output.isEmpty()) {
        const ssize_t count = ::write(m_pty.masterFd(), m_output.constData(), m_output.size());
        if (count > 0) {
            m_bytesSent += count;
            m_output.remove(0, count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            m_writeNotifier->setEnabled(true);
            return;
        }
        m_output.clear(); // nothing will ever take these bytes
    }
    m_writeNotifier->setEnabled(false);
}

void ProjectorSimulator::floodTick()
{
    const qint64 bytesPerSecond = m_options.floodBaud / 10;
    const qint64 due =
        m_floodClock.nsecsElapsed() * bytesPerSecond / 1'000'000'000 - m_floodBytesSent;
    if (due <= 0)
        return;
    m_floodBytesSent += due;
    const QByteArray bytes = m_floodPattern.next(std::min(due, kMaxFloodBurst));
    // Like a line that keeps going: what the other end cannot take right now is lost, and
    // queued replies are not held up behind the flood.
    if (!m_output.isEmpty())
        return;
    ssize_t count;
    do {
        count = ::write(m_pty.masterFd(), bytes.constData(), bytes.size());
    } while (count < 0 && errno == EINTR);
    if (count > 0)
        m_bytesSent += count;
}

bool ProjectorSimulator::createLink(QString *error)
{
    const QByteArray link = QFile::encodeName(m_options.linkPath);
    const QByteArray target = QFile::encodeName(m_pty.slavePath());
    auto fail = [&](const QString &what) {
        if (error)
            *error = systemError(what);
        return false;
    };
    struct stat info {};
    if (::lstat(link.constData(), &info) == 0 && !S_ISLNK(info.st_mode)) {
        errno = EEXIST;
        return fail(QStringLiteral("%1 is not a symbolic link").arg(m_options.linkPath));
    }
    // Built aside and renamed over the old link, so the path never dangles or goes missing
    // while a panel may be reopening it.
    const QByteArray temporary = link + ".new-" + QByteArray::number(::getpid());
    ::unlink(temporary.constData());
    if (::symlink(target.constData(), temporary.constData()) != 0)
        return fail(QStringLiteral("symlink %1").arg(m_options.linkPath));
    if (::rename(temporary.constData(), link.constData()) != 0) {
        const int renameErrno = errno;
        ::unlink(temporary.constData());
        errno = renameErrno;
        return fail(QStringLiteral("rename to %1").arg(m_options.linkPath));
    }
    m_linkCreated = true;
    return true;
}

void ProjectorSimulator::removeLink()
{
    if (!m_linkCreated)
        return;
    m_linkCreated = false;
    // Leave the path alone if something else has pointed it elsewhere meanwhile.
    const QByteArray link = QFile::encodeName(m_options.linkPath);
    const QByteArray target = QFile::encodeName(m_pty.slavePath());
    char current[512];
    const ssize_t length = ::readlink(link.constData(), current, sizeof current);
    if (length >= 0 && QByteArray(current, length) == target)
        ::unlink(link.constData());
}

void ProjectorSimulator::trace(qint64 monotonicNs, const QByteArray &command) const
{
    std::fprintf(stderr, "%lld.%06lld %s\n", monotonicNs / 1'000'000'000,
                 (monotonicNs % 1'000'000'000) / 1000, printable(command).constData());
    std::fflush(stderr);
}
