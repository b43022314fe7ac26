// The machine's timer and clock seam served by the timer service.
#include <gtest/gtest.h>

#include "timing/MachineTimerHost.h"
#include "timing/TimerSlots.h"

namespace tavrel::timing {
namespace {

using machine::HardwareTimer;

// The parts of the seam that other subsystems serve do nothing here.
class TimerOnlyHost : public MachineTimerHost {
 public:
  using MachineTimerHost::MachineTimerHost;
  void acquireProcessor() override {}
  void releaseProcessor() override {}
  void waitForWakeUp() override {}
  void signalWakeUp() override {}
  void postMessage(uint32_t, uint32_t, uint32_t) override {}
  void machineStopped() override {}
  void serialSettingsChanged() override {}
  uint32_t readReceiveStatus(uint32_t stored) override { return stored; }
  uint32_t takeReceivedByte() override { return 0; }
  void transmitByte(uint8_t) override {}
  void displayChanged() override {}
  bool serialLinkOpen() override { return false; }
  std::shared_ptr<machine::HostEvent> createEvent() override { return nullptr; }
  void startShortTask(const char*, std::function<void()>) override {}
  machine::HostEvent& beepEvent() override { std::abort(); }
  void pauseProcessor(uint32_t) override {}
  void openRemoteLink(machine::Machine&) override {}
  void closeRemoteLink(machine::Machine&) override {}
  void sendDirectByte(machine::Machine&) override {}
  void datavaneService(machine::Machine&) override {}
};

TEST(MachineTimerHostTest, TimersReachTheServiceThroughTheSeam) {
  TimerService timers;
  TimerOnlyHost host(timers);
  machine::MachineHost& seam = host;
  seam.setTimerValue(HardwareTimer::kTimer1, 11);
  seam.setTimerValue(HardwareTimer::kTimer2, 70000);
  EXPECT_EQ(timers.value1, 11u);
  EXPECT_EQ(timers.value2, 70000u);
  EXPECT_EQ(seam.getTimerValue(HardwareTimer::kTimer1), 11u);

  seam.startTimer(HardwareTimer::kTimer2);
  EXPECT_EQ(timers.running2, 1u);
  EXPECT_EQ(timers.running1, 0u);
  EXPECT_LE(seam.getTimerValue(HardwareTimer::kTimer2), 70000u);
  seam.stopTimer(HardwareTimer::kTimer2);
  EXPECT_EQ(timers.running2, 0u);
  EXPECT_EQ(seam.getTimerValue(HardwareTimer::kTimer2), timers.value2);
}

TEST(MachineTimerHostTest, ClockReachesTheServiceThroughTheSeam) {
  TimerService timers;
  TimerOnlyHost host(timers);
  machine::MachineHost& seam = host;
  const machine::datetime wanted{2003, 1, 1, 0, 0, 0, 0};
  seam.setClock(wanted);
  machine::datetime now = seam.getClock();
  now.count = 0;
  EXPECT_EQ(now, wanted);
}

}  // namespace
}  // namespace tavrel::timing
