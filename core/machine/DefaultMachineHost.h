// A host that lets the machine run alone and deterministically: no threads, events are plain
// flags, serial does nothing. Tools and tests use it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MachineHost.h"

namespace tavrel::machine {

struct PostedMessage {
  uint32_t type;
  uint32_t first;
  uint32_t second;
  bool operator==(const PostedMessage&) const = default;
};

// Peripherals: an event that is a plain flag. Nothing else runs, so a wait that the flag does
// not end at once could never end: it returns as if its time had passed.
class ManualEvent : public HostEvent {
 public:
  void signal() override { signalled = true; }
  bool isSignalled() const override { return signalled; }
  bool wait(uint32_t) override { return signalled; }
  bool signalled = false;
};

class DefaultMachineHost : public MachineHost {
 public:
  void throttleHook() override { ++throttleCalls; }
  void acquireProcessor() override { processorHeld = true; }
  void releaseProcessor() override { processorHeld = false; }
  // Nothing else runs, so nothing could wake a sleeper later: the wait ends at once, as if
  // the event had been signalled, and consumes a pending signal.
  void waitForWakeUp() override;
  void signalWakeUp() override { wakeUpSignalled = true; }
  void postMessage(uint32_t type, uint32_t first, uint32_t second) override;
  void machineStopped() override { stopped = true; }
  void serialSettingsChanged() override {}
  uint32_t readReceiveStatus(uint32_t stored) override { return stored & ~1u; }
  uint32_t takeReceivedByte() override { return 0; }
  void transmitByte(uint8_t) override {}

  uint64_t throttleCalls = 0;
  uint64_t sleeps = 0;
  bool processorHeld = false;
  bool wakeUpSignalled = false;
  bool stopped = false;
  std::vector<PostedMessage> messages;

  // --- Peripherals: a manual clock that tests advance (DefaultMachineHostPeripherals.cpp) ---
  static constexpr uint64_t kTicksPerSecond = 8192;

  uint32_t getTimerValue(HardwareTimer timer) override;
  void setTimerValue(HardwareTimer timer, uint32_t value) override;
  void startTimer(HardwareTimer timer) override;
  void stopTimer(HardwareTimer timer) override;
  datetime getClock() override;
  void setClock(const datetime& time) override;
  void displayChanged() override { ++displayChanges; }
  bool serialLinkOpen() override { return linkOpen; }
  std::shared_ptr<HostEvent> createEvent() override { return std::make_shared<ManualEvent>(); }
  // Runs the task inline, to its end.
  void startShortTask(const char* name, std::function<void()> body) override;
  HostEvent& beepEvent() override { return beep; }
  void pauseProcessor(uint32_t milliseconds) override { pauses.push_back(milliseconds); }
  // No remote link and no data logger here: the calls answer "not available" (carry set).
  void openRemoteLink(Machine& m) override;
  void closeRemoteLink(Machine& m) override;
  void sendDirectByte(Machine& m) override;
  void datavaneService(Machine& m) override;

  // Moves the manual clock on by `ticks` (8192 a second), expiring running timers on the way.
  void advanceTime(Machine& m, uint64_t ticks);

  struct ManualTimer {
    bool running = false;
    uint32_t value;     // kept while stopped
    uint64_t deadline;  // tick at which a running timer reads 0
  };
  uint64_t now = 0;  // ticks since the host started
  ManualTimer timers[2] = {{false, 15, 0}, {false, 0xFFFFFFFF, 0}};
  int64_t clockSeconds = 1767225600;  // local time at tick 0: 1 January 2026 00:00:00
  uint64_t displayChanges = 0;
  bool linkOpen = false;
  ManualEvent beep;
  std::vector<std::string> tasksStarted;
  std::vector<uint32_t> pauses;
};

}  // namespace tavrel::machine
