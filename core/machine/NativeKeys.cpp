// Native calls of the keyboard and sound: wait for a key (0A), beep (05), key mode (2D).
#include <atomic>
#include <cstdint>
#include <thread>

#include "Keyboard.h"
#include "MachineHost.h"
#include "Memory.h"
#include "NativeSupport.h"
#include "ProcessorAccess.h"

namespace tavrel::machine::native {
namespace {

constexpr uint32_t kAllKeyLines = 0x7FF;
constexpr uint32_t kOnWithLine3 = kOnKeyMask | 0x08;
constexpr uint32_t kOnMarker = 0x80EF3;  // the ROM's flag byte for ON held with that key
constexpr uint32_t kOnMarkerValue = 0x0F;

void markOnCombination(Machine& m, uint32_t keys) {
  if ((keys & kOnWithLine3) == kOnWithLine3)
    writeNibbles(m, kOnMarker, kOnMarkerValue, 2);
}

bool machineRuns(const Machine& m) {
  return m.running.load(std::memory_order_relaxed) != 0;
}

// 0A: waits for the keys to be released, then for a press until the time-out (C bits 0-19,
// in units of 0.7 ms; 0 = look once). carry = 1 when a key was pressed. A key held through
// the whole time-out is no press, and a pause request ends the wait, so that pausing the
// machine never waits for the user's fingers.
uint32_t waitForKey(Machine& m, uint32_t resume) {
  VendelMachine& vm = m.vm;
  MachineHost& host = *m.host;
  const uint32_t timeoutMs = low20(vm.C) * 7 / 10;
  vm.carry = 0;
  const std::shared_ptr<HostEvent> keyEvent = host.createEvent();
  const std::shared_ptr<HostEvent> done = host.createEvent();
  host.startShortTask("keydntaskfcn", [keyEvent, done, timeoutMs] {
    if (timeoutMs == 0) {
      keyEvent->signal();
    } else {
      keyEvent->wait(timeoutMs);
    }
    done->signal();
  });
  auto timeIsUp = [&] { return timeoutMs != 0 && done->isSignalled(); };

  writeKeyOut(m, kAllKeyLines);
  uint32_t keys;
  // Both loops let other tasks have the processor: the keys they wait for come that way.
  while ((keys = readKeyIn(m)) != 0 && machineRuns(m) && !timeIsUp()) {
    markOnCombination(m, keys);
    serveProcessorRequests(m);
    std::this_thread::yield();
  }
  const bool heldThroughout = keys != 0 && timeIsUp();
  // Looks at least once; the helper task's end is the time-out.
  while (!heldThroughout) {
    keys = readKeyIn(m);
    if (keys != 0) {
      keyEvent->signal();
      vm.carry = 1;
      break;
    }
    if (keyEvent->isSignalled() || done->isSignalled() || !machineRuns(m))
      break;
    serveProcessorRequests(m);
    std::this_thread::yield();
  }
  markOnCombination(m, keys);
  done->wait(HostEvent::kNoTimeLimit);
  return resume;
}

// 05: no sound is made; the helper task finds its event already signalled and ends.
uint32_t beep(Machine& m, uint32_t resume) {
  HostEvent& event = m.host->beepEvent();
  m.vm.carry = 0;
  event.signal();
  m.host->startShortTask("beeptaskfcn", [&event] { event.wait(HostEvent::kNoTimeLimit); });
  return resume;
}

// 2D: carry clear selects interrupt-only key mode, carry set the ROM's key buffer.
uint32_t setKeyMode(Machine& m, uint32_t resume) {
  m.vm.keyMode = m.vm.carry == 0 ? 1 : 0;
  m.vm.carry = 0;
  return resume;
}

}  // namespace

void addKeyCalls(NativeTable& table) {
  table[0x05] = &beep;
  table[0x0A] = &waitForKey;
  table[0x2D] = &setKeyMode;
}

}  // namespace tavrel::machine::native
