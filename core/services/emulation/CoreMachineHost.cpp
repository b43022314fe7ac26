#include "CoreMachineHost.h"

#include <array>

#include "Display.h"
#include "EmulationState.h"
#include "datavane/DatavaneService.h"
#include "Machine.h"
#include "os/MessageQueue.h"
#include "plugin/InterfaceRecord.h"
#include "remote/DirectPort.h"
#include "remote/RemoteCalls.h"
#include "serial/SerialService.h"

namespace tavrel::core {
namespace {

constexpr std::chrono::milliseconds kProcessorRetry{100};

// A helper task's event, over the core's own event.
class CoreHostEvent final : public machine::HostEvent {
 public:
  void signal() override { event_.set(); }
  bool isSignalled() const override { return event_.isSet(); }
  bool wait(std::uint32_t timeoutMs) override {
    if (timeoutMs == kNoTimeLimit)
      return event_.wait();
    return event_.wait(std::chrono::milliseconds(timeoutMs));
  }

 private:
  os::Event event_{true};
};

}  // namespace

CoreMachineHost::CoreMachineHost(timing::TimerService& timers)
    : MachineTimerHost(timers),
      processorLock_(os::createMutex()),
      beep_(std::make_shared<CoreHostEvent>()) {}

CoreMachineHost::~CoreMachineHost() {
  os::destroyMutex(processorLock_);
}

void CoreMachineHost::suspendPoint() {
  // A stop request is answered through the run flag, never here.
  os::taskCheckpoint();
}

void CoreMachineHost::acquireProcessor() {
  if (os::lockMutex(processorLock_, 0, 0) != 0) {
    std::this_thread::sleep_for(kProcessorRetry);
    os::lockMutex(processorLock_, 0, 0);
  }
}

void CoreMachineHost::releaseProcessor() {
  os::unlockMutex(processorLock_);
}

void CoreMachineHost::waitForWakeUp() {
  wakeUp_.wait();
}

void CoreMachineHost::signalWakeUp() {
  wakeUp_.set();
}

void CoreMachineHost::postMessage(std::uint32_t type, std::uint32_t first, std::uint32_t) {
  os::tagMessage message{type, static_cast<std::int32_t>(first), nullptr};
  os::postMessage(nullptr, &message);
}

void CoreMachineHost::machineStopped() {
  if (EmulationState* state = emulationState())
    state->stoppedEvent.set();
}

void CoreMachineHost::serialSettingsChanged() {
  serial::restartSerial(false);
}

std::uint32_t CoreMachineHost::readReceiveStatus(std::uint32_t stored) {
  if (std::shared_ptr<serial::SerialBridge> bridge = serial::serialBridge())
    return bridge->receiveStatus(stored);
  return stored & ~1u;
}

std::uint32_t CoreMachineHost::takeReceivedByte() {
  if (std::shared_ptr<serial::SerialBridge> bridge = serial::serialBridge())
    return bridge->takeReceived();
  return 0;
}

void CoreMachineHost::transmitByte(std::uint8_t byte) {
  if (std::shared_ptr<serial::SerialBridge> bridge = serial::serialBridge())
    bridge->transmit(byte);
}

void CoreMachineHost::displayChanged() {
  if (machine_ == nullptr)
    return;
  std::array<std::uint8_t, machine::kLcdBytes> image;
  machine::copyLcdImage(*machine_, image);
  publishDisplay(image.data(), image.size());
}

std::shared_ptr<machine::HostEvent> CoreMachineHost::createEvent() {
  return std::make_shared<CoreHostEvent>();
}

void CoreMachineHost::startShortTask(const char* name, std::function<void()> body) {
  std::u16string taskName;
  for (const char* c = name; *c != '\0'; ++c)
    taskName.push_back(static_cast<char16_t>(*c));
  const int priority = os::getTaskPriority(os::currentTask());
  if (os::createTask(os::TaskEntry([body] { body(); }), static_cast<std::uint32_t>(priority), 0x400,
                     0, TAVREL_DEBUG_LINE, taskName) == nullptr) {
    // No task slot left: run it here rather than lose the signal it gives.
    body();
  }
}

void CoreMachineHost::pauseProcessor(std::uint32_t milliseconds) {
  if (EmulationState* state = emulationState())
    os::sleepTask(state->emulationTask.load(), milliseconds);
}

bool CoreMachineHost::serialLinkOpen() {
  return remote::directPortHeld();
}

void CoreMachineHost::openRemoteLink(machine::Machine& m) {
  remote::openRemoteLink(m);
}

void CoreMachineHost::closeRemoteLink(machine::Machine& m) {
  remote::closeRemoteLink(m);
}

void CoreMachineHost::sendDirectByte(machine::Machine& m) {
  remote::sendDirectByte(m);
}

void CoreMachineHost::datavaneService(machine::Machine& m) {
  datavane::serveDatavane(m);
}

}  // namespace tavrel::core
