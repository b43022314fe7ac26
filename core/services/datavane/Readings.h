// The numbers the application shows and stores, computed with the calculator's BCD reals.
#pragma once

#include <cstdint>
#include <string>

#include "tavrel/bcd.h"

namespace tavrel::core::datavane {

// A raw logger value (offset binary around 32768) in the unit of its sensor's class.
BcdReal readingOf(std::int32_t raw, std::uint8_t sensorClass);
// A difference of raw values in the unit of the class (no offset).
BcdReal rawDifferenceOf(std::int32_t difference, std::uint8_t sensorClass);
// Milliseconds as seconds.
BcdReal secondsOf(std::int64_t milliseconds);
// The standard number text, at most 7 significant places so that a label fits its line.
std::string numberText(const BcdReal& value);

}  // namespace tavrel::core::datavane
