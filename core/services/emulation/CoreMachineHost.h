// The core's side of the machine's host seam: the processor lock and wake-up event, the
// message queue, the display hook that publishes the LCD image to the interface record,
// helper tasks and the beep event. Timers, clock and throttle come from MachineTimerHost.
#pragma once

#include <memory>

#include "os/Event.h"
#include "os/Mutexes.h"
#include "timing/MachineTimerHost.h"

namespace tavrel::core {

class CoreMachineHost final : public timing::MachineTimerHost {
 public:
  explicit CoreMachineHost(timing::TimerService& timers);
  ~CoreMachineHost() override;

  // The machine this host serves; set once it is created.
  void attach(machine::Machine* m) { machine_ = m; }

  void suspendPoint() override;
  void acquireProcessor() override;
  void releaseProcessor() override;
  void waitForWakeUp() override;
  void signalWakeUp() override;
  void postMessage(std::uint32_t type, std::uint32_t first, std::uint32_t second) override;
  void machineStopped() override;

  // The serial registers, served by the core's serial bridge (idle while there is none).
  void serialSettingsChanged() override;
  std::uint32_t readReceiveStatus(std::uint32_t stored) override;
  std::uint32_t takeReceivedByte() override;
  void transmitByte(std::uint8_t byte) override;
  bool serialLinkOpen() override;

  void displayChanged() override;

  std::shared_ptr<machine::HostEvent> createEvent() override;
  void startShortTask(const char* name, std::function<void()> body) override;
  machine::HostEvent& beepEvent() override { return *beep_; }
  void pauseProcessor(std::uint32_t milliseconds) override;

  // Native-call services: the remote link and its direct port (remote/), the Datavane
  // service (datavane/).
  void openRemoteLink(machine::Machine& m) override;
  void closeRemoteLink(machine::Machine& m) override;
  void sendDirectByte(machine::Machine& m) override;
  void datavaneService(machine::Machine& m) override;

 private:
  machine::Machine* machine_ = nullptr;
  os::tag_MutexInfo* processorLock_;
  os::Event wakeUp_{false};
  std::shared_ptr<machine::HostEvent> beep_;
};

}  // namespace tavrel::core
