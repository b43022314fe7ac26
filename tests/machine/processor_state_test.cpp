// Processor state: P and its field entries, the return stack, interrupt entry and return,
// and what creation leaves in the record.
#include <gtest/gtest.h>

#include "interpreter_test_machine.h"

namespace tavrel::machine {
namespace {

using ProcessorState = InterpreterTest;

TEST_F(ProcessorState, CreationFillsFieldTablesAndChipsetDefaults) {
  const VendelMachine& vm = m.vm;
  EXPECT_EQ(vm.fieldMask[kFieldP], 0xFu);
  EXPECT_EQ(vm.fieldMask[kFieldWP], 0xFu);
  EXPECT_EQ(vm.fieldLength[kFieldWP], 1u);
  EXPECT_EQ(vm.fieldMask[kFieldXS], 0xF00u);
  EXPECT_EQ(vm.fieldMask[kFieldS], 0xF000000000000000ull);
  EXPECT_EQ(vm.fieldStart[kFieldS], 15u);
  EXPECT_EQ(vm.fieldMask[kFieldM], 0x0FFFFFFFFFFFF000ull);
  EXPECT_EQ(vm.fieldStart[kFieldM], 3u);
  EXPECT_EQ(vm.fieldLength[kFieldM], 12u);
  EXPECT_EQ(vm.fieldMask[kFieldA], 0xFFFFFull);
  EXPECT_EQ(vm.fieldMask[kFieldCount1 + 2], 0xFFFull);
  EXPECT_EQ(vm.fieldMask[kFieldCount16], ~0ull);
  for (uint32_t code = 8; code <= 14; ++code)
    EXPECT_EQ(vm.fieldMask[code], 0u) << code;
  EXPECT_EQ(vm.ioBase, -1);
  EXPECT_EQ(vm.bankSwitcherPage, -1);
  EXPECT_EQ(vm.reserved0EB0, 128u);
  EXPECT_EQ(vm.reserved0ECC, 64u);
  EXPECT_EQ(vm.regNibble0D, 12u);
  EXPECT_EQ(vm.contrast, 12u);
  EXPECT_EQ(vm.contrastTarget, 12u);
  EXPECT_EQ(vm.romBanks[7], 0u);
}

TEST_F(ProcessorState, SetPNineSelectsHighWordNibble) {
  setP(m, 9);
  EXPECT_EQ(m.vm.P, 9u);
  EXPECT_EQ(m.vm.P4, 36u);
  EXPECT_EQ(m.vm.P4High, 4);
  EXPECT_EQ(m.vm.fieldStart[kFieldP], 9u);
  EXPECT_EQ(m.vm.fieldMask[kFieldP], 0xF000000000ull);
  EXPECT_EQ(m.vm.fieldLength[kFieldWP], 10u);
  EXPECT_EQ(m.vm.fieldMask[kFieldWP], 0x000000FFFFFFFFFFull);
  setP(m, 0);
  EXPECT_EQ(m.vm.fieldMask[kFieldWP], 0xFull);
  EXPECT_EQ(m.vm.P4High, -32);
}

TEST_F(ProcessorState, NinePushesKeepTheLastEightThenPopZero) {
  for (uint32_t i = 1; i <= 9; ++i)
    pushReturn(m, 0x10000 * i + i);
  for (uint32_t i = 9; i >= 2; --i)
    EXPECT_EQ(popReturn(m), 0x10000 * i + i) << i;
  EXPECT_EQ(popReturn(m), 0u);
  EXPECT_EQ(popReturn(m), 0u);
}

TEST_F(ProcessorState, PushKeepsTwentyBits) {
  pushReturn(m, 0xABCDEF12);
  EXPECT_EQ(popReturn(m), 0xDEF12u);
}

TEST_F(ProcessorState, CRstkOnEmptyStackLoadsZeroKeepingUpperBits) {
  m.vm.C = reg(0x123456789ABCDEF1ull);
  run("C=RSTK\nSHUTDN");
  EXPECT_EQ(value(m.vm.C), 0x123456789AB00000ull);
}

TEST_F(ProcessorState, RstkCPushesLowTwentyBits) {
  m.vm.C = reg(0xFFFFFFFFFFF12345ull);
  run("RSTK=C\nSHUTDN");
  EXPECT_EQ(popReturn(m), 0x12345u);
}

TEST_F(ProcessorState, InterruptEntryPushesPcAndJumpsToVector) {
  load("P= 1\nP= 2\nP= 3\nNIBHEX 000000000\nP= 7\nSHUTDN");
  step(1);
  m.vm.interruptPending = 1;
  const StepResult r = step(1);
  EXPECT_EQ(r.executed, 1u);  // the interrupt itself is not a step
  EXPECT_EQ(m.vm.inInterrupt, 1u);
  EXPECT_EQ(m.vm.interruptPending, 0u);
  EXPECT_EQ(m.vm.P, 7u);  // the instruction at 0000F ran
  EXPECT_EQ(popReturn(m), 2u);
}

TEST_F(ProcessorState, InterruptDuringServiceWaitsForRti) {
  // 0000F: P= 5, RTI. A second request with value 3 (RSI) arrives while serving.
  load("GOTO start\nNIBHEX 00000000000\nP= 5\nRTI\nstart: P= 1\nP= 2\nSHUTDN");
  m.vm.interruptPending = 1;
  step(1);  // taken: P= 5 at 0000F
  m.vm.interruptPending = 3;
  step(1);  // RTI: still pending, becomes 1
  EXPECT_EQ(m.vm.inInterrupt, 0u);
  EXPECT_EQ(m.vm.interruptPending, 1u);
  step(1);  // taken again before the next instruction
  EXPECT_EQ(m.vm.PC, 0x11u);
  EXPECT_EQ(m.vm.inInterrupt, 1u);
}

TEST_F(ProcessorState, RtiDropsAPlainRequestWithoutTimerCause) {
  load("GOTO start\nNIBHEX 00000000000\nP= 5\nRTI\nstart: P= 1\nSHUTDN");
  m.vm.interruptPending = 1;
  step(1);
  m.vm.interruptPending = 1;  // a key while serving
  step(1);
  EXPECT_EQ(m.vm.interruptPending, 0u);
}

TEST_F(ProcessorState, NormalizeRepairsARecordFromOutside) {
  m.vm.P = 0x23;
  m.vm.returnStackIndex = 99;
  m.vm.fieldStart[kFieldA] = 40;
  m.vm.fieldMask[8] = 0x0000000000FF0000ull;
  m.vm.PC = 0x1234567;
  normalizeProcessor(m.vm);
  EXPECT_EQ(m.vm.P, 3u);
  EXPECT_EQ(m.vm.fieldMask[kFieldP], 0xF000ull);
  EXPECT_EQ(m.vm.fieldMask[kFieldWP], 0xFFFFull);
  EXPECT_EQ(m.vm.returnStackIndex, 3u);
  EXPECT_EQ(m.vm.fieldStart[kFieldA], 0u);
  EXPECT_EQ(m.vm.fieldStart[8], 4u);
  EXPECT_EQ(m.vm.fieldLength[8], 2u);
  EXPECT_EQ(m.vm.PC, 0x34567u);
}

}  // namespace
}  // namespace tavrel::machine
