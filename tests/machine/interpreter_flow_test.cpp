// Jumps, calls, returns, tests and the instructions that move PC.
#include <gtest/gtest.h>

#include "interpreter_test_machine.h"

namespace tavrel::machine {
namespace {

using Flow = InterpreterTest;

TEST_F(Flow, TakenTestWithZeroOffsetReturnsAndSetsCarry) {
  pushReturn(m, 0x00777);
  load("?A=B A\nRTNYES\nSHUTDN");
  step(1);
  EXPECT_EQ(m.vm.PC, 0x777u);
  EXPECT_EQ(m.vm.carry, 1u);
}

TEST_F(Flow, FailedTestClearsCarryAndSkipsTheOffset) {
  m.vm.A = reg(1);
  m.vm.carry = 1;
  load("?A=B A\nGOYES there\nSHUTDN\nthere: P= 9\nSHUTDN");
  const StepResult r = step(10);
  EXPECT_EQ(m.vm.carry, 0u);
  EXPECT_EQ(m.vm.PC, 5u);
  EXPECT_EQ(r.executed, 1u);
}

TEST_F(Flow, GocWithOffsetTwoContinuesAfterItself) {
  for (uint32_t carry : {0u, 1u}) {
    m.vm.carry = carry;
    load("NIBHEX 420\nSHUTDN");
    step(1);
    EXPECT_EQ(m.vm.PC, 3u) << carry;
  }
}

TEST_F(Flow, GosubPushesTheAddressAfterItAndJumpsFromThere) {
  load("GOSUB sub\nSHUTDN\nsub: P= 4\nRTN");
  step(1);
  EXPECT_EQ(m.vm.PC, label("sub"));
  step(2);
  EXPECT_EQ(m.vm.PC, 4u);
  EXPECT_EQ(m.vm.P, 4u);
}

TEST_F(Flow, LongJumpsAndCalls) {
  load(
      "GOLONG far\n"
      "back: SHUTDN\n"
      "ORG #1000\n"
      "far: GOSUBL sub\n"
      "GOSBVL #02000\n"
      "GOVLNG back\n"
      "sub: RTNSC\n"
      "ORG #2000\n"
      "RTNCC\n");
  EXPECT_TRUE(step(100).atShutdown);
  EXPECT_EQ(m.vm.PC, label("back"));
  EXPECT_EQ(m.vm.carry, 0u);
  EXPECT_EQ(m.vm.returnStackIndex, 0u);
}

TEST_F(Flow, RtnsxmSetsXm) {
  pushReturn(m, 0x00040);
  load("RTNSXM");
  step(1);
  EXPECT_EQ(m.vm.HST, 1u);
  EXPECT_EQ(m.vm.PC, 0x40u);
}

TEST_F(Flow, PointerIncrementAndDecrementWrap) {
  load("P= 15\nP=P+1\nSHUTDN");
  step(2);
  EXPECT_EQ(m.vm.P, 0u);
  EXPECT_EQ(m.vm.carry, 1u);
  load("P= 0\nP=P-1\nSHUTDN");
  step(2);
  EXPECT_EQ(m.vm.P, 15u);
  EXPECT_EQ(m.vm.carry, 1u);
  load("P= 3\nP=P+1\nSHUTDN");
  step(2);
  EXPECT_EQ(m.vm.carry, 0u);
}

TEST_F(Flow, LoadConstantWrapsFromNibbleFifteen) {
  m.vm.C = reg(0x0123456789ABCDEFull);
  run("P= 14\nLC #4321\nSHUTDN");
  // LC writes the lowest digit at nibble P: 1 at 14, 2 at 15, 3 at 0, 4 at 1.
  EXPECT_EQ(value(m.vm.C), 0x2123456789ABCD43ull);
}

TEST_F(Flow, LongConstantsComeFromMemory) {
  run("P= 0\nLC #FEDCBA9876543210\nLA #ABCDEF012\nSHUTDN");
  EXPECT_EQ(value(m.vm.C), 0xFEDCBA9876543210ull);
  EXPECT_EQ(value(m.vm.A), 0xABCDEF012ull);
}

TEST_F(Flow, FieldTestsInGroupNine) {
  m.vm.A = reg(0x500);
  m.vm.B = reg(0x4FF);
  run("?A>B X\nGOYES yes\nSHUTDN\nyes: ?A>=B B\nGOYES no\nP= 1\nno: SHUTDN");
  EXPECT_EQ(m.vm.P, 1u);
  EXPECT_EQ(m.vm.carry, 0u);
}

TEST_F(Flow, BitAndStatusTests) {
  m.vm.A = reg(0x8000);
  m.vm.ST = 0x0004;
  m.vm.HST = 0x2;
  run("?ABIT=1 15\nGOYES a\nSHUTDN\n"
      "a: ?ST=1 2\nGOYES b\nSHUTDN\n"
      "b: ?HST=0 1\nGOYES c\nSHUTDN\n"
      "c: ?P= 0\nGOYES d\nSHUTDN\n"
      "d: CBIT=1 3\nHST=0 2\nP= 7\nSHUTDN");
  EXPECT_EQ(m.vm.P, 7u);
  EXPECT_EQ(m.vm.C.lo, 8u);
  EXPECT_EQ(m.vm.HST, 0u);
}

TEST_F(Flow, PcMoves) {
  m.vm.A = reg(0xFFFFF00040ull);
  load("APCEX\nORG #40\nC=PC\nPC=C");
  step(1);
  EXPECT_EQ(m.vm.PC, 0x40u);
  EXPECT_EQ(value(m.vm.A), 0xFFFFF00004ull);
  step(2);
  EXPECT_EQ(m.vm.PC, 0x44u);
}

TEST_F(Flow, IndirectJumpThroughMemory) {
  m.vm.A = reg(0x100);
  load("PC=(A)\nORG #100\nCON(5) #00200");
  step(1);
  EXPECT_EQ(m.vm.PC, 0x200u);
}

TEST_F(Flow, EncodingsWithoutMeaningAdvanceByTheirLength) {
  const StepResult r =
      run("NIBHEX 806\nNIBHEX 80E\nNIBHEX 8083\nNIBHEX 81B0\nNIBHEX 80813\nSHUTDN");
  EXPECT_TRUE(r.atShutdown);
  EXPECT_EQ(r.executed, 5u);
  EXPECT_EQ(m.vm.PC, 19u);
}

TEST_F(Flow, ResetRebuildsTheChipsetOnly) {
  m.vm.C = reg(0x100);
  run("CONFIG\nP= 6\nRESET\nSHUTDN");
  EXPECT_EQ(m.vm.ioBase, -1);
  EXPECT_EQ(m.vm.P, 6u);
}

}  // namespace
}  // namespace tavrel::machine
