// libFuzzer target for the pure side of the command exchange: the traffic rendering, the reply
// decoder for every status query and for a command that is none, and the pressure reading.
//
// Input: the first byte picks the command sent last (low nibble, modulo 10: the nine queries in
// decoding order, then an ordinary command) and, with its top bit, a command prefix; the rest
// is the received text.

#include "number_reader.h"
#include "pressure.h"
#include "reply_decoder.h"
#include "traffic_render.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::array<const char *, 10> SentCommands{
    "CR0", "CR1", "CR4", "CR3", "CR6", "CRA", "CR9", "CR PRESSURE", "CR7", "C00",
};
constexpr std::size_t NonQuery = 9;
constexpr std::size_t Echo = 6;
constexpr std::size_t Pressure = 7;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// Each byte renders as 1 to 4 characters after the leading blank.
void checkRendering(QByteArrayView received, const QString &rendered)
{
    require(rendered.startsWith(QLatin1Char(' ')));
    require(rendered.size() >= 1 + received.size());
    require(rendered.size() <= 1 + 4 * received.size());
    for (const QChar c : rendered)
        require(c.unicode() >= 32 && c.unicode() <= 122);
}

void checkDecoded(std::size_t command, const QString &rendered,
                  const std::optional<QString> &status)
{
    if (command == NonQuery) {
        require(!status.has_value());
        return;
    }
    if (command == Echo)
        require(status == rendered);
    if (command == Pressure)
        require(status && (status->endsWith(QLatin1String(" hPa")) ||
                           *status == QLatin1String(" Pressure reading out of range")));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t command = (data[0] & 0x0f) % SentCommands.size();
    const QByteArray cmdPrefix = (data[0] & 0x80) ? QByteArray("@1") : QByteArray();
    const QByteArray sendText = cmdPrefix + SentCommands[command] + '\r';
    const QByteArrayView received(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    const QString rendered = renderTraffic(received);
    checkRendering(received, rendered);
    checkDecoded(command, rendered, decodeReply(sendText, cmdPrefix, rendered));

    // The decoder and the reader must also survive text no rendering would produce.
    const QString arbitrary = QString::fromUtf8(received);
    checkDecoded(command, arbitrary, decodeReply(sendText, cmdPrefix, arbitrary));
    const double reading = readNumber(arbitrary);
    require(!std::isnan(reading));
    const QString pressure = pressureStatusText(reading);
    require(!pressure.isEmpty());
    return 0;
}
