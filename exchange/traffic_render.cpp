#include "traffic_render.h"

#include <QLatin1StringView>

namespace {
constexpr unsigned char Ack = 6;
constexpr unsigned char Code20 = 20;
constexpr unsigned char LineFeed = 10;
constexpr unsigned char CarriageReturn = 13;
constexpr unsigned char FirstPrintable = ' ';
constexpr unsigned char LastPrintable = 'z';

// First matching rule wins; the order matters only in that the named control codes come
// before the catch-all for codes below 32.
void appendRendering(QString &out, unsigned char byte)
{
    if (byte == Ack)
        out += QLatin1StringView("ACK ");
    else if (byte == Code20)
        out += QLatin1Char('&');
    else if (byte == CarriageReturn)
        out += QLatin1StringView("CR ");
    else if (byte == LineFeed)
        out += QLatin1StringView("LF ");
    else if (byte >= FirstPrintable && byte <= LastPrintable) {
        out += QLatin1Char(char(byte));
        out += QLatin1Char(' ');
    } else
        out += QLatin1StringView("? ");
}
} // namespace

QString renderTraffic(QByteArrayView text)
{
    QString rendered;
    rendered.reserve(1 + 2 * text.size());
    rendered += QLatin1Char(' ');
    for (const char c : text)
        appendRendering(rendered, static_cast<unsigned char>(c));
    return rendered;
}
