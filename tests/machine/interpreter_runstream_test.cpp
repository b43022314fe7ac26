// The runstream instructions that walk the ROM's threaded code.
#include <gtest/gtest.h>

#include "interpreter_test_machine.h"

namespace tavrel::machine {
namespace {

using Runstream = InterpreterTest;

// The stream at 00200 points at objects; 02FFF and 03000 are the calls' targets.
constexpr const char* kStreams =
    "ORG #200\n"
    "stream: CON(5) #00300\n"
    "CON(5) #00310\n"
    "CON(5) #00320\n"
    "ORG #300\n"
    "CON(5) #00400\n"  // an object whose code is at 00400
    "ORG #310\n"
    "CON(5) #03130\n"  // end of a secondary
    "ORG #320\n"
    "CON(5) #00500\n"
    "ORG #400\n"
    "P= 4\n"
    "SHUTDN\n"
    "ORG #500\n"
    "P= 5\n"
    "SHUTDN\n";

TEST_F(Runstream, NextStepLoadsAAndJumpsThroughIt) {
  m.vm.D0 = 0x200;
  load(std::string("RSNEXT\n") + kStreams);
  step(1);
  EXPECT_EQ(m.vm.A.lo & 0xFFFFF, 0x300u);
  EXPECT_EQ(m.vm.D0, 0x205u);
  EXPECT_EQ(m.vm.PC, 0x400u);
}

TEST_F(Runstream, LoopWithZeroCounterEndsAtTheFirstObject) {
  m.vm.D0 = 0x200;
  m.vm.D1 = 0x77777;
  m.vm.B = reg(0x55555);
  pushReturn(m, 0x00600);
  load(std::string("RSEVAL\n") + kStreams);
  m.vm.carry = 1;
  step(1);
  // B = 0 after the save: the final check returns at once, restoring B and D1.
  EXPECT_EQ(m.vm.PC, 0x600u);
  EXPECT_EQ(m.vm.D0, 0x205u);
  EXPECT_EQ(m.vm.D1, 0x77777u);
  EXPECT_EQ(value(m.vm.B), 0x55555u);
  EXPECT_EQ(m.vm.carry, 0u);
}

TEST_F(Runstream, SemiWithZeroCounterStepsBackAndReturns) {
  m.vm.D0 = 0x205;
  m.vm.B = reg(0x1234);
  pushReturn(m, 0x00600);
  load(std::string("RSEVAL\n") + kStreams);
  step(1);
  EXPECT_EQ(m.vm.PC, 0x600u);
  EXPECT_EQ(m.vm.D0, 0x205u);  // back on the 03130 pointer
  EXPECT_EQ(value(m.vm.B), 0x1234u);
}

TEST_F(Runstream, CounterRunsTheLoopUntilASemiBringsItToZero) {
  m.vm.D0 = 0x200;
  m.vm.B = reg(1);
  pushReturn(m, 0x00600);
  load(std::string("RSLOOP\n") + kStreams);
  step(1);
  // 00300: other object, B = 1: on; 00310: semi with B = 1: B = 0, final check returns.
  EXPECT_EQ(m.vm.PC, 0x600u);
  EXPECT_EQ(m.vm.D0, 0x20Au);
  EXPECT_EQ(m.vm.D1, m.vm.savedD1);
}

TEST_F(Runstream, ProgramPrologueWithForeignCodeContinuesThere) {
  // A program object: prologue 028FC whose preceding five nibbles name its code.
  m.vm.D0 = 0x700;
  load(
      "RSLOOP\n"
      "ORG #700\nCON(5) #00805\n"
      "ORG #800\nCON(5) #00900\nCON(5) #028FC\n"
      "ORG #900\nSHUTDN\n");
  step(1);
  EXPECT_EQ(m.vm.PC, 0x900u);
  EXPECT_EQ(m.vm.D1, 0x805u);
}

TEST_F(Runstream, SkipsAdvanceD0BeforeTheCheck) {
  m.vm.D0 = 0x200;
  pushReturn(m, 0x00600);
  load(std::string("RSSKIP\n") + kStreams);
  step(1);  // D0 = 00200 + 00300
  EXPECT_EQ(m.vm.D0, 0x500u);
  EXPECT_EQ(m.vm.PC, 0x600u);
  m.vm.D0 = 0x1000;
  pushReturn(m, 0x00600);
  load("RSSKIPS\nORG #1000\nNIBHEX 30");
  step(1);  // D0 + 2 * 3 + 2
  EXPECT_EQ(m.vm.D0, 0x1008u);
}

TEST_F(Runstream, ReturnAndCallUseTheStackInB) {
  // RSCALL pushes D0 at B and continues with the stream at A + 5.
  m.vm.D0 = 0x12345;
  m.vm.B = reg(0x200);  // ROM: the push is dropped, B still advances
  m.vm.A = reg(0x1FB);
  load(std::string("RSCALL\n") + kStreams);
  step(1);
  EXPECT_EQ(value(m.vm.B), 0x205u);
  EXPECT_EQ(m.vm.D0, 0x205u);
  EXPECT_EQ(m.vm.PC, 0x400u);
  // RSRETURN pops D0 from B - 5 and counts in D.
  m.vm.B = reg(0x605);
  load(std::string("RSRETURN\n") + kStreams + "ORG #600\nCON(5) #00200\n");
  step(1);
  EXPECT_EQ(value(m.vm.B), 0x600u);
  EXPECT_EQ(m.vm.D0, 0x205u);
  EXPECT_EQ(m.vm.D.lo, 1u);
  EXPECT_EQ(m.vm.PC, 0x400u);
  m.vm.carry = 1;
  load(std::string("RSCALL\n") + kStreams);
  step(1);
  EXPECT_EQ(m.vm.PC, 0x02E15u);
}

}  // namespace
}  // namespace tavrel::machine
