#include "serial_trace.h"

Q_LOGGING_CATEGORY(lcSerial, "zra70.serial", QtWarningMsg)

QString traceLine(std::chrono::nanoseconds monotonic, TraceDirection direction,
                  const QString &devicePath, const QByteArray &bytes)
{
    using namespace std::chrono;
    const auto wholeSeconds = duration_cast<seconds>(monotonic);
    const auto micros = duration_cast<microseconds>(monotonic - wholeSeconds);
    return QStringLiteral("%1.%2 %3 %4 %5")
        .arg(QString::number(wholeSeconds.count()),
             QStringLiteral("%1").arg(micros.count(), 6, 10, QLatin1Char('0')),
             direction == TraceDirection::Sent ? QStringLiteral("TX") : QStringLiteral("RX"),
             devicePath, QString::fromLatin1(bytes.toHex(' ')));
}

void traceChunk(TraceDirection direction, const QString &devicePath, const QByteArray &bytes)
{
    if (!lcSerial().isDebugEnabled() || bytes.isEmpty())
        return;
    // steady_clock is CLOCK_MONOTONIC, so lines line up with other monotonic traces.
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    qCDebug(lcSerial).noquote() << traceLine(now, direction, devicePath, bytes);
}
