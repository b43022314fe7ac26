// The data stack shared with the object transfer: levels, SWAP, DROP, DUP, memory
// accounting and objects placed by the host.
#include <gtest/gtest.h>

#include "CalculatorRamView.h"
#include "DemoCalculator.h"
#include "Memory.h"

namespace tavrel::firmware_test {
namespace {

constexpr uint32_t kStackBottom = 0x8F000;
constexpr uint32_t kTempBase = 0x82000;

class Stack : public ::testing::Test {
 protected:
  int depth() { return stackDepth(calc.machine(), kStackBottom); }
  uint32_t read5(uint32_t a) { return machine::read5(calc.machine(), a); }
  DemoCalculator calc;
};

TEST_F(Stack, StartsEmptyWithTheFreeMemoryCounted) {
  EXPECT_EQ(depth(), 0);
  EXPECT_EQ(read5(kTopPointer), kTempBase);
  EXPECT_EQ(read5(kFreePointer), kTempBase);
  EXPECT_EQ(read5(kFreeCount), (kStackBottom - kTempBase) / 5);
}

TEST_F(Stack, SwapAndDropReorderTheLevels) {
  calc.type("1 2 3");
  calc.press(key::kEnter);
  calc.press(key::kF2);  // SWAP
  EXPECT_EQ(levelReal(calc.machine(), 1), realOf("2"));
  EXPECT_EQ(levelReal(calc.machine(), 2), realOf("3"));
  EXPECT_EQ(calc.row(5), "2:                             3");
  calc.press(key::kF1);  // DROP
  EXPECT_EQ(depth(), 2);
  EXPECT_EQ(levelReal(calc.machine(), 1), realOf("3"));
  EXPECT_EQ(levelReal(calc.machine(), 2), realOf("1"));
  EXPECT_EQ(calc.row(4), "3:");
}

TEST_F(Stack, ShowsFiveLevels) {
  calc.type("1 2 3 4 5 6 ");
  EXPECT_EQ(depth(), 6);
  for (int level = 1; level <= 5; ++level) {
    const std::string row = calc.row(7 - level);
    EXPECT_EQ(row.substr(0, 2), std::to_string(level) + ":");
    EXPECT_EQ(row.back(), static_cast<char>('7' - level));
  }
}

TEST_F(Stack, EnterWithoutEntryDuplicates) {
  calc.type("8 ");
  calc.press(key::kEnter);
  EXPECT_EQ(depth(), 2);
  EXPECT_EQ(levelObject(calc.machine(), 1), levelObject(calc.machine(), 2));
}

TEST_F(Stack, DroppedObjectsGiveTheirMemoryBack) {
  calc.type("1 2+");
  calc.press(key::kF1);
  EXPECT_EQ(depth(), 0);
  EXPECT_EQ(read5(kTopPointer), kTempBase);
  EXPECT_EQ(read5(kFreeCount), (kStackBottom - kTempBase) / 5);
}

TEST_F(Stack, BackspaceEditsTheEntryThenDrops) {
  calc.type("12");
  EXPECT_EQ(calc.row(7), "12_");
  calc.press(key::kBackspace);
  EXPECT_EQ(calc.row(7), "1_");
  calc.type(" ");
  calc.press(key::kBackspace);
  EXPECT_EQ(depth(), 0);
}

TEST_F(Stack, EntryTakesOnePointAndThreeExponentDigits) {
  calc.type("1.2.3E1234");
  EXPECT_EQ(calc.row(7), "1.23E123_");
  calc.type(" ");
  EXPECT_EQ(levelReal(calc.machine(), 1), realOf("1.23E123"));
  calc.type("5E12~3");
  EXPECT_EQ(calc.row(7), "5E-123_");
  calc.press(key::kNeg);
  EXPECT_EQ(calc.row(7), "5E123_");
}

TEST_F(Stack, StringPlacedByTheHostShowsAfterOn) {
  calc.type("7 ");
  pushString(calc.machine(), "Hello");
  calc.keyDown(key::kOn);
  calc.keyUp(key::kOn);
  EXPECT_EQ(depth(), 2);
  EXPECT_EQ(calc.row(6), "1:                       \"HELLO\"") << calc.lcdArt();
  EXPECT_EQ(calc.row(5).back(), '7');
  // Arithmetic refuses it and leaves it where it is.
  calc.press(key::kPlus);
  EXPECT_EQ(calc.row(1), "BAD ARGUMENT TYPE");
  EXPECT_EQ(prologAt(calc.machine(), levelObject(calc.machine(), 1)), kStringProlog);
}

TEST_F(Stack, StringObjectsAreFreedWhenDropped) {
  pushString(calc.machine(), "abc");
  calc.keyDown(key::kOn);
  calc.keyUp(key::kOn);
  calc.press(key::kF1);
  EXPECT_EQ(depth(), 0);
  EXPECT_EQ(read5(kTopPointer), kTempBase);
}

}  // namespace
}  // namespace tavrel::firmware_test
