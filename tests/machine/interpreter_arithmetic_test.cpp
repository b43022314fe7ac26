// Arithmetic, logic and shift groups (0E, 81x, A, B, C-F) in both arithmetic modes.
#include <gtest/gtest.h>

#include <string>

#include "interpreter_test_machine.h"

namespace tavrel::machine {
namespace {

struct ArithmeticCase {
  const char* name;
  bool decimal;
  uint64_t a, b;
  const char* program;  // runs with P = 0, followed by SHUTDN
  uint64_t expectA;
  uint32_t expectCarry;
};

class Arithmetic : public InterpreterTest, public ::testing::WithParamInterface<ArithmeticCase> {};

TEST_P(Arithmetic, GivesTheDigitsAndCarry) {
  const ArithmeticCase& c = GetParam();
  m.vm.A = reg(c.a);
  m.vm.B = reg(c.b);
  m.vm.carry = 7;  // every case must set it
  const std::string program =
      std::string(c.decimal ? "SETDEC\n" : "SETHEX\n") + c.program + "\nSHUTDN";
  const StepResult r = run(program);
  ASSERT_TRUE(r.atShutdown);
  EXPECT_EQ(value(m.vm.A), c.expectA) << std::hex << value(m.vm.A);
  EXPECT_EQ(m.vm.carry != 0, c.expectCarry != 0);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, Arithmetic,
    ::testing::Values(
        // Hexadecimal.
        ArithmeticCase{"HexAddFieldA", false, 0xAAAAAAAAAAAFFFFFull, 1, "A=A+B A",
                       0xAAAAAAAAAAA00000ull, 1},
        ArithmeticCase{"HexAddWordWraps", false, ~0ull, 2, "A=A+B W", 1, 1},
        ArithmeticCase{"HexAddNoCarry", false, 0x10, 0x20, "A=A+B B", 0x30, 0},
        ArithmeticCase{"HexDecrementFromZero", false, 0x1234500000ull, 0, "A=A-1 A",
                       0x12345FFFFFull, 1},
        ArithmeticCase{"HexIncrementToZero", false, 0xFFF, 0, "A=A+1 X", 0, 1},
        ArithmeticCase{"HexSubtractBorrow", false, 0x05, 0x07, "A=A-B B", 0xFE, 1},
        ArithmeticCase{"HexReverseSubtract", false, 0x05, 0x07, "A=B-A B", 0x02, 0},
        ArithmeticCase{"HexDoubleCarriesBit19", false, 0x80000, 0, "A=A+A A", 0, 1},
        ArithmeticCase{"HexNegateNonZero", false, 0x1, 0, "A=-A X", 0xFFF, 1},
        ArithmeticCase{"HexNegateZero", false, 0x0, 0, "A=-A X", 0, 0},
        ArithmeticCase{"HexComplementClearsCarry", false, 0x0F0, 0, "A=-A-1 X", 0xF0F, 0},
        ArithmeticCase{"HexFieldM", false, 0x0FFFFFFFFFFFF000ull, 0x1000, "A=A+B M", 0, 1},
        ArithmeticCase{"HexFieldS", false, 0x9000000000000000ull, 0x8000000000000000ull, "A=A+B S",
                       0x1000000000000000ull, 1},
        // Decimal, digit by digit.
        ArithmeticCase{"DecimalAddNoCarry", true, 0x00099, 0x00001, "A=A+B A", 0x00100, 0},
        ArithmeticCase{"DecimalAddCarryOut", true, 0x99999, 0x00001, "A=A+B A", 0x00000, 1},
        ArithmeticCase{"DecimalDigitAboveNine", true, 0xA, 0x0, "A=A+B P", 0x2, 0},
        ArithmeticCase{"DecimalDigitFPlusF", true, 0xF, 0xF, "A=A+B P", 0xC, 1},
        ArithmeticCase{"DecimalNineRuleNotApplied", true, 0x9, 0xF, "A=A+B P", 0xE, 1},
        ArithmeticCase{"DecimalSubtractBorrow", true, 0x00, 0x01, "A=A-B B", 0x99, 1},
        ArithmeticCase{"DecimalSubtractPlusEighteen", true, 0x0, 0xF, "A=A-B P", 0x3, 1},
        ArithmeticCase{"DecimalSubtractHexDigit", true, 0xC, 0x1, "A=A-B P", 0xB, 0},
        ArithmeticCase{"DecimalIncrementCarries", true, 0x0999, 0, "A=A+1 X", 0x000, 1},
        ArithmeticCase{"DecimalIncrementHighDigitAboveNine", true, 0xB09, 0, "A=A+1 X", 0x310, 0},
        ArithmeticCase{"DecimalDecrementBorrows", true, 0x100, 0, "A=A-1 X", 0x099, 0},
        ArithmeticCase{"DecimalNegate", true, 0x001, 0, "A=-A X", 0x999, 1},
        ArithmeticCase{"DecimalNegateZero", true, 0x000, 0, "A=-A X", 0x000, 0},
        ArithmeticCase{"DecimalComplement", true, 0x123, 0, "A=-A-1 X", 0x876, 0},
        ArithmeticCase{"DecimalComplementHexDigit", true, 0x00A, 0, "A=-A-1 X", 0x989, 0},
        // Binary in both modes.
        ArithmeticCase{"ConstantSixteenOnOneNibble", true, 0x7, 0, "A=A+CON P,16", 0x7, 1},
        ArithmeticCase{"ConstantSubtractSixteen", false, 0x70, 0, "P= 1\nA=A-CON P,16", 0x70, 1},
        ArithmeticCase{"ConstantAddBinaryInDecimal", true, 0x09, 0, "A=A+CON B,1", 0x0A, 0}),
    [](const auto& info) { return std::string(info.param.name); });

using Registers = InterpreterTest;

TEST_F(Registers, LogicalOperationsOverAnyField) {
  m.vm.A = reg(0xFF00FF00FF00FF00ull);
  m.vm.B = reg(0x0F0F0F0F0F0F0F0Full);
  m.vm.C = reg(0x1111111111111111ull);
  run("A=A&B W\nC=C!A X\nSHUTDN");
  EXPECT_EQ(value(m.vm.A), 0x0F000F000F000F00ull);
  EXPECT_EQ(value(m.vm.C), 0x1111111111111F11ull);
}

TEST_F(Registers, CopyClearAndExchangeTouchOnlyTheField) {
  m.vm.A = reg(0x1111111111111111ull);
  m.vm.B = reg(0x2222222222222222ull);
  m.vm.D = reg(0x4444444444444444ull);
  run("ABEX X\nD=0 A\nSHUTDN");
  EXPECT_EQ(value(m.vm.A), 0x1111111111111222ull);
  EXPECT_EQ(value(m.vm.B), 0x2222222222222111ull);
  EXPECT_EQ(value(m.vm.D), 0x4444444444400000ull);
}

TEST_F(Registers, NibbleShiftsSetSbWhenANonZeroNibbleIsLost) {
  m.vm.A = reg(0x0000000000000A12ull);
  run("ASL X\nSHUTDN");
  EXPECT_EQ(value(m.vm.A), 0x120u);
  EXPECT_EQ(m.vm.HST & 2, 2u);
  m.vm.HST = 0;
  m.vm.A = reg(0x120);
  run("ASR X\nSHUTDN");
  EXPECT_EQ(value(m.vm.A), 0x012u);
  EXPECT_EQ(m.vm.HST & 2, 0u);
}

TEST_F(Registers, BitShiftsAndRotations) {
  m.vm.A = reg(0x8000000000000003ull);
  m.vm.C = reg(0x0000000000000013ull);
  m.vm.D = reg(0x123456789ABCDEF0ull);
  run("ASRB\nCSRB.F B\nDSLC\nSHUTDN");
  EXPECT_EQ(value(m.vm.A), 0x4000000000000001ull);
  EXPECT_EQ(value(m.vm.C), 0x09u);
  EXPECT_EQ(m.vm.HST & 2, 2u);
  EXPECT_EQ(value(m.vm.D), 0x23456789ABCDEF01ull);
}

TEST_F(Registers, CircularShiftLeavesSbAlone) {
  m.vm.B = reg(0xF000000000000000ull);
  run("BSLC\nBSRC\nBSRC\nSHUTDN");
  EXPECT_EQ(value(m.vm.B), 0x0F00000000000000ull);
  EXPECT_EQ(m.vm.HST, 0u);
}

TEST_F(Registers, CPlusPPlusOneIsBinaryOverFieldA) {
  m.vm.C = reg(0xABCDE00009ull);
  run("SETDEC\nP= 3\nC+P+1\nSHUTDN");
  EXPECT_EQ(value(m.vm.C), 0xABCDE0000Dull);
  EXPECT_EQ(m.vm.carry, 0u);
}

TEST_F(Registers, ScratchRegistersWholeAndOverAField) {
  m.vm.A = reg(0x1111111111111111ull);
  m.vm.C = reg(0x3333333333333333ull);
  run("R2=A\nR4=C.F X\nCR2EX\nSHUTDN");
  EXPECT_EQ(value(m.vm.R4), 0x333u);
  EXPECT_EQ(value(m.vm.R2), 0x3333333333333333ull);
  EXPECT_EQ(value(m.vm.C), 0x1111111111111111ull);
}

TEST_F(Registers, PointerMovesKeepTheOtherBits) {
  m.vm.A = reg(0xFFFFFFFFFFF12345ull);
  m.vm.D0 = 0xABCDE;
  run("AD0EX\nD1=AS\nSHUTDN");
  EXPECT_EQ(m.vm.D0, 0x12345u);
  EXPECT_EQ(value(m.vm.A), 0xFFFFFFFFFFFABCDEull);
  EXPECT_EQ(m.vm.D1, 0x0BCDEu);
}

TEST_F(Registers, StatusBits) {
  m.vm.ST = 0xF00F;
  m.vm.C = reg(0xABC);
  run("CSTEX\nST=1 4\nCLRST\nST=1 1\nSHUTDN");
  EXPECT_EQ(m.vm.ST, 0xF002u);
  EXPECT_EQ(value(m.vm.C), 0x00Fu);
}

}  // namespace
}  // namespace tavrel::machine
