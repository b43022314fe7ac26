// Entry and the four operations, checked on the real objects in RAM and on the LCD.
#include <gtest/gtest.h>

#include "CalculatorRamView.h"
#include "DemoCalculator.h"

namespace tavrel::firmware_test {
namespace {

constexpr uint32_t kStackBottom = 0x8F000;

class Arithmetic : public ::testing::Test {
 protected:
  Real level(int n) { return levelReal(calc.machine(), n); }
  int depth() { return stackDepth(calc.machine(), kStackBottom); }
  DemoCalculator calc;
};

TEST_F(Arithmetic, TwelvePlusThirtyFourIsFortySix) {
  calc.type("12 34+");
  EXPECT_EQ(depth(), 1);
  EXPECT_EQ(level(1), realOf("46"));
  EXPECT_EQ(calc.row(6), "1:                            46") << calc.lcdArt();
}

TEST_F(Arithmetic, DivisionGivesAFraction) {
  calc.type("1.5 3/");
  EXPECT_EQ(level(1), realOf("0.5"));
  EXPECT_EQ(calc.row(6), "1:                           0.5");
}

TEST_F(Arithmetic, SubtractionAcrossZeroIsNegative) {
  calc.type("3 5-");
  EXPECT_EQ(level(1), realOf("-2"));
  EXPECT_EQ(calc.row(6).substr(28), "  -2");
}

TEST_F(Arithmetic, MultiplicationCarriesIntoTheNextDecade) {
  calc.type("2.5 4*");
  EXPECT_EQ(level(1), realOf("10"));
  calc.type("123456789012 1000*");
  EXPECT_EQ(level(1), realOf("1.23456789012E14"));
  EXPECT_EQ(calc.row(6).substr(16), "1.23456789012E14");
}

TEST_F(Arithmetic, AdditionAlignsExponentsAndRounds) {
  calc.type("1E12 1+");
  EXPECT_EQ(level(1), realOf("1000000000001"));  // 13 digits: rounded to 12
  EXPECT_EQ(level(1), realOf("1.00000000000E12"));
  calc.type("0.001 999.999+");
  EXPECT_EQ(level(1), realOf("1000"));
}

TEST_F(Arithmetic, ThirdIsRoundedToTwelveDigits) {
  calc.type("2 3/");
  EXPECT_EQ(level(1), realOf("0.666666666667"));
  EXPECT_EQ(calc.row(6).substr(18), "0.666666666667");
}

TEST_F(Arithmetic, EntryWithNegativeExponent) {
  calc.type("1.5E3~ ");
  EXPECT_EQ(level(1), realOf("0.0015"));
  EXPECT_EQ(calc.row(6).substr(24), "  0.0015");
  calc.type("2.5E20~ ");
  EXPECT_EQ(level(1), realOf("2.5E-20"));
  EXPECT_EQ(calc.row(6).substr(24), " 2.5E-20");
}

TEST_F(Arithmetic, SignOfTheMantissaIsTypedAtAnyTime) {
  calc.type("7~E2 ");
  EXPECT_EQ(level(1), realOf("-700"));
  EXPECT_EQ(calc.row(6).substr(28), "-700");
}

TEST_F(Arithmetic, ExponentOverflowIsAnError) {
  calc.type("1E400 1E400*");
  EXPECT_EQ(calc.row(1), "OVERFLOW");
  EXPECT_EQ(depth(), 2);
}

TEST_F(Arithmetic, DivisionByZeroShowsAnErrorAndKeepsTheStack) {
  calc.type("5 0/");
  EXPECT_EQ(calc.row(1), "DIVIDE BY ZERO") << calc.lcdArt();
  ASSERT_EQ(depth(), 2);
  EXPECT_EQ(level(2), realOf("5"));
  EXPECT_EQ(level(1), realOf("0"));
  calc.press(key::kEnter);  // the next key clears the message
  EXPECT_EQ(calc.row(1), "");
}

TEST_F(Arithmetic, OperationOnAnEmptyStackNeedsArguments) {
  calc.press(key::kPlus);
  EXPECT_EQ(calc.row(1), "TOO FEW ARGUMENTS");
  EXPECT_EQ(depth(), 0);
}

}  // namespace
}  // namespace tavrel::firmware_test
