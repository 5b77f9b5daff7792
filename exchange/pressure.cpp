#include "pressure.h"

#include <cmath>
#include <limits>

namespace {

double roundHalfToEven(double x)
{
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction > 0.5)
        return below + 1.0;
    if (fraction == 0.5)
        return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
    return below; // also infinities and NaN, which the range check rejects
}

// Range-checked before converting: converting an out-of-range double to an integer is undefined.
std::optional<qint16> toInt16(double integral)
{
    constexpr double Lowest = std::numeric_limits<qint16>::min();
    constexpr double Highest = std::numeric_limits<qint16>::max();
    if (!(integral >= Lowest && integral <= Highest))
        return std::nullopt;
    return static_cast<qint16>(integral);
}

} // namespace

std::optional<qint16> pressureHpa(double reading)
{
    const auto raw = toInt16(roundHalfToEven(reading));
    if (!raw)
        return std::nullopt;
    const auto fivefold = toInt16(*raw * 5.0);
    if (!fivefold)
        return std::nullopt;
    const double hpa = (*fivefold / 1024.0 - 0.204) / 0.00459 + 150.0;
    return toInt16(roundHalfToEven(hpa));
}

QString pressureStatusText(double reading)
{
    if (const auto hpa = pressureHpa(reading))
        return QString::number(*hpa) + QStringLiteral(" hPa");
    return QStringLiteral(" Pressure reading out of range");
}
