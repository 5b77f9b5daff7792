#pragma once

#include <QByteArrayView>
#include <QString>

// The readable form of a text on the line, as shown in the traffic lines and read by the
// reply decoder: a leading blank, then each byte's rendering ("ACK ", "&", "CR ", "LF ",
// "? ", or a printable character followed by a blank).
QString renderTraffic(QByteArrayView text);
