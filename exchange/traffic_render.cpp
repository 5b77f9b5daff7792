#include "traffic_render.h"

QString renderTraffic(QByteArrayView text)
{
    Q_UNUSED(text);
    return QStringLiteral(" "); // TODO(exchange helper)
}
