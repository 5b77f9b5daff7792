#include "command_framer.h"

QList<QByteArray> CommandFramer::feed(QByteArrayView bytes)
{
    QList<QByteArray> commands;
    for (char byte : bytes) {
        if (byte == '\r') {
            commands.append(m_line);
            m_line.clear();
        } else if (m_line.size() < kMaxLength) {
            m_line.append(byte);
        }
    }
    return commands;
}
