#include "MachineTimerHost.h"

#include "TimerSlots.h"

namespace tavrel::timing {
namespace {

std::uint32_t selectorOf(machine::HardwareTimer timer) {
  return timer == machine::HardwareTimer::kTimer2 ? kTimer2Selector : kTimer1Selector;
}

}  // namespace

std::uint32_t MachineTimerHost::getTimerValue(machine::HardwareTimer timer) {
  return timing::getTimerValue(timers_, selectorOf(timer));
}

void MachineTimerHost::setTimerValue(machine::HardwareTimer timer, std::uint32_t value) {
  timing::setTimerValue(timers_, selectorOf(timer), value);
}

void MachineTimerHost::startTimer(machine::HardwareTimer timer) {
  timing::startTimer(timers_, selectorOf(timer));
}

void MachineTimerHost::stopTimer(machine::HardwareTimer timer) {
  timing::stopTimer(timers_, selectorOf(timer));
}

machine::datetime MachineTimerHost::getClock() {
  machine::datetime time{};
  getDateTime(timers_, &time);
  return time;
}

void MachineTimerHost::setClock(const machine::datetime& time) {
  machine::datetime copy = time;
  setDateTime(timers_, &copy);
}

}  // namespace tavrel::timing
