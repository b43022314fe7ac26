// What the firmware shows and how it sleeps: header clock, menu, annunciators, the link keys.
#include <gtest/gtest.h>

#include "DemoCalculator.h"
#include "VendelMachine.h"

namespace tavrel::firmware_test {
namespace {

TEST(Screen, BootShowsTheStackScreenAndSleeps) {
  DemoCalculator calc;
  EXPECT_TRUE(calc.asleep());
  EXPECT_EQ(calc.row(0), "RPN          2026-01-01 00:00:00") << calc.lcdArt();
  EXPECT_EQ(calc.row(8), "DROP SWAP  STAT CLR   LINK UNLK");
  EXPECT_EQ(calc.row(6), "1:");
}

TEST(Screen, AKeyCostsFewInstructionsBeforeSleepingAgain) {
  DemoCalculator calc;
  calc.keyDown(key::digit(4));
  EXPECT_TRUE(calc.asleep());
  EXPECT_LT(calc.lastRunLength(), 20'000u);
  const uint64_t before = calc.lastRunLength();
  calc.keyUp(key::digit(4));  // nothing to do: the firmware is not woken
  EXPECT_EQ(calc.lastRunLength(), before);
}

TEST(Screen, ClockAdvancesWithTheTimer) {
  DemoCalculator calc;
  calc.advanceSeconds(3661);
  EXPECT_EQ(calc.row(0), "RPN          2026-01-01 01:01:01");
  calc.advanceSeconds(86400 * 59);
  EXPECT_EQ(calc.row(0).substr(13), "2026-03-01 01:01:01");
}

TEST(Screen, ShiftAndAlphaLatchShowOnTheAnnunciators) {
  DemoCalculator calc;
  EXPECT_FALSE(calc.annunciator(1));
  calc.press(key::kShift);
  EXPECT_TRUE(calc.annunciator(1));
  EXPECT_FALSE(calc.annunciator(5));  // busy is off while idle
  calc.type("5");
  EXPECT_FALSE(calc.annunciator(1));  // used up by the next key
  calc.press(key::kAlpha);
  EXPECT_TRUE(calc.annunciator(3));
  calc.press(key::kAlpha);
  EXPECT_FALSE(calc.annunciator(3));
}

TEST(Screen, ShiftedBackspaceClearsTheStack) {
  DemoCalculator calc;
  calc.type("1 2 ");
  calc.press(key::kShift);
  calc.press(key::kBackspace);
  EXPECT_EQ(calc.row(5), "2:");
  EXPECT_EQ(calc.row(6), "1:");
}

TEST(Screen, HeldShiftModifiesTheKey) {
  DemoCalculator calc;
  calc.type("1 2 ");
  calc.keyDown(key::kShift);
  calc.press(key::kBackspace);
  calc.keyUp(key::kShift);
  EXPECT_EQ(calc.row(6), "1:");
  EXPECT_FALSE(calc.annunciator(1));
}

TEST(Screen, OnCancelsTheEntry) {
  DemoCalculator calc;
  calc.type("123");
  calc.keyDown(key::kOn);
  calc.keyUp(key::kOn);
  EXPECT_EQ(calc.row(7), "");
}

TEST(Screen, LinkKeysReportWhatTheHostOffers) {
  DemoCalculator calc;
  calc.press(key::kF5);
  EXPECT_EQ(calc.row(1), "NO LINK AVAILABLE");
  calc.press(key::kF6);
  EXPECT_EQ(calc.row(1), "LINK CLOSED");
}

}  // namespace
}  // namespace tavrel::firmware_test
