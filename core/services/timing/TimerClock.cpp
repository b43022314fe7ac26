// The real-time clock: a UTC reference time, renewed every second by the timer task, seen
// in local time and moved by the clock offset.
#include "CivilTime.h"
#include "TimerService.h"

namespace tavrel::timing {

void TimerService::getClock(datetime* time) {
  if (time == nullptr)
    return;
  CThreadLock::Scope scope(lock_);
  const CivilTime civil = civilOfUnits(localUnitsOf(reference_) + clockOffset_);
  time->year = static_cast<std::uint16_t>(civil.year);
  time->month = static_cast<std::uint8_t>(civil.month);
  time->day = static_cast<std::uint8_t>(civil.day);
  time->hour = static_cast<std::uint8_t>(civil.hour);
  time->minute = static_cast<std::uint8_t>(civil.minute);
  time->second = static_cast<std::uint8_t>(civil.second);
  time->count = snapshotCurrent_;
}

void TimerService::setClock(const datetime* time) {
  if (time == nullptr)
    return;
  const auto wanted =
      unitsOfCivil({time->year, time->month, time->day, time->hour, time->minute, time->second});
  if (!wanted)
    return;
  CThreadLock::Scope scope(lock_);
  clockOffset_ = *wanted - localUnitsOf(reference_);
}

void TimerService::getClockOffset(std::uint64_t& offset) {
  CThreadLock::Scope scope(lock_);
  offset = static_cast<std::uint64_t>(clockOffset_);
}

void TimerService::setClockOffset(std::uint64_t offset) {
  CThreadLock::Scope scope(lock_);
  clockOffset_ = static_cast<std::int64_t>(offset);
}

}  // namespace tavrel::timing
