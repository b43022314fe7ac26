// A machine with RAM at 80000 (as the ROM's start code leaves it), a context record in it and
// a clock that moves only when the application waits.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>

#include "DefaultMachineHost.h"
#include "Machine.h"
#include "Memory.h"
#include "NativeCalls.h"
#include "Processor.h"
#include "datavane/ContextRecord.h"
#include "datavane/DatavaneApp.h"
#include "datavane/LinkTiming.h"

namespace tavrel::test {

// The machine's own host, with native call 90 served by the application under test.
class DatavaneHost : public machine::DefaultMachineHost {
 public:
  core::datavane::DatavaneApp* app = nullptr;
  void datavaneService(machine::Machine& m) override {
    if (app != nullptr) {
      app->serve(m);
    }
  }
};

class DatavaneMachine {
 public:
  static constexpr std::uint32_t kContext = 0x90000;
  static constexpr std::uint32_t kStore = 0xA0000;
  static constexpr std::uint32_t kDisplay = 0xC0000;
  static constexpr std::uint32_t kResume = 0x12345;

  DatavaneMachine() : machine(machine::createMachine("/nonexistent/rom", &host)), m(*machine) {
    machine::callNative(m, 0x40, 0);  // RECONFIGURE: RAM at 80000
    m.vm.displayStart = kDisplay;
    m.vm.lineOffset = 0;
    m.vm.lineCount = 0;
    m.vm.headerLines = 0;
  }

  // The ROM's part of the record: the channel count and each channel's enable and sensor.
  void setChannels(std::uint8_t count,
                   const std::array<core::datavane::ChannelSetting, 4>& channels) {
    machine::writeNibbles(m, kContext, count, 1);
    for (int i = 0; i < 4; ++i) {
      machine::writeNibbles(m, kContext + 1 + 3 * i, channels[i].enable, 1);
      machine::writeNibbles(m, kContext + 2 + 3 * i, channels[i].sensor, 2);
    }
  }

  core::datavane::Context context() { return core::datavane::ContextRecord(m, kContext).load(); }

  // Native call 90 as the ROM makes it: service in R0, second value in B >> 1, flags in R4.
  void call(core::datavane::DatavaneApp& app, std::uint32_t service, std::uint32_t second = 0,
            std::uint32_t flags = 0) {
    m.vm.D0 = kContext;
    m.vm.R0 = {service, 0};
    m.vm.B = {second << 1, 0};
    m.vm.R4 = {flags, 0};
    host.app = &app;
    EXPECT_EQ(machine::callNative(m, 0x90, kResume), kResume);
  }

  std::uint32_t returnCode() const { return m.vm.A.lo & 0xFFFFF; }

  DatavaneHost host;
  std::unique_ptr<machine::Machine> machine;
  machine::Machine& m;
};

// Sleeps advance the clock at once; beforeSleep runs first (a test's hook into the waits).
struct FakeClock {
  std::atomic<std::uint32_t> now{5000};
  std::function<void(std::uint32_t)> beforeSleep;

  core::datavane::LinkTiming timing() {
    return {[this] { return now.load(); },
            [this](std::uint32_t ms) {
              if (beforeSleep) {
                beforeSleep(ms);
              }
              now += ms;
            }};
  }
};

}  // namespace tavrel::test
