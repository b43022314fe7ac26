// Numeric ids of command lines: range, stability, execution by id, clearing, exhaustion.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "CommandPluginFixture.h"
#include "tavrel/Text.h"

namespace tavrel::test {
namespace {

using OneText = fn::Function<fn::ret<void>, std::u16string>;

class CommandCacheTest : public CommandPluginTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(CommandPluginTest::SetUp());
    ASSERT_TRUE(registerCommand(u"key_down",
                                OneText([this](std::u16string key) { pressed.push_back(key); })));
  }

  std::vector<std::u16string> pressed;
};

TEST_F(CommandCacheTest, IdIsStableAndRunsItsLine) {
  std::uint16_t on = cache().id(u"key_down KEY_ON");
  std::uint16_t spaced = cache().id(u"key_down LEFT#SHIFT");
  EXPECT_NE(on, spaced);
  EXPECT_EQ(cache().id(u"key_down KEY_ON"), on);
  cache().execute(spaced);
  cache().execute(on);
  EXPECT_EQ(pressed, (std::vector<std::u16string>{u"LEFT SHIFT", u"KEY_ON"}));
}

TEST_F(CommandCacheTest, LineMayBeCachedBeforeItsCommandExists) {
  std::uint16_t id = cache().id(u"toggle_fullscreen");
  int toggles = 0;
  ASSERT_TRUE(
      registerCommand(u"toggle_fullscreen", fn::Function<fn::ret<void>>([&] { ++toggles; })));
  cache().execute(id);
  EXPECT_EQ(toggles, 1);
}

TEST_F(CommandCacheTest, UnknownIdGivesNullAndOneLine) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(cache().execute(4242), nullptr);
  EXPECT_EQ(cache().execute(0), nullptr);
  EXPECT_EQ(cache().id(u""), 0);
  std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("no command line has the id 4242"), std::string::npos) << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 3) << errors;
  EXPECT_TRUE(pressed.empty());
}

TEST_F(CommandCacheTest, ClearForgetsIdsAndDoesNotReuseThemAtOnce) {
  std::set<std::uint16_t> before;
  for (int key = 0; key < 50; ++key) {
    before.insert(cache().id(u"key_down K" + std::u16string(1, u'A' + key % 26) + u"x" +
                             std::u16string(1, u'a' + key / 26)));
  }
  ASSERT_EQ(before.size(), 50u);
  std::uint16_t stale = *before.begin();
  cache().clear();

  ::testing::internal::CaptureStderr();
  EXPECT_EQ(cache().execute(stale), nullptr);
  ::testing::internal::GetCapturedStderr();
  std::uint16_t fresh = cache().id(u"key_down KEY_ON");
  EXPECT_NE(fresh, 0);
  EXPECT_EQ(before.count(fresh), 0u);
  EXPECT_TRUE(pressed.empty());
}

TEST_F(CommandCacheTest, AllSixteenBitIdsCanBeGivenThenNoneIsLeft) {
  std::vector<bool> seen(0x10000, false);
  for (int line = 0; line < 0xFFFF; ++line) {
    std::uint16_t id = cache().id(u"key_down " + fromUtf8(std::to_string(line)));
    ASSERT_NE(id, 0) << line;
    ASSERT_FALSE(seen[id]) << "id " << id << " given twice";
    seen[id] = true;
  }
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(cache().id(u"key_down one_too_many"), 0);
  std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("all command ids are in use"), std::string::npos) << errors;
  // Lines already cached keep their ids even when the cache is full.
  EXPECT_NE(cache().id(u"key_down 7"), 0);

  cache().clear();
  std::uint16_t id = cache().id(u"key_down KEY_ON");
  EXPECT_NE(id, 0);
  cache().execute(id);
  EXPECT_EQ(pressed, (std::vector<std::u16string>{u"KEY_ON"}));
}

}  // namespace
}  // namespace tavrel::test
