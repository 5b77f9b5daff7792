#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The pressure sensor's conversion, done in the 16-bit arithmetic the projector's reading is
// defined in: the reading rounded (halves to even) to a 16-bit value, times 5 in 16 bits, then
// ((product / 1024 - 0.204) / 0.00459 + 150) rounded again. Nothing when the rounded reading,
// the product (readings beyond +-6553) or the result does not fit 16 bits, or the reading is
// not a number.
std::optional<qint16> pressureHpa(double reading);

// The status-line text for a reading: "650 hPa", or " Pressure reading out of range" instead of
// a wrapped, meaningless number.
QString pressureStatusText(double reading);
