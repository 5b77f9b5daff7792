#include "reply_decoder.h"

std::optional<QString> decodeReply(QByteArrayView sendText, QByteArrayView cmdPrefix,
                                   const QString &rendered)
{
    Q_UNUSED(sendText);
    Q_UNUSED(cmdPrefix);
    Q_UNUSED(rendered);
    return std::nullopt; // TODO(exchange helper)
}
