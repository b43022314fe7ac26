// A periodic tick timer of the timer service, in counter units.
#pragma once

#include <cstdint>

namespace tavrel::timing {

struct TickTimer {
  bool active = false;
  std::uint64_t period = 0;
  std::uint64_t next = 0;
};

// Whether the timer fires at counter value now. When it does, its next firing moves to the
// first period boundary after now: periods missed while the host was busy are dropped, so
// a late timer fires once, not once per missed period.
inline bool fireTickTimer(TickTimer& timer, std::uint64_t now) {
  if (!timer.active || now < timer.next)
    return false;
  timer.next += ((now - timer.next) / timer.period + 1) * timer.period;
  return true;
}

}  // namespace tavrel::timing
