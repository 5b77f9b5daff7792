// libFuzzer target for the pure side of the command exchange: the traffic rendering, the reply
// decoder for every status query and for a command that is none, and the pressure reading.
// What they make of given replies is the unit tests'; here they must survive any bytes.
//
// Input: the first byte picks the command sent last (low nibble, modulo 10: the nine queries,
// then an ordinary command) and, with its top bit, a command prefix; the rest is the received
// text.

#include "fuzz_require.h"
#include "number_reader.h"
#include "pressure.h"
#include "reply_decoder.h"
#include "traffic_render.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cmath>
#include <cstdint>

constexpr std::array<const char *, 10> SentCommands{
    "CR0", "CR1", "CR4", "CR3", "CR6", "CRA", "CR9", "CR PRESSURE", "CR7", "C00",
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray cmdPrefix = (data[0] & 0x80) ? QByteArray("@1") : QByteArray();
    const QByteArray sendText =
        cmdPrefix + SentCommands[(data[0] & 0x0f) % SentCommands.size()] + '\r';
    const QByteArrayView received(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    // Each byte renders as 1 to 4 printable characters after the leading blank.
    const QString rendered = renderTraffic(received);
    require(rendered.startsWith(QLatin1Char(' ')) && rendered.size() >= 1 + received.size() &&
            rendered.size() <= 1 + 4 * received.size());
    for (const QChar c : rendered)
        require(c.unicode() >= 32 && c.unicode() <= 122);
    decodeReply(sendText, cmdPrefix, rendered);

    // The decoder and the reader must also survive text no rendering would produce.
    const QString arbitrary = QString::fromUtf8(received);
    decodeReply(sendText, cmdPrefix, arbitrary);
    const double reading = readNumber(arbitrary);
    require(!std::isnan(reading) && !pressureStatusText(reading).isEmpty());
    return 0;
}
