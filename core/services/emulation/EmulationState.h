// The core-wide state of emulation: the machine and its host, the run protocol's events and
// the task records. One instance, made by import and dropped by closeLibrary.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "CoreMachineHost.h"
#include "Machine.h"
#include "os/Event.h"
#include "os/Tasks.h"
#include "timing/TimerService.h"

namespace tavrel::core {

struct EmulationState {
  explicit EmulationState(std::unique_ptr<timing::TimerService> service)
      : timers(std::move(service)) {}

  std::unique_ptr<timing::TimerService> timers;

  // The machine and the host that serves it; replaced by the next boot under `lock`.
  std::unique_ptr<CoreMachineHost> host;
  std::unique_ptr<machine::Machine> machine;

  std::mutex lock;  // the emulation lock: pause and resume
  os::Event resumeEvent{true};
  os::Event bootedEvent{true};
  os::Event pausedEvent{true};
  os::Event stoppedEvent{true};
  // Set by the main task once it has left a pause; with mainParked (under `lock`) it keeps a
  // quick resume-then-pause from clearing resumeEvent before the parked task has seen it.
  os::Event resumedEvent{true};
  bool mainParked = false;

  std::atomic<os::tag_ThreadInfo*> mainTask{nullptr};
  std::atomic<os::tag_ThreadInfo*> emulationTask{nullptr};
  // The display-refresh tick timer; kNoRefresh while none runs. Main task only.
  static constexpr std::uint32_t kNoRefresh = 0xFFFFFFFF;
  std::uint32_t refreshTimer = kNoRefresh;

  std::u16string romPath;
  std::u16string skinName;
};

// Null outside import..closeLibrary.
EmulationState* emulationState();
void setEmulationState(std::unique_ptr<EmulationState> state);
std::unique_ptr<EmulationState> takeEmulationState();

// The run flag the interpreter polls: the machine's own flag, 0 while there is no machine.
bool emulationRunning(EmulationState& state);

}  // namespace tavrel::core
