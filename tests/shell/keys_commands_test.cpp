#include <gtest/gtest.h>

#include <memory>

#include "keys/KeyCommands.h"
#include "skin_fixture.h"

namespace tavrel::skintest {
namespace {

struct RecordingSink final : IKeyMessageSink {
  void post(std::uint32_t type, std::uint32_t first, std::uint32_t second) override {
    messages.push_back({type, first, second});
  }
  std::vector<KeyMessage> messages;
};

// "key_down" and "key_up" registered in the real command service, over a key set with a
// two-name key, regions whose painters record what they draw, and a message sink.
class KeysCommandsTest : public ShellPluginsTest {
 protected:
  void SetUp() override {
    ShellPluginsTest::SetUp();
    keys.startKey(0x10003);
    keys.addName(u"KEY_SHIFT");
    keys.addName(u"KEY_ALPHA");
    keys.startKey(-7);
    keys.addName(u"KEY_ON");
    addRegion(u"KEY_SHIFT", u"shift");
    addRegion(u"KEY_ALPHA", u"alpha");
    addRegion(u"KEY_ALPHA", u"alpha2");
    labels[u"KEY_ON"] = u"ON";
    keyCommands = std::make_unique<CKeyCommands>(commands, keys, regions, labels);
    keyCommands->setSink(&sink);
  }

  void TearDown() override {
    keyCommands.reset();
    ShellPluginsTest::TearDown();
  }

  void addRegion(const std::u16string& name, const std::u16string& tag) {
    RegionPainter pressed(
        [this, tag](std::u16string window) { drawn.push_back(u"pressed " + tag + u" " + window); });
    RegionPainter normal(
        [this, tag](std::u16string window) { drawn.push_back(u"normal " + tag + u" " + window); });
    regions.addEmulatorKey(
        1, 2, name, std::make_shared<const KeyRegion>(KeyRegion{0, 0, 1, 1, pressed, normal}));
  }

  std::u16string describe(const std::u16string& command, const std::u16string& key) {
    return commands.getRegistry()->get(command)->describe(key);
  }

  CEmulatorKeySet keys;
  CRegionManager regions;
  KeyNameIndex labels;
  RecordingSink sink;
  std::unique_ptr<CKeyCommands> keyCommands;
  std::vector<std::u16string> drawn;
};

TEST_F(KeysCommandsTest, KeyDownLightsEveryNameOfTheKeyAndPostsThePress) {
  dispatcher().executeLine(u"key_down KEY_ALPHA", 0);
  EXPECT_EQ(drawn, (std::vector<std::u16string>{u"pressed shift TavrelSkinFloating",
                                                u"pressed alpha TavrelSkinFloating",
                                                u"pressed alpha2 TavrelSkinFloating"}));
  EXPECT_EQ(sink.messages, (std::vector<KeyMessage>{{0, 0x10003, 0}}));
}

TEST_F(KeysCommandsTest, KeyUpDrawsTheRegionsNormalAndPostsTheRelease) {
  dispatcher().executeLine(u"key_up KEY_SHIFT", 0);
  EXPECT_EQ(drawn.front(), u"normal shift TavrelSkinFloating");
  EXPECT_EQ(drawn.size(), 3u);
  EXPECT_EQ(sink.messages, (std::vector<KeyMessage>{{1, 0x10003, 0}}));
}

TEST_F(KeysCommandsTest, NegativeCodesTravelAsTheirBitPattern) {
  dispatcher().executeLine(u"key_down KEY_ON", 1);
  EXPECT_EQ(sink.messages, (std::vector<KeyMessage>{{0, 0xFFFFFFF9u, 0}}));
}

TEST_F(KeysCommandsTest, AnUnknownKeyIsReportedAndPostsNothing) {
  ::testing::internal::CaptureStdout();
  dispatcher().executeLine(u"key_down KEY_NONE", 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "pressKey: not a KEY\n");
  ::testing::internal::CaptureStdout();
  dispatcher().executeLine(u"key_up KEY_NONE", 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_TRUE(drawn.empty());
}

TEST_F(KeysCommandsTest, WithoutASinkKeysStillLight) {
  keyCommands->setSink(nullptr);
  dispatcher().executeLine(u"key_down KEY_SHIFT", 0);
  EXPECT_EQ(drawn.size(), 3u);
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(KeysCommandsTest, DescriptionsUseTheLabelOrFallBackToTheName) {
  EXPECT_EQ(describe(u"key_down", u"KEY_ON"), u"Pressed key ON");
  EXPECT_EQ(describe(u"key_up", u"KEY_ON"), u"Released key ON");
  EXPECT_EQ(describe(u"key_down", u"KEY_SHIFT"), u"Pressed key KEY_SHIFT");
}

TEST_F(KeysCommandsTest, ADescriptionIsKeptFromItsFirstUse) {
  EXPECT_EQ(describe(u"key_down", u"KEY_SHIFT"), u"Pressed key KEY_SHIFT");
  labels[u"KEY_SHIFT"] = u"SHIFT";
  EXPECT_EQ(describe(u"key_down", u"KEY_SHIFT"), u"Pressed key KEY_SHIFT");
  EXPECT_EQ(describe(u"key_up", u"KEY_SHIFT"), u"Released key SHIFT");
}

TEST_F(KeysCommandsTest, TheCommandsLeaveWithTheObject) {
  keyCommands.reset();
  EXPECT_EQ(commands.getRegistry()->get(u"key_down"), nullptr);
  EXPECT_EQ(commands.getRegistry()->get(u"key_up"), nullptr);
}

}  // namespace
}  // namespace tavrel::skintest
