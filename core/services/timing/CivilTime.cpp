#include "CivilTime.h"

#include <ctime>

namespace tavrel::timing {
namespace {

using namespace std::chrono;

constexpr sys_days kEpoch = sys_days(year(1601) / January / 1);
constexpr std::int64_t kUnitsPerDay = 86'400 * kUnitsPerSecond;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

std::optional<std::int64_t> unitsOfCivil(const CivilTime& time) {
  const year_month_day date{year(time.year), month(time.month), day(time.day)};
  if (!date.ok() || time.hour > 23 || time.minute > 59 || time.second > 59)
    return std::nullopt;
  const std::int64_t days = (sys_days(date) - kEpoch).count();
  const std::int64_t seconds = time.hour * 3600 + time.minute * 60 + time.second;
  return days * kUnitsPerDay + seconds * kUnitsPerSecond;
}

CivilTime civilOfUnits(std::int64_t units) {
  const std::int64_t days = floorDiv(units, kUnitsPerDay);
  const std::int64_t seconds = (units - days * kUnitsPerDay) / kUnitsPerSecond;
  const year_month_day date{kEpoch + std::chrono::days(days)};
  return CivilTime{static_cast<int>(date.year()),
                   static_cast<unsigned>(date.month()),
                   static_cast<unsigned>(date.day()),
                   static_cast<unsigned>(seconds / 3600),
                   static_cast<unsigned>(seconds / 60 % 60),
                   static_cast<unsigned>(seconds % 60)};
}

std::int64_t localUnitsOf(system_clock::time_point utc) {
  const auto whole = floor<seconds>(utc);
  const std::time_t t = system_clock::to_time_t(whole);
  std::tm local{};
  localtime_r(&t, &local);
  const CivilTime civil{local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                        static_cast<unsigned>(local.tm_mday), static_cast<unsigned>(local.tm_hour),
                        static_cast<unsigned>(local.tm_min),
                        // A leap second reads as the second before it.
                        static_cast<unsigned>(local.tm_sec > 59 ? 59 : local.tm_sec)};
  const auto subSecond =
      duration_cast<duration<std::int64_t, std::ratio<1, kUnitsPerSecond>>>(utc - whole);
  return unitsOfCivil(civil).value_or(0) + subSecond.count();
}

}  // namespace tavrel::timing
