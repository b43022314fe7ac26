// What the serial bridge tests share: a machine host whose wake-up event can be waited on and
// that hands the serial registers to a bridge, a counting wrapper around the connection
// service's real ports, and a fixture that makes a machine and a bridge over them.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "ConnectFixture.h"
#include "DefaultMachineHost.h"
#include "Machine.h"
#include "Processor.h"
#include "SocatPair.h"
#include "os/TaskRun.h"
#include "os/Tasks.h"
#include "serial/SerialBridge.h"
#include "serial/SerialRegisters.h"
#include "tavrel/Text.h"

namespace tavrel::test {

inline constexpr auto kWaitLimit = std::chrono::seconds(20);

// A host whose wake-up event is real (auto reset) and whose serial registers go to a bridge.
class SerialTestHost : public machine::DefaultMachineHost {
 public:
  void signalWakeUp() override {
    {
      std::lock_guard guard(mutex_);
      signalled_ = true;
      ++wakeUps_;
    }
    changed_.notify_all();
  }
  void waitForWakeUp() override {
    std::unique_lock guard(mutex_);
    changed_.wait(guard, [this] { return signalled_; });
    signalled_ = false;
  }
  // Waits until the condition holds, looking again at every wake-up and every 20 ms. The
  // condition runs without the host's lock: it may take the bridge's locks, under which the
  // bridge's tasks signal this host.
  bool waitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kWaitLimit;
    for (;;) {
      const unsigned seen = wakeUps();
      if (condition())
        return true;
      if (std::chrono::steady_clock::now() >= deadline)
        return false;
      std::unique_lock guard(mutex_);
      changed_.wait_for(guard, std::chrono::milliseconds(20), [&] { return wakeUps_ != seen; });
    }
  }
  unsigned wakeUps() {
    std::lock_guard guard(mutex_);
    return wakeUps_;
  }

  void serialSettingsChanged() override { bridge->restart(false); }
  std::uint32_t readReceiveStatus(std::uint32_t stored) override {
    return bridge->receiveStatus(stored);
  }
  std::uint32_t takeReceivedByte() override { return bridge->takeReceived(); }
  void transmitByte(std::uint8_t byte) override { bridge->transmit(byte); }

  core::serial::SerialBridge* bridge = nullptr;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool signalled_ = false;
  unsigned wakeUps_ = 0;
};

// Opens and closes of the ports the bridge was given, by port name.
struct PortLog {
  std::mutex mutex;
  std::map<std::u16string, int> requests, opens, closes;
  int count(std::map<std::u16string, int>& table, const std::u16string& name) {
    std::lock_guard guard(mutex);
    return table[name];
  }
  void add(std::map<std::u16string, int>& table, const std::u16string& name) {
    std::lock_guard guard(mutex);
    ++table[name];
  }
};

// A real port of the connection service that counts its opens and closes.
class CountingPort final : public IVirtualPort {
 public:
  CountingPort(IVirtualPort* inner, std::u16string name, PortLog& log)
      : inner_(inner), name_(std::move(name)), log_(log) {}
  void destroy() override { inner_->release(); }
  bool open() override {
    log_.add(log_.opens, name_);
    return inner_->open();
  }
  void close() override {
    log_.add(log_.closes, name_);
    inner_->close();
  }
  std::uint8_t drain() override { return inner_->drain(); }
  void setSpeed(std::uint32_t speed) override { inner_->setSpeed(speed); }
  bool read(std::uint8_t* b, std::size_t o, std::size_t c, std::size_t& d) override {
    return inner_->read(b, o, c, d);
  }
  bool write(const std::uint8_t* b, std::size_t o, std::size_t c, std::size_t& d) override {
    return inner_->write(b, o, c, d);
  }
  bool bytesWaiting(std::size_t& count) override { return inner_->bytesWaiting(count); }

 private:
  IVirtualPort* inner_;
  std::u16string name_;
  PortLog& log_;
};

// Core tasks of that name whose body still runs.
inline int liveTasks(const std::u16string& name) {
  int count = 0;
  for (os::tag_ThreadInfo& slot : os::taskTable()) {
    if (slot.thread.joinable() && slot.name == name && slot.run && !slot.run->hasEnded())
      ++count;
  }
  return count;
}

// The connection service over a temporary settings store, a machine without ROM on the
// test host, and a bridge whose ports come from the service through a PortLog.
class BridgeTest : public ConnectTest {
 protected:
  void SetUp() override {
    ConnectTest::SetUp();
    if (HasFatalFailure())
      return;
    machine = machine::createMachine("/nonexistent/rom", &host);
    bridge = std::make_unique<core::serial::SerialBridge>(
        *machine, [this](const std::u16string& name) -> IVirtualPort* {
          log.add(log.requests, name);
          IVirtualPort* port = portFor(name);
          return port != nullptr ? new CountingPort(port, name, log) : nullptr;
        });
    host.bridge = bridge.get();
  }
  void TearDown() override {
    bridge.reset();
    ConnectTest::TearDown();
  }

  // Points the virtual port at one end of a new socat pair; the test talks through the other.
  void mapPort(const std::u16string& name, SocatPair& pair) {
    ASSERT_TRUE(pair.started());
    setConnect(name, fromUtf8(pair.first));
  }
  // Register 10 and nibbles 1A, 1B and 0D, as the calculator writes them.
  void setRegisters(std::uint8_t control, std::uint8_t linkControl, std::uint8_t link,
                    std::uint8_t baudCode = 12) {
    machine->vm.serialControl = control;
    machine->vm.regNibble1A = linkControl;
    machine->vm.regNibble1B = link;
    machine->vm.regNibble0D = baudCode;
  }
  std::uint32_t takePending() {
    return std::atomic_ref<std::uint32_t>(machine->vm.interruptPending).exchange(0);
  }
  std::string takeBytes(std::size_t count) {
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i)
      bytes.push_back(static_cast<char>(bridge->takeReceived()));
    return bytes;
  }

  SerialTestHost host;
  std::unique_ptr<machine::Machine> machine;
  PortLog log;
  std::unique_ptr<core::serial::SerialBridge> bridge;
};

}  // namespace tavrel::test
