// The timer and clock operations of the core interface record, over the timer service.
// Each runs under the core lock and, inside it, the timer lock.
#pragma once

#include <cstdint>

#include "TimerService.h"

namespace tavrel::timing {

// The timer selector: 8192 names timer 2, any other value timer 1 (the core uses 16).
inline constexpr std::uint32_t kTimer1Selector = 16;
inline constexpr std::uint32_t kTimer2Selector = 8192;

// Installs the handler and gives back the previous one.
TimerHandler setTimerHandler(TimerService& timers, std::uint32_t timer, TimerHandler handler);
// Kept while the timer is stopped; reloads a running timer.
void setTimerValue(TimerService& timers, std::uint32_t timer, std::uint32_t value);
// The kept value of a stopped timer; the count of a running one (timer 1: its low 4 bits).
std::uint32_t getTimerValue(TimerService& timers, std::uint32_t timer);
// Starts only a stopped timer.
void startTimer(TimerService& timers, std::uint32_t timer);
// Stops only a running timer, keeping its count.
void stopTimer(TimerService& timers, std::uint32_t timer);

void getDateTime(TimerService& timers, datetime* time);
// Returns 0.
int setDateTime(TimerService& timers, datetime* time);

std::uint32_t startTickTimer(TimerService& timers, std::uint32_t milliseconds);
int stopTickTimer(TimerService& timers, std::uint32_t id);

}  // namespace tavrel::timing
