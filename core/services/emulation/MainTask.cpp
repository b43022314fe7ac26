// emulatorMainTask: creates the machine, starts its timers and the interpreter, then serves
// the core's message queue until it is told to quit.
#include <cstdio>

#include "EmulationControl.h"
#include "EmulationState.h"
#include "KeyPositions.h"
#include "Processor.h"
#include "Timers.h"
#include "os/MessageQueue.h"
#include "plugin/CoreCommandLink.h"
#include "plugin/InterfaceRecord.h"
#include "remote/DirectPort.h"
#include "serial/SerialService.h"
#include "tavrel/Text.h"
#include "timing/TimerSlots.h"

namespace tavrel::core {
namespace {

enum MessageType : std::uint32_t {
  kKeyDown = 0,
  kKeyUp = 1,
  kRefresh = 2,
  kShutdown = 3,
  kQuit = 4,
  kPause = 5,
};

constexpr std::uint32_t kRefreshMilliseconds = 15;
constexpr std::uint32_t kTimer1Start = 15;
constexpr std::uint32_t kTimer2Start = 0xFFFFFFFF;

void startRefreshTimer(EmulationState& state) {
  if (state.refreshTimer != EmulationState::kNoRefresh)
    timing::stopTickTimer(*state.timers, state.refreshTimer);
  state.refreshTimer = timing::startTickTimer(*state.timers, kRefreshMilliseconds);
}

void stopRefreshTimer(EmulationState& state) {
  if (state.refreshTimer != EmulationState::kNoRefresh)
    timing::stopTickTimer(*state.timers, state.refreshTimer);
  state.refreshTimer = EmulationState::kNoRefresh;
}

void createMachine(EmulationState& state) {
  auto host = std::make_unique<CoreMachineHost>(*state.timers);
  machine::RomLoad rom;
  std::unique_ptr<machine::Machine> created =
      machine::createMachine(std::filesystem::path(toUtf8(state.romPath)), host.get(), rom);
  if (!rom.opened)
    std::fprintf(stderr, "nexocore: %s\n", rom.message.c_str());
  host->attach(created.get());
  std::lock_guard guard(state.lock);
  state.machine = std::move(created);
  state.host = std::move(host);
}

void startHardwareTimers(EmulationState& state) {
  machine::Machine* m = state.machine.get();
  timing::TimerService& timers = *state.timers;
  timing::setTimerHandler(timers, timing::kTimer1Selector, [m] { machine::timer1Expired(*m); });
  timing::setTimerValue(timers, timing::kTimer1Selector, kTimer1Start);
  timing::startTimer(timers, timing::kTimer1Selector);
  timing::setTimerHandler(timers, timing::kTimer2Selector, [m] { machine::timer2Expired(*m); });
  timing::setTimerValue(timers, timing::kTimer2Selector, kTimer2Start);
  timing::startTimer(timers, timing::kTimer2Selector);
}

void keyMessage(EmulationState& state, const os::tagMessage& message) {
  if (message.type == kKeyDown && message.first == kBeepKeyCode)
    state.host->beepEvent().signal();
  const int key = keyNumberOfPosition(message.first);
  if (message.type == kKeyDown) {
    machine::keyDown(*state.machine, key);
  } else {
    machine::keyUp(*state.machine, key);
  }
}

void shutdownMessage(EmulationState& state, std::int32_t left) {
  if (left == 0) {
    stopRefreshTimer(state);
    machine::refreshLcd(*state.machine);
  } else if (left == 1) {
    commandLink().executeLine(u"shutdnoff", 1);
    startRefreshTimer(state);
  }
}

// Serves messages until told to quit.
void messageLoop(EmulationState& state) {
  for (;;) {
    os::tagMessage message;
    os::receiveMessage(&message);
    switch (message.type) {
      case kKeyDown:
      case kKeyUp:
        keyMessage(state, message);
        break;
      case kRefresh:
        if (state.refreshTimer != EmulationState::kNoRefresh)
          machine::refreshLcd(*state.machine);
        break;
      case kShutdown:
        shutdownMessage(state, message.first);
        break;
      case kQuit:
        stopRefreshTimer(state);
        serial::closeSerialBridge();
        return;
      case kPause:
        state.pausedEvent.set();
        state.resumeEvent.wait();
        state.resumedEvent.set();
        break;
      default:
        break;
    }
  }
}

void emulatorMainTask() {
  EmulationState* state = emulationState();
  if (state == nullptr)
    return;
  os::setMainTask(os::currentTask());
  clearAnnunciators();
  createMachine(*state);
  serial::openSerialBridge(*state->machine);
  startHardwareTimers(*state);
  resumeEmulation();
  remote::markDirectPortClosed();
  serial::restartSerial(true);
  startRefreshTimer(*state);
  state->bootedEvent.set();
  messageLoop(*state);
  // The machine stays for readers until the next boot replaces it; its timers must not
  // reach it once this task is gone.
  timing::setTimerHandler(*state->timers, timing::kTimer1Selector, {});
  timing::setTimerHandler(*state->timers, timing::kTimer2Selector, {});
  os::setMainTask(nullptr);
}

}  // namespace

bool startMainTask() {
  EmulationState* state = emulationState();
  if (state == nullptr)
    return false;
  state->bootedEvent.reset();
  const int priority = os::getTaskPriority(os::currentTask()) - 1;
  state->mainTask =
      os::createTask(os::TaskEntry(&emulatorMainTask), static_cast<std::uint32_t>(priority), 1024,
                     0, TAVREL_DEBUG_LINE, u"emulatorMainTask");
  if (state->mainTask.load() == nullptr) {
    std::fputs("nexocore: no task slot left for emulatorMainTask\n", stderr);
    return false;
  }
  return true;
}

void waitBooted() {
  if (EmulationState* state = emulationState())
    state->bootedEvent.wait();
}

}  // namespace tavrel::core
