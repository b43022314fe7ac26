// The timer and clock part of the machine's host seam, served by the timer service through
// the core interface's timer operations (core lock, then timer lock). The core's host
// derives from this class and supplies the rest of the seam.
//
// What the wiring adds: the timer handlers that call machine::timer1Expired /
// timer2Expired on the machine (setTimerHandler with selectors 16 and 8192); those
// run on the timer task with the timer lock held, which the machine's expiry routines
// allow (they set flags and signal the wake-up event).
#pragma once

#include "MachineHost.h"
#include "TimerService.h"

namespace tavrel::timing {

class MachineTimerHost : public machine::MachineHost {
 public:
  explicit MachineTimerHost(TimerService& timers) : timers_(timers) {}

  void throttleHook() final { timers_.throttleHook(); }
  std::uint32_t getTimerValue(machine::HardwareTimer timer) final;
  void setTimerValue(machine::HardwareTimer timer, std::uint32_t value) final;
  void startTimer(machine::HardwareTimer timer) final;
  void stopTimer(machine::HardwareTimer timer) final;
  machine::datetime getClock() final;
  void setClock(const machine::datetime& time) final;

  TimerService& timers() { return timers_; }

 private:
  TimerService& timers_;
};

}  // namespace tavrel::timing
