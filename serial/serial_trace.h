#pragma once

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>

#include <chrono>

// The opt-in trace of the serial traffic, off unless QT_LOGGING_RULES="zra70.serial.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcSerial)

enum class TraceDirection { Sent, Received };

// One line of the trace: monotonic seconds, TX or RX, the device and the bytes in hex,
// e.g. "1234.000120 TX /dev/ttyS0 43 30 30 0d".
QString traceLine(std::chrono::nanoseconds monotonic, TraceDirection direction,
                  const QString &devicePath, const QByteArray &bytes);

// Writes a chunk to the trace, stamped with the monotonic clock, when the trace is on.
void traceChunk(TraceDirection direction, const QString &devicePath, const QByteArray &bytes);
