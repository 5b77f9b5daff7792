#include "projector_readings.h"

#include <QByteArray>
#include <QList>

#include <cmath>

namespace {

// The reply without its final carriage return; empty when it has other control bytes.
std::optional<QByteArrayView> body(QByteArrayView reply)
{
    if (reply.endsWith('\r'))
        reply.chop(1);
    for (const char c : reply) {
        if (c < ' ' || c > '~')
            return std::nullopt;
    }
    return reply;
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); // upper case, as sent
}

std::optional<int> hexByte(QByteArrayView reply)
{
    const auto text = body(reply);
    if (!text || text->size() != 2 || !isHexDigit(text->at(0)) || !isHexDigit(text->at(1)))
        return std::nullopt;
    return text->toInt(nullptr, 16);
}

std::optional<int> digits(QByteArrayView reply, qsizetype most)
{
    const auto text = body(reply);
    if (!text || text->isEmpty() || text->size() > most)
        return std::nullopt;
    int value = 0;
    for (const char c : *text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

enum StatusBits {
    StandbyBit = 0x80,
    CountDownBit = 0x40,
    CoolingBit = 0x20,
    PowerFailBit = 0x10,
    TemperatureBit = 0x08,
    PowerManagementBit = 0x04, // lamp off by power management
    LampFailBit = 0x01,
};

template <auto Field, auto Reader> void take(ProjectorState &state, QByteArrayView reply)
{
    state.*Field = Reader(reply);
}

template <auto Field>
bool isKnown(const ProjectorState &state)
{
    return (state.*Field).has_value();
}

template <auto Field, auto Reader>
constexpr StateQuery row(const char *code)
{
    return {code, take<Field, Reader>, isKnown<Field>};
}

constexpr StateQuery StateQueries[] = {
    row<&ProjectorState::power, readPowerStatus>("CR0"),
    row<&ProjectorState::input, readInput>("CR1"),
    row<&ProjectorState::mutes, readMutes>("CRA"),
    row<&ProjectorState::lampHours, readLampHours>("CR3"),
    row<&ProjectorState::lampLit, readLampLit>("CR7"),
    row<&ProjectorState::temperatures, readTemperatures>("CR6"),
    row<&ProjectorState::model, readModel>("CR9"),
};

} // namespace

std::optional<PowerReading> readPowerStatus(QByteArrayView reply)
{
    const auto bits = hexByte(reply);
    if (!bits)
        return std::nullopt;
    PowerReading reading;
    // Cooling outranks the rest: "cooling down & standby" is still cooling.
    if (*bits & CoolingBit)
        reading.phase = PowerPhase::CoolingDown;
    else if (*bits & CountDownBit)
        reading.phase = PowerPhase::WarmingUp;
    else if (*bits & (StandbyBit | PowerManagementBit))
        reading.phase = PowerPhase::Standby;
    else
        reading.phase = PowerPhase::On;
    reading.powerFailure = *bits & PowerFailBit;
    reading.temperatureWarning = *bits & TemperatureBit;
    reading.lampFailure = *bits & LampFailBit;
    return reading;
}

std::optional<InputChoice> readInput(QByteArrayView reply)
{
    switch (digits(reply, 1).value_or(0)) {
    case 1:
        return InputChoice::Pc1;
    case 2:
        return InputChoice::Pc2;
    case 3:
        return InputChoice::Video;
    }
    return std::nullopt;
}

std::optional<MuteReading> readMutes(QByteArrayView reply)
{
    const auto bits = hexByte(reply);
    if (!bits || (*bits != 0xFF && *bits != 0x80 && *bits > 3))
        return std::nullopt;
    if (*bits == 0xFF)
        return MuteReading{};
    return MuteReading{true, *bits == 0x80, bool(*bits & 1), bool(*bits & 2)};
}

std::optional<int> readLampHours(QByteArrayView reply)
{
    return digits(reply, 6);
}

std::optional<bool> readLampLit(QByteArrayView reply)
{
    const auto mode = digits(reply, 2);
    if (!mode || body(reply)->size() != 2)
        return std::nullopt;
    return *mode % 10 != 0; // the second digit tells which lamps are lit
}

std::optional<Temperatures> readTemperatures(QByteArrayView reply)
{
    const auto text = body(reply);
    if (!text)
        return std::nullopt;
    const QList<QByteArray> fields = text->toByteArray().split(' ');
    if (fields.size() != 3)
        return std::nullopt;
    Temperatures readings{};
    for (qsizetype i = 0; i < 3; ++i) {
        bool ok = false;
        readings[size_t(i)] = fields[i].toDouble(&ok);
        if (!ok || !std::isfinite(readings[size_t(i)]) || fields[i].contains('e') ||
            fields[i].contains('E'))
            return std::nullopt;
    }
    return readings;
}

std::optional<QString> readModel(QByteArrayView reply)
{
    const auto text = body(reply);
    if (!text || text->trimmed().isEmpty() || text->size() > 64)
        return std::nullopt;
    return QString::fromLatin1(text->trimmed());
}

QString powerPhaseName(PowerPhase phase)
{
    switch (phase) {
    case PowerPhase::Standby:
        break;
    case PowerPhase::WarmingUp:
        return QStringLiteral("warming");
    case PowerPhase::On:
        return QStringLiteral("on");
    case PowerPhase::CoolingDown:
        return QStringLiteral("cooling");
    }
    return QStringLiteral("standby");
}

QString inputName(InputChoice input)
{
    switch (input) {
    case InputChoice::Pc1:
        break;
    case InputChoice::Pc2:
        return QStringLiteral("PC2");
    case InputChoice::Video:
        return QStringLiteral("Video");
    }
    return QStringLiteral("PC1");
}

std::span<const StateQuery> stateQueries()
{
    return StateQueries;
}

const StateQuery *findStateQuery(QByteArrayView code)
{
    for (const StateQuery &query : StateQueries) {
        if (code == QByteArrayView(query.code))
            return &query;
    }
    return nullptr;
}
