// 64-bit field arithmetic, DEFINE-FIELD, string classification and call 60.
#include "peripheral_test_machine.h"

namespace tavrel::machine {
namespace {

constexpr uint32_t kCode = 0x90000;  // where the nibbles after a call lie

class NativeArithmeticTest : public PeripheralTest {
 protected:
  // Runs field call n with the byte (field << 4) | (source << 2) | destination after it.
  void run(uint32_t n, uint32_t field, uint32_t source, uint32_t destination) {
    poke(kCode, (field << 4) | (source << 2) | destination, 2);
    EXPECT_EQ(callNative(m, n, kCode), kCode + 2);
  }
  static constexpr uint32_t kA = 0, kB = 1, kC = 2, kD = 3;
};

TEST_F(NativeArithmeticTest, AddOnFieldWWrapsModulo2To64) {
  m.vm.A = reg(0xFFFFFFFFFFFFFFFF);
  m.vm.B = reg(2);
  run(0x81, kFieldW, kB, kA);
  EXPECT_EQ(value64(m.vm.A), 1u);
  EXPECT_EQ(value64(m.vm.B), 2u);
}

TEST_F(NativeArithmeticTest, ResultStaysInsideTheFieldAndKeepsOtherNibbles) {
  m.vm.C = reg(0x1234567890ABCDEF);
  m.vm.D = reg(0x0000000000000FFF);
  run(0x81, kFieldX, kD, kC);  // X = nibbles 0-2: DEF + FFF = 1DEE, carry out dropped
  EXPECT_EQ(value64(m.vm.C), 0x1234567890ABCDEEu);
  m.vm.A = reg(0xA000000000000000);
  m.vm.B = reg(0x3000000000000000);
  run(0x82, kFieldS, kB, kA);  // S = nibble 15: A - 3 = 7
  EXPECT_EQ(value64(m.vm.A), 0x7000000000000000u);
}

TEST_F(NativeArithmeticTest, EachOperationOnFieldM) {
  struct Case {
    uint32_t call;
    uint64_t destination;
    uint64_t source;
    uint64_t result;
  };
  const Case cases[] = {
      {0x80, 5, 9, 9},
      {0x83, 6, 7, 42},
      {0x84, 100, 7, 14},
      {0x85, 100, 7, 2},
      {0x86, 0, 0x0F0, 0xFFFFFFFFFF0F},
      {0x87, 0, 1, 0xFFFFFFFFFFFF},
      {0x88, 3, 4, 0x30},
      {0x89, 0x30, 4, 3},
      {0x88, 3, 64, 0},
      {0x8A, 0xFF0, 0x0FF, 0xF0F},
  };
  for (const Case& c : cases) {
    m.vm.A = reg(0xF000000000000ABC | (c.destination << 12));
    m.vm.D = reg(c.source << 12);
    run(c.call, kFieldM, kD, kA);
    EXPECT_EQ(value64(m.vm.A), 0xF000000000000ABC | ((c.result << 12) & 0x0FFFFFFFFFFFF000))
        << std::hex << c.call;
  }
}

TEST_F(NativeArithmeticTest, DivisionAndRemainderByZeroLeaveTheDestination) {
  for (uint32_t call : {0x84u, 0x85u}) {
    m.vm.B = reg(0x1234);
    m.vm.C = reg(0xFFFF0000);
    run(call, kFieldB, kC, kB);
    EXPECT_EQ(value64(m.vm.B), 0x1234u);
  }
}

TEST_F(NativeArithmeticTest, FieldPFollowsP) {
  setP(m, 9);
  m.vm.A = reg(0x0000003000000000);
  m.vm.B = reg(0x0000004000000000);
  run(0x83, kFieldP, kA, kB);  // 3 * 4 = 12 in nibble 9
  EXPECT_EQ(value64(m.vm.B), 0x000000C000000000u);
}

TEST_F(NativeArithmeticTest, DefineFieldMakesAUserField) {
  poke(kCode, 8, 1);
  m.vm.C = reg(0x0000000000FF0000);
  EXPECT_EQ(callNative(m, 0x7F, kCode), kCode + 1);
  EXPECT_EQ(m.vm.carry, 0u);
  EXPECT_EQ(m.vm.fieldMask[8], 0x0000000000FF0000u);
  EXPECT_EQ(m.vm.fieldStart[8], 4u);
  EXPECT_EQ(m.vm.fieldLength[8], 2u);
  // The new field works in field arithmetic.
  m.vm.A = reg(0x0000000000120000);
  m.vm.B = reg(0x00000000000F0000);
  run(0x81, 8, kB, kA);
  EXPECT_EQ(value64(m.vm.A), 0x0000000000210000u);
}

TEST_F(NativeArithmeticTest, DefineFieldWithHolesSpansLowestToHighestNibble) {
  poke(kCode, 14, 1);
  m.vm.C = reg(0x0F0000000000F000);
  callNative(m, 0x7F, kCode);
  EXPECT_EQ(m.vm.fieldStart[14], 3u);
  EXPECT_EQ(m.vm.fieldLength[14], 12u);
}

TEST_F(NativeArithmeticTest, DefineFieldRejectsZeroMaskAndNonUserCodes) {
  const uint64_t wMask = m.vm.fieldMask[kFieldW];
  for (uint32_t code : {7u, 15u}) {
    poke(kCode, code, 1);
    m.vm.C = reg(0xFF);
    callNative(m, 0x7F, kCode);
    EXPECT_EQ(m.vm.carry, 1u);
  }
  EXPECT_EQ(m.vm.fieldMask[kFieldW], wMask);
  poke(kCode, 9, 1);
  m.vm.C = reg(0);
  callNative(m, 0x7F, kCode);
  EXPECT_EQ(m.vm.carry, 1u);
  EXPECT_EQ(m.vm.fieldMask[9], 0u);
}

TEST_F(NativeArithmeticTest, StringClassification) {
  const std::pair<char, uint32_t> classes[] = {{'H', 0}, {'0', 1}, {'R', 1}, {'1', 2}, {'E', 2},
                                               {'2', 3}, {'F', 3}, {'3', 4}, {'S', 4}};
  for (auto [ch, result] : classes) {
    m.vm.D1 = 0x90100;
    pokeByte(0x90100, 6);
    pokeByte(0x90102, static_cast<uint8_t>(ch));
    m.vm.A = reg(0xFFFFFFFFFFFFFFFF);
    callNative(m, 0x61, kCode);
    EXPECT_EQ(m.vm.carry, 0u) << ch;
    EXPECT_EQ(value64(m.vm.A), 0xFFFFFFFFFFF00000 | result) << ch;
    EXPECT_EQ(m.vm.D1, 0x90100u + 14) << ch;
  }
}

TEST_F(NativeArithmeticTest, UnknownCharacterSetsCarryAndChangesNothing) {
  m.vm.D1 = 0x90100;
  pokeByte(0x90100, 6);
  pokeByte(0x90102, 'h');
  m.vm.A = reg(77);
  callNative(m, 0x61, kCode);
  EXPECT_EQ(m.vm.carry, 1u);
  EXPECT_EQ(m.vm.D1, 0x90100u);
  EXPECT_EQ(value64(m.vm.A), 77u);
}

TEST_F(NativeArithmeticTest, Call60DependsOnP) {
  m.vm.A = reg(0x1111111122222222);
  m.vm.B = reg(0x3333333344444444);
  setP(m, 8);
  callNative(m, 0x60, kCode);
  EXPECT_EQ(value64(m.vm.A), 0x1111111100000000u);
  EXPECT_EQ(value64(m.vm.B), 0x3333333344444444u);
  EXPECT_EQ(m.vm.carry, 1u);
  EXPECT_EQ(m.vm.P, 0u);
  setP(m, 12);
  callNative(m, 0x60, kCode);
  EXPECT_EQ(value64(m.vm.B), 0x33333333FFFFFFFFu);
}

}  // namespace
}  // namespace tavrel::machine
