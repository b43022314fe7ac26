#include <gtest/gtest.h>

#include <memory>

#include "keys/KeyInput.h"
#include "skin_fixture.h"

namespace tavrel::skintest {
namespace {

std::shared_ptr<const KeyRegion> rectangle(std::int32_t left, std::int32_t top, std::int32_t width,
                                           std::int32_t height) {
  return std::make_shared<const KeyRegion>(KeyRegion{left, top, width, height, {}, {}});
}

// Two calculator keys side by side and a command key overlapping the second, as a skin
// would file them.
class KeysInputTest : public ShellPluginsTest {
 protected:
  void SetUp() override {
    ShellPluginsTest::SetUp();
    recordCommand(u"key_down");
    recordCommand(u"key_up");
    recordCommand(u"menu_down");
    recordCommand(u"menu_up");
    addKey(u"KEY_A", rectangle(0, 0, 10, 10));
    addKey(u"KEY_B", rectangle(20, 0, 10, 10));
    regions.addCommandKey(idOf(u"menu_down M"), idOf(u"menu_up M"), u"menu",
                          rectangle(25, 5, 20, 20));
  }

  void addKey(const std::u16string& name, std::shared_ptr<const KeyRegion> region) {
    regions.addEmulatorKey(idOf(u"key_down " + name), idOf(u"key_up " + name), name,
                           std::move(region));
  }

  CRegionManager regions;
  PcKeyTables pcKeys;
  CKeyInput input{commands, regions, pcKeys};
};

TEST_F(KeysInputTest, LeftPressingAHeldKeyAgainSendsOnePress) {
  input.leftButtonDown(5, 5);
  input.leftButtonDown(6, 6);
  EXPECT_EQ(calls, (std::vector<std::u16string>{u"key_down KEY_A"}));
  input.releasePending();
  EXPECT_EQ(calls, (std::vector<std::u16string>{u"key_down KEY_A", u"key_up KEY_A"}));
  EXPECT_TRUE(input.pendingReleases().empty());
}

TEST_F(KeysInputTest, ReleasesRunNewestFirst) {
  input.leftButtonDown(0, 0);
  input.leftButtonDown(30, 10);  // the right and bottom edges of KEY_B still hit it
  calls.clear();
  input.releasePending();
  EXPECT_EQ(calls, (std::vector<std::u16string>{u"key_up KEY_B", u"key_up KEY_A"}));
}

TEST_F(KeysInputTest, ACalculatorKeyWinsOverACommandKeyUnderTheSamePoint) {
  input.leftButtonDown(27, 7);
  EXPECT_EQ(calls, (std::vector<std::u16string>{u"key_down KEY_B"}));
}

TEST_F(KeysInputTest, ACommandKeyRunsOnlyItsPressCommand) {
  input.leftButtonDown(40, 20);
  input.releasePending();
  EXPECT_EQ(calls, (std::vector<std::u16string>{u"menu_down M"}));
}

TEST_F(KeysInputTest, ClicksOutsideEveryRegionRunNothing) {
  input.leftButtonDown(15, 5);
  input.rightButtonDown(15, 5);
  input.releasePending();
  EXPECT_TRUE(calls.empty());
}

TEST_F(KeysInputTest, RightClickLatchesUntilTheNextRightClick) {
  input.rightButtonDown(5, 5);
  EXPECT_EQ(calls, (std::vector<std::u16string>{u"key_down KEY_A"}));
  // A left press of the latched key does not press it again.
  input.leftButtonDown(5, 5);
  EXPECT_EQ(calls.size(), 1u);
  input.rightButtonDown(5, 5);
  EXPECT_EQ(calls, (std::vector<std::u16string>{u"key_down KEY_A", u"key_up KEY_A"}));
  EXPECT_TRUE(input.pendingReleases().empty());
}

TEST_F(KeysInputTest, RightClickIgnoresCommandKeys) {
  input.rightButtonDown(40, 20);
  EXPECT_TRUE(calls.empty());
}

TEST_F(KeysInputTest, LatchedKeysAreReleasedWhenTheFocusGoes) {
  input.rightButtonDown(5, 5);
  input.rightButtonDown(25, 5);
  calls.clear();
  input.releasePending();
  EXPECT_EQ(calls, (std::vector<std::u16string>{u"key_up KEY_B", u"key_up KEY_A"}));
}

TEST_F(KeysInputTest, HoldingAPcKeySendsOnePress) {
  pcKeys.down[65] = idOf(u"key_down KEY_A");
  pcKeys.up[65] = idOf(u"key_up KEY_A");
  constexpr std::uint32_t kFirstPress = 0x001E0001;
  constexpr std::uint32_t kAutoRepeat = kFirstPress | (1u << 30);
  EXPECT_TRUE(input.pcKeyDown(65, kFirstPress));
  EXPECT_FALSE(input.pcKeyDown(65, kAutoRepeat));
  EXPECT_FALSE(input.pcKeyDown(65, kAutoRepeat));
  input.pcKeyUp(65);
  EXPECT_EQ(calls, (std::vector<std::u16string>{u"key_down KEY_A", u"key_up KEY_A"}));
}

TEST_F(KeysInputTest, AltCombinationsAreDropped) {
  pcKeys.down[65] = idOf(u"key_down KEY_A");
  EXPECT_FALSE(input.pcKeyDown(65, 1u << 29));
  EXPECT_FALSE(input.pcKeyDown(65, 1u << 28));
  EXPECT_TRUE(calls.empty());
}

TEST_F(KeysInputTest, UnmappedAndOutOfRangeVirtualKeysRunNothing) {
  EXPECT_TRUE(input.pcKeyDown(66, 0));
  EXPECT_TRUE(input.pcKeyDown(300, 0));
  input.pcKeyUp(300);
  EXPECT_TRUE(calls.empty());
}

}  // namespace
}  // namespace tavrel::skintest
