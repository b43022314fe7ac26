// The pause, resume and stop protocol between commands, the main task and the interpreter.
#include "EmulationControl.h"

#include "EmulationState.h"
#include "Interpreter.h"
#include "os/MessageQueue.h"
#include "tavrel/Memory.h"
#include "tavrel/Singleton.h"

namespace tavrel::core {
namespace {

constexpr std::uint32_t kPauseMessage = 5;
constexpr std::uint32_t kQuitMessage = 4;

std::unique_ptr<EmulationState>& stateSlot() {
  static std::unique_ptr<EmulationState> state;
  return state;
}

const std::u16string& noText() {
  static const std::u16string empty;
  return empty;
}

std::uint32_t priorityBelowCaller() {
  return static_cast<std::uint32_t>(os::getTaskPriority(os::currentTask()) - 1);
}

void emulationTask() {
  if (EmulationState* state = emulationState())
    machine::runMachine(*state->machine);
}

}  // namespace

EmulationState* emulationState() {
  return stateSlot().get();
}

void setEmulationState(std::unique_ptr<EmulationState> state) {
  stateSlot() = std::move(state);
}

std::unique_ptr<EmulationState> takeEmulationState() {
  return std::move(stateSlot());
}

bool emulationRunning(EmulationState& state) {
  return state.machine != nullptr && state.machine->running.load() != 0;
}

void resumeEmulation() {
  EmulationState* state = emulationState();
  if (state == nullptr)
    return;
  std::lock_guard guard(state->lock);
  if (state->machine == nullptr || emulationRunning(*state))
    return;
  state->machine->running.store(1);
  // Emptied before the interpreter starts, so that its first messages are not lost.
  os::emptyMessageQueue();
  state->emulationTask = os::createTask(os::TaskEntry(&emulationTask), priorityBelowCaller(), 2048,
                                        0, TAVREL_DEBUG_LINE, u"emulationTask");
  if (state->emulationTask.load() == nullptr) {
    // No task slot: stay paused rather than let a pause wait for an interpreter.
    state->machine->running.store(0);
    return;
  }
  state->resumeEvent.set();
  if (state->mainParked) {
    state->resumedEvent.wait();
    state->mainParked = false;
  }
}

void pauseEmulation() {
  EmulationState* state = emulationState();
  if (state == nullptr)
    return;
  std::lock_guard guard(state->lock);
  if (!emulationRunning(*state))
    return;
  state->stoppedEvent.reset();
  state->pausedEvent.reset();
  state->machine->running.store(0);
  state->host->signalWakeUp();
  state->stoppedEvent.wait();
  state->resumeEvent.reset();
  state->resumedEvent.reset();
  os::sendMessage(nullptr, kPauseMessage, 0, nullptr);
  state->pausedEvent.wait();
  state->mainParked = true;
}

void stopMachine() {
  EmulationState* state = emulationState();
  if (state == nullptr)
    return;
  pauseEmulation();
  os::emptyMessageQueue();
  os::sendMessage(nullptr, kQuitMessage, 0, nullptr);
  state->resumeEvent.set();
  {
    std::lock_guard guard(state->lock);
    state->mainParked = false;
  }
  auto& table = os::taskTable();
  for (std::size_t slot = table.size() - 1; slot >= 1 && table[slot].thread.joinable(); --slot)
    os::endTask(&table[slot]);
  os::emptyMessageQueue();
  state->mainTask = nullptr;
  state->emulationTask = nullptr;
}

std::mutex& emulationLock() {
  return emulationState()->lock;
}

machine::Machine* currentMachine() {
  EmulationState* state = emulationState();
  return state != nullptr ? state->machine.get() : nullptr;
}

timing::TimerService* timerService() {
  EmulationState* state = emulationState();
  return state != nullptr ? state->timers.get() : nullptr;
}

const std::u16string& skinName() {
  EmulationState* state = emulationState();
  return state != nullptr ? state->skinName : noText();
}

const std::u16string& romPath() {
  EmulationState* state = emulationState();
  return state != nullptr ? state->romPath : noText();
}

void setSkinName(std::u16string name) {
  if (EmulationState* state = emulationState())
    state->skinName = std::move(name);
}

void setRomPath(std::u16string path) {
  EmulationState* state = emulationState();
  if (state == nullptr)
    return;
  std::lock_guard guard(TSingleton<CMemory>::instance());
  state->romPath = std::move(path);
}

}  // namespace tavrel::core
