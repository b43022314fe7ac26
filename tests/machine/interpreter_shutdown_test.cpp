// SHUTDN: stepping stops before it; running sleeps through the host and goes on after it.
#include <gtest/gtest.h>

#include "interpreter_test_machine.h"

namespace tavrel::machine {
namespace {

// Ends a run after a number of throttle calls, and can raise an interrupt while asleep.
class ScriptedHost : public DefaultMachineHost {
 public:
  void throttleHook() override {
    DefaultMachineHost::throttleHook();
    if (throttleCalls >= stopAfterThrottles)
      machine->running.store(0);
  }
  void waitForWakeUp() override {
    DefaultMachineHost::waitForWakeUp();
    EXPECT_FALSE(processorHeld);  // the lock is released while asleep
    EXPECT_EQ(machine->vm.shutDown, 1u);
    if (interruptWhileAsleep)
      machine->vm.interruptPending = 1;
  }
  Machine* machine = nullptr;
  uint64_t stopAfterThrottles = 1;
  bool interruptWhileAsleep = false;
};

class Shutdown : public ::testing::Test {
 protected:
  Shutdown() : machine(createMachine("/nonexistent/rom", &host)), m(*machine) { host.machine = &m; }
  void load(std::string_view source) {
    const vasm::Assembly assembly = vasm::assemble(source);
    ASSERT_TRUE(assembly.errors.empty()) << assembly.errors.front();
    loadRomImage(m, romImageOf(assembly.nibbles));
    rebuildMap(m);
    m.vm.PC = 0;
  }
  ScriptedHost host;
  std::unique_ptr<Machine> machine;
  Machine& m;
};

TEST_F(Shutdown, SteppingStopsBeforeShutdnWithoutCountingIt) {
  load("P= 1\nP= 2\nSHUTDN\nP= 3");
  const StepResult r = stepMachine(m, 100);
  EXPECT_TRUE(r.atShutdown);
  EXPECT_EQ(r.executed, 2u);
  EXPECT_EQ(m.vm.PC, 4u);
  EXPECT_EQ(m.vm.shutDown, 0u);
  EXPECT_TRUE(host.messages.empty());
  // Asked again, it stays there.
  EXPECT_EQ(stepMachine(m, 5).executed, 0u);
}

TEST_F(Shutdown, RunningSleepsPostsBothMessagesAndGoesOn) {
  load("SHUTDN\nloop: GOTO loop");
  m.running.store(1);
  EXPECT_EQ(runMachine(m), 0);
  EXPECT_EQ(host.sleeps, 1u);
  const std::vector<PostedMessage> expected{{3, 0, 0}, {3, 1, 0}};
  EXPECT_EQ(host.messages, expected);
  EXPECT_EQ(m.vm.shutDown, 0u);
  EXPECT_EQ(m.vm.PC, 3u);
  EXPECT_TRUE(host.stopped);
  EXPECT_FALSE(host.processorHeld);
}

TEST_F(Shutdown, InterruptArrivingInSleepIsTakenBeforeTheNextInstruction) {
  // 0000F: spin; the return address pushed by the interrupt is the one after the 807.
  load("SHUTDN\nNIBHEX 000000000000\nspin: GOTO spin");
  host.interruptWhileAsleep = true;
  m.running.store(1);
  runMachine(m);
  EXPECT_EQ(m.vm.inInterrupt, 1u);
  EXPECT_EQ(popReturn(m), 3u);
  EXPECT_EQ(m.vm.PC, 0xFu);
}

TEST_F(Shutdown, ThrottleHookEveryTwoHundredFiftySixInstructions) {
  load("loop: GOTO loop");
  host.stopAfterThrottles = 3;
  m.running.store(1);
  runMachine(m);
  EXPECT_EQ(host.throttleCalls, 3u);
  // Stepping calls it on the same rhythm.
  host.throttleCalls = 0;
  stepMachine(m, 1024);
  EXPECT_EQ(host.throttleCalls, 4u);
}

TEST_F(Shutdown, ClearedRunFlagStopsBeforeTheFirstInstruction) {
  load("P= 9");
  m.running.store(0);
  runMachine(m);
  EXPECT_EQ(m.vm.P, 0u);
  EXPECT_TRUE(host.stopped);
}

}  // namespace
}  // namespace tavrel::machine
