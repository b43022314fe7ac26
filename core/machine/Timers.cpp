#include "Timers.h"

#include <atomic>

#include "Machine.h"
#include "MachineHost.h"

namespace tavrel::machine {
namespace {

// A timer raises its flag only while the timers run and it may interrupt or wake. Runs on
// the host's timer task while the interpreter may write the control bytes.
void expire(Machine& m, uint8_t& controlByte) {
  std::atomic_ref<uint8_t> control(controlByte);
  const uint8_t flags = control.load();
  const uint8_t timer2Flags = std::atomic_ref<uint8_t>(m.vm.timer2Control).load();
  if ((timer2Flags & kTimerRun) == 0 || (flags & (kTimerInterrupt | kTimerWake)) == 0)
    return;
  control.fetch_or(kTimerExpired);
  if (flags & kTimerInterrupt)
    std::atomic_ref<uint32_t>(m.vm.interruptPending).fetch_or(1);
  if (flags & kTimerWake)
    m.host->signalWakeUp();
}

}  // namespace

uint32_t readTimer1(Machine& m) {
  return m.host->getTimerValue(HardwareTimer::kTimer1) & 0xF;
}

void writeTimer1(Machine& m, uint32_t value) {
  m.host->setTimerValue(HardwareTimer::kTimer1, value & 0xF);
}

uint32_t readTimer2(Machine& m) {
  return m.host->getTimerValue(HardwareTimer::kTimer2);
}

void writeTimer2(Machine& m, uint32_t value) {
  m.host->setTimerValue(HardwareTimer::kTimer2, value);
}

uint32_t readTimer2ControlRegister(Machine& m) {
  const uint32_t control = m.vm.timer2Control & 0xF;
  if ((readTimer2(m) & 0x80000000u) == 0)
    return control & ~uint32_t{kTimerExpired};
  if (control & (kTimerInterrupt | kTimerWake))
    return control | kTimerExpired;
  return control;
}

void writeTimer1ControlRegister(Machine& m, uint32_t nibble) {
  std::atomic_ref<uint8_t>(m.vm.timer1Control).store(static_cast<uint8_t>(nibble & 0xE));
}

void writeTimer2ControlRegister(Machine& m, uint32_t nibble) {
  const uint8_t was =
      std::atomic_ref<uint8_t>(m.vm.timer2Control).exchange(static_cast<uint8_t>(nibble & 0xF));
  const bool wasRunning = (was & kTimerRun) != 0;
  const bool running = (nibble & kTimerRun) != 0;
  if (running == wasRunning)
    return;
  for (HardwareTimer timer : {HardwareTimer::kTimer1, HardwareTimer::kTimer2}) {
    if (running) {
      m.host->startTimer(timer);
    } else {
      m.host->stopTimer(timer);
    }
  }
}

void timer1Expired(Machine& m) {
  expire(m, m.vm.timer1Control);
}

void timer2Expired(Machine& m) {
  expire(m, m.vm.timer2Control);
}

}  // namespace tavrel::machine
