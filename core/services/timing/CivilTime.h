// Calendar times as 100-nanosecond counts since 1601-01-01 00:00, the unit of the clock
// offset that state files keep.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace tavrel::timing {

struct CivilTime {
  int year = 1601;
  unsigned month = 1;  // 1..12
  unsigned day = 1;    // 1..31
  unsigned hour = 0;
  unsigned minute = 0;
  unsigned second = 0;
};

inline constexpr std::int64_t kUnitsPerSecond = 10'000'000;

// Nothing for a date that does not exist or a time outside 00:00:00..23:59:59.
std::optional<std::int64_t> unitsOfCivil(const CivilTime& time);
// Sub-second units are dropped.
CivilTime civilOfUnits(std::int64_t units);
// The local time of a UTC instant under the current time-zone rules, with its sub-second
// part.
std::int64_t localUnitsOf(std::chrono::system_clock::time_point utc);

}  // namespace tavrel::timing
