// Other tasks reach the machine between two instructions: a ProcessorHold on another thread
// makes the running interpreter let go of the processor and wait until the hold ends.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "ProcessorAccess.h"
#include "interpreter_test_machine.h"

namespace tavrel::machine {
namespace {

using Clock = std::chrono::steady_clock;

// A processor lock that really excludes, and a count of the interpreter's check points.
class LockingHost : public DefaultMachineHost {
 public:
  void acquireProcessor() override { lock.lock(); }
  void releaseProcessor() override { lock.unlock(); }
  void throttleHook() override { checkPoints.fetch_add(1); }
  std::recursive_mutex lock;
  std::atomic<uint64_t> checkPoints{0};
};

template <typename Condition>
bool spinUntil(Condition condition) {
  const auto limit = Clock::now() + std::chrono::seconds(20);
  while (!condition()) {
    if (Clock::now() > limit)
      return false;
    std::this_thread::yield();
  }
  return true;
}

class ProcessorAccess : public ::testing::Test {
 protected:
  ProcessorAccess() : machine(createMachine("/nonexistent/rom", &host)), m(*machine) {
    const vasm::Assembly assembly = vasm::assemble("loop: A=A+1 W\nGOTO loop");
    EXPECT_TRUE(assembly.errors.empty());
    loadRomImage(m, romImageOf(assembly.nibbles));
    rebuildMap(m);
    m.vm.PC = 0;
    m.running.store(1);
    interpreter = std::thread([this] { runMachine(m); });
  }
  ~ProcessorAccess() override {
    m.running.store(0);
    interpreter.join();
  }

  LockingHost host;
  std::unique_ptr<Machine> machine;
  Machine& m;
  std::thread interpreter;
};

TEST_F(ProcessorAccess, AHoldStopsTheRunningInterpreterUntilItEnds) {
  ASSERT_TRUE(spinUntil([&] { return host.checkPoints.load() > 0; }));
  uint64_t held;
  {
    ProcessorHold hold(m);
    held = host.checkPoints.load();
    const uint32_t a = m.vm.A.lo;
    // Unheld, the interpreter passes a check point every 256 instructions, far more often
    // than this loop turns.
    for (int i = 0; i < 2000; ++i)
      std::this_thread::yield();
    EXPECT_EQ(host.checkPoints.load(), held);
    EXPECT_EQ(m.vm.A.lo, a);
  }
  EXPECT_TRUE(spinUntil([&] { return host.checkPoints.load() > held; }));
  EXPECT_EQ(m.processorRequests.load(), 0u);
}

TEST_F(ProcessorAccess, HoldsNestOnTheHoldersOwnThread) {
  ASSERT_TRUE(spinUntil([&] { return host.checkPoints.load() > 0; }));
  {
    ProcessorHold outer(m);
    ProcessorHold inner(m);
    EXPECT_EQ(m.processorRequests.load(), 2u);
  }
  const uint64_t after = host.checkPoints.load();
  EXPECT_TRUE(spinUntil([&] { return host.checkPoints.load() > after; }));
}

}  // namespace
}  // namespace tavrel::machine
