// Native calls for runstream steps, block moves and memory allocation.
#include "peripheral_test_machine.h"

namespace tavrel::machine {
namespace {

constexpr uint32_t kResume = 0x12345;

class NativeMemoryTest : public PeripheralTest {
 protected:
  void fillCounting(uint32_t address, int count, uint32_t first) {
    for (int i = 0; i < count; ++i)
      poke(address + i, (first + i) & 0xF, 1);
  }
  void expectCounting(uint32_t address, int count, uint32_t first) {
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(peek(address + i, 1), (first + i) & 0xF) << "nibble " << i;
    }
  }
};

TEST_F(NativeMemoryTest, RunstreamStepLoadsAAndJumpsThroughIt) {
  m.vm.D0 = 0x90000;
  poke(0x90000, 0x91234, 5);
  poke(0x91234, 0x0ABCD, 5);
  m.vm.A = reg(0xFFFFFFFFFFF00000);
  EXPECT_EQ(callNative(m, 0x00, kResume), 0x0ABCDu);
  EXPECT_EQ(value64(m.vm.A), 0xFFFFFFFFFFF91234u);
  EXPECT_EQ(m.vm.D0, 0x90005u);
}

TEST_F(NativeMemoryTest, CountedPushEndsWhenDRunsOut) {
  m.vm.D = reg(0);
  m.vm.D1 = 0x90100;
  EXPECT_EQ(callNative(m, 0x03, kResume), 0x03A9Bu);
  EXPECT_EQ(m.vm.D.lo, 0xFFFFFFFFu);
  EXPECT_EQ(m.vm.D1, 0x90100u);
}

TEST_F(NativeMemoryTest, CountedPushWritesAAndSteps) {
  m.vm.D = reg(3);
  m.vm.D1 = 0x90100;
  m.vm.A = reg(0x54321);
  m.vm.D0 = 0x90200;
  poke(0x90200, 0x90300, 5);
  poke(0x90300, 0x01111, 5);
  EXPECT_EQ(callNative(m, 0x03, kResume), 0x01111u);
  EXPECT_EQ(m.vm.D.lo, 2u);
  EXPECT_EQ(m.vm.D1, 0x900FBu);
  EXPECT_EQ(peek(0x900FB, 5), 0x54321u);
  EXPECT_EQ(m.vm.A.lo & 0xFFFFF, 0x90300u);
}

TEST_F(NativeMemoryTest, Call04PushesItsOwnAddress) {
  m.vm.D = reg(1);
  m.vm.D1 = 0x90100;
  m.vm.D0 = 0x90200;
  poke(0x90200, 0x90300, 5);
  setP(m, 7);
  callNative(m, 0x04, kResume);
  EXPECT_EQ(peek(0x900FB, 5), 0x03AC0u);
  EXPECT_EQ(m.vm.P, 0u);
}

TEST_F(NativeMemoryTest, SystemAreaCalls) {
  m.vm.D0 = 0x90000;
  m.vm.C = reg(0x00000000000C0542);  // byte 0x42, nibble 2 = 5
  poke(0x80E42, 0x6, 1);
  EXPECT_EQ(callNative(m, 0x01, kResume), kResume);
  EXPECT_EQ(m.vm.A.lo & 0xFFFFF, 0x90000u);
  EXPECT_EQ(m.vm.D0, 0x80E42u);
  EXPECT_EQ((m.vm.C.lo >> 20) & 0xF, 5u);
  EXPECT_EQ(m.vm.P, 5u);
  callNative(m, 0x02, kResume);
  EXPECT_EQ(m.vm.carry, 0x6u & 0x5u);
}

TEST_F(NativeMemoryTest, MoveUpAdvancesBothPointers) {
  fillCounting(0x90000, 37, 1);
  m.vm.D0 = 0x90000;
  m.vm.D1 = 0x91000;
  m.vm.C = reg(37);
  m.vm.carry = 1;
  callNative(m, 0x06, kResume);
  expectCounting(0x91000, 37, 1);
  EXPECT_EQ(m.vm.D0, 0x90025u);
  EXPECT_EQ(m.vm.D1, 0x91025u);
  EXPECT_EQ(m.vm.carry, 0u);
}

TEST_F(NativeMemoryTest, MoveUpOntoAnOverlapBelowTheSource) {
  fillCounting(0x90010, 40, 3);
  m.vm.D0 = 0x90010;
  m.vm.D1 = 0x90003;  // destination below, overlapping
  m.vm.C = reg(40);
  callNative(m, 0x06, kResume);
  expectCounting(0x90003, 40, 3);
}

TEST_F(NativeMemoryTest, MoveDownOntoAnOverlapAboveTheSource) {
  fillCounting(0x90000, 45, 7);
  m.vm.D0 = 0x90000 + 45;  // the block ends below D0
  m.vm.D1 = 0x90000 + 45 + 9;
  m.vm.C = reg(45);
  callNative(m, 0x07, kResume);
  expectCounting(0x90009, 45, 7);
  EXPECT_EQ(m.vm.D0, 0x90000u);
  EXPECT_EQ(m.vm.D1, 0x90009u);
}

TEST_F(NativeMemoryTest, MoveOfZeroNibblesChangesNothing) {
  poke(0x91000, 0xA, 1);
  m.vm.D0 = 0x90000;
  m.vm.D1 = 0x91000;
  m.vm.C = reg(0);
  callNative(m, 0x06, kResume);
  EXPECT_EQ(peek(0x91000, 1), 0xAu);
  EXPECT_EQ(m.vm.D1, 0x91000u);
}

class AllocationTest : public NativeMemoryTest {
 protected:
  static constexpr uint32_t kTop = 0x90100;
  static constexpr uint32_t kBase = 0x90200;
  static constexpr uint32_t kLimit = 0x90300;
  void SetUp() override {
    poke(0x806EE, kTop, 5);
    poke(0x806F3, kBase, 5);
    poke(0x806F8, kLimit, 5);
    fillCounting(kTop, kBase - kTop, 0);
  }
};

TEST_F(AllocationTest, OpensAGapAtTheTopOfTheFreeArea) {
  m.vm.C = reg(0x14);  // 20 nibbles, 26 with the overhead
  setP(m, 3);
  callNative(m, 0x08, kResume);
  EXPECT_EQ(m.vm.carry, 0u);
  EXPECT_EQ(m.vm.D0, kTop + 1);
  EXPECT_EQ(m.vm.D1, kTop + 1 + 0x14);
  EXPECT_EQ(m.vm.B.lo & 0xFFFFF, 26u);
  EXPECT_EQ(m.vm.C.lo & 0xFFFFF, 26u);
  EXPECT_EQ(m.vm.P, 0u);
  EXPECT_EQ(peek(0x806EE, 5), kTop + 26);
  EXPECT_EQ(peek(0x806F3, 5), kBase + 26);
  EXPECT_EQ(peek(0x80E9B, 5), (kLimit - kBase - 26) / 5);
  expectCounting(kTop + 26, kBase - kTop, 0);  // the used block moved up whole
  EXPECT_EQ(peek(kTop + 26 - 5, 5), 26u);      // size stored just below the new top
}

TEST_F(AllocationTest, FailsWhenTheRequestDoesNotFit) {
  m.vm.C = reg(kLimit - kBase - 5);  // one nibble too many with the overhead
  callNative(m, 0x08, kResume);
  EXPECT_EQ(m.vm.carry, 1u);
  EXPECT_EQ(peek(0x806EE, 5), kTop);
  EXPECT_EQ(m.vm.C.lo & 0xFFFFF, kLimit - kBase + 1);
  m.vm.C = reg(kLimit - kBase - 6);  // exactly fits
  callNative(m, 0x08, kResume);
  EXPECT_EQ(m.vm.carry, 0u);
  EXPECT_EQ(peek(0x80E9B, 5), 0u);
}

TEST_F(AllocationTest, FailsForHugeRequestsAndDamagedPointers) {
  m.vm.C = reg(0x80000);
  callNative(m, 0x08, kResume);
  EXPECT_EQ(m.vm.carry, 1u);
  poke(0x806F8, kBase - 0x10, 5);  // limit below base
  m.vm.C = reg(1);
  callNative(m, 0x08, kResume);
  EXPECT_EQ(m.vm.carry, 1u);
  expectCounting(kTop, kBase - kTop, 0);
}

TEST_F(NativeMemoryTest, SystemDataCallWritesZeros) {
  poke(0x90000, 0xFFFFF, 5);
  m.vm.D1 = 0x90000;
  callNative(m, 0x17, kResume);
  EXPECT_EQ(peek(0x90000, 5), 0u);
}

}  // namespace
}  // namespace tavrel::machine
