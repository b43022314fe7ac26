// Annunciator byte and contrast steps.
#include "Display.h"
#include "peripheral_test_machine.h"

namespace tavrel::machine {
namespace {

class DisplayRegistersTest : public PeripheralTest {
 protected:
  bool annunciatorShown(int line) const {
    return (m.lcd.bytes[kLcdLineBytes * line + 16] & kAnnunciatorBit) != 0;
  }
};

TEST_F(DisplayRegistersTest, AnnunciatorBitsGoToLinesZeroToFiveInOrderFiveThenZeroToFour) {
  setAnnunciators(m, 0x20 | 0x04);  // bit 5 -> line 0, bit 2 -> line 3
  EXPECT_EQ(m.vm.annunciators, 0x24);
  EXPECT_TRUE(annunciatorShown(0));
  EXPECT_FALSE(annunciatorShown(1));
  EXPECT_FALSE(annunciatorShown(2));
  EXPECT_TRUE(annunciatorShown(3));
  EXPECT_FALSE(annunciatorShown(5));
  setAnnunciators(m, 0x10);  // bit 4 -> line 5
  EXPECT_FALSE(annunciatorShown(0));
  EXPECT_TRUE(annunciatorShown(5));
}

TEST_F(DisplayRegistersTest, ByteWithOnlyBitSevenClearsAllSix) {
  setAnnunciators(m, 0x3F);
  for (int l = 0; l < 6; ++l)
    ASSERT_TRUE(annunciatorShown(l));
  setAnnunciators(m, 0x80);
  for (int l = 0; l < 6; ++l)
    EXPECT_FALSE(annunciatorShown(l)) << l;
  EXPECT_EQ(m.vm.annunciators, 0x80);
}

TEST_F(DisplayRegistersTest, EveryWriteCallsTheDisplayHookEvenUnchanged) {
  setAnnunciators(m, 0x01);
  const uint64_t before = host.displayChanges;
  setAnnunciators(m, 0x01);
  EXPECT_EQ(host.displayChanges, before + 1);
}

TEST_F(DisplayRegistersTest, OpenSerialLinkKeepsBitFive) {
  host.linkOpen = true;
  setAnnunciators(m, 0x01);
  EXPECT_EQ(m.vm.annunciators, 0x21);
  EXPECT_TRUE(annunciatorShown(0));
}

TEST_F(DisplayRegistersTest, ContrastStepsFollowTheTargetWithinNineToTwentyFour) {
  ASSERT_EQ(m.vm.contrast, 12u);
  setContrast(m, 11);
  setContrast(m, 10);
  EXPECT_EQ(m.vm.contrast, 10u);
  EXPECT_EQ(m.vm.contrastTarget, 10u);
  setContrast(m, 9);
  setContrast(m, 8);  // target 8: shown as 9
  EXPECT_EQ(m.vm.contrast, 9u);
  setContrast(m, 8);  // one below the visible 9 again: target 7
  EXPECT_EQ(m.vm.contrastTarget, 7u);
  setContrast(m, 10);  // steps back up from the target, not from what is shown
  setContrast(m, 10);
  EXPECT_EQ(m.vm.contrast, 9u);
  setContrast(m, 10);
  EXPECT_EQ(m.vm.contrast, 10u);
}

TEST_F(DisplayRegistersTest, ContrastOtherThanAStepIsTakenAtOnce) {
  setContrast(m, 31);
  EXPECT_EQ(m.vm.contrast, 31u);
  EXPECT_EQ(m.vm.contrastTarget, 31u);
}

TEST_F(DisplayRegistersTest, RewritingTwentyFourRaisesTheTargetButNotTheContrast) {
  setContrast(m, 24);
  setContrast(m, 24);
  EXPECT_EQ(m.vm.contrastTarget, 25u);
  EXPECT_EQ(m.vm.contrast, 24u);
  setContrast(m, 23);  // back to target 24
  EXPECT_EQ(m.vm.contrast, 24u);
  setContrast(m, 23);
  EXPECT_EQ(m.vm.contrast, 23u);
}

TEST_F(DisplayRegistersTest, TargetNeverWrapsBelowZero) {
  setContrast(m, 0);
  setContrast(m, 1);  // from 0: a step up, target 1, shown as 9
  for (int i = 0; i < 5; ++i)
    setContrast(m, 8);  // steps down from the visible 9
  EXPECT_EQ(static_cast<int32_t>(m.vm.contrastTarget), -4);
  EXPECT_EQ(m.vm.contrast, 9u);
}

}  // namespace
}  // namespace tavrel::machine
