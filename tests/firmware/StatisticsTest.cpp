// The STAT screen and the statistics folio in the layout the exporter reads.
#include <gtest/gtest.h>

#include "CalculatorRamView.h"
#include "DemoCalculator.h"
#include "Memory.h"
#include "ObjectWalker.h"

namespace tavrel::firmware_test {
namespace {

constexpr uint32_t kXlibProlog = 0x02E92;
constexpr uint32_t kListProlog = 0x02A74;

std::vector<Variable> folio(DemoCalculator& calc) {
  return directoryVariables(calc.machine(), machine::read5(calc.machine(), kFolioPointer));
}

TEST(Statistics, EmptyFolioIsThereFromTheStart) {
  DemoCalculator calc;
  const std::vector<Variable> vars = folio(calc);
  ASSERT_EQ(vars.size(), 63u);
  // The first variable's value is the list { XLIB 130F1 }.
  const uint32_t tag = vars[0].value;
  EXPECT_EQ(prologAt(calc.machine(), tag), kListProlog);
  EXPECT_EQ(prologAt(calc.machine(), tag + 5), kXlibProlog);
  EXPECT_EQ(machine::readNibbles(calc.machine(), tag + 10, 6), 0x130F1u);
  EXPECT_TRUE(realArray(calc.machine(), vars[56].value).empty());
  EXPECT_TRUE(realArray(calc.machine(), vars[55].value).empty());
}

TEST(Statistics, EntriesFillTheColumnsInTurn) {
  DemoCalculator calc;
  calc.press(key::kF3);
  EXPECT_EQ(calc.row(0).substr(0, 4), "STAT");
  calc.type("1.5 2 3 ");
  EXPECT_EQ(calc.row(2), "N=003");
  EXPECT_EQ(calc.row(6), "X:                             3") << calc.lcdArt();
  EXPECT_EQ(calc.row(5), "Y:                             2");
  const std::vector<Variable> vars = folio(calc);
  ASSERT_EQ(vars.size(), 63u);
  // Column 1 is the variable 6 places from the end of the chain (memory index 56).
  EXPECT_EQ(realArray(calc.machine(), vars[56].value),
            (std::vector<Real>{realOf("1.5"), realOf("3")}));
  EXPECT_EQ(realArray(calc.machine(), vars[55].value), (std::vector<Real>{realOf("2")}));
  // The stack is untouched by statistics entries.
  EXPECT_EQ(stackDepth(calc.machine(), 0x8F000), 0);
}

TEST(Statistics, ClearEmptiesTheColumns) {
  DemoCalculator calc;
  calc.press(key::kF3);
  calc.type("4 5 ");
  calc.press(key::kF4);
  EXPECT_EQ(calc.row(2), "N=000");
  EXPECT_TRUE(realArray(calc.machine(), folio(calc)[56].value).empty());
  calc.press(key::kF3);
  EXPECT_EQ(calc.row(0).substr(0, 3), "RPN");
}

// The folio export sizes the object at FOLIOPTR with the object walker: it must cover the
// whole directory, whose last variable (in memory order) holds a binary integer.
TEST(Statistics, ObjectWalkerSizesTheWholeFolio) {
  DemoCalculator calc;
  calc.press(key::kF3);
  calc.type("1 2 3 ");
  const machine::Machine& m = calc.machine();
  const uint32_t start = machine::read5(m, kFolioPointer);
  const uint32_t end = folio(calc).back().value + 10;
  EXPECT_EQ(machine::objectSize(m, machine::hostNibblePosition(m, start),
                                machine::hostNibblePosition(m, 0xFFFFF)),
            end - start);
}

}  // namespace
}  // namespace tavrel::firmware_test
