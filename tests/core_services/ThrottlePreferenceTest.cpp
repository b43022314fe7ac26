// The throttle: settings to rates, the busy wait, and the preference page's functions over
// a real settings store in a temporary folder; the page on a preferences service.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>

#include "PreferenceEntries.h"
#include "tavrel/Text.h"
#include "timing/ThrottlePage.h"

namespace tavrel::timing {
namespace {

using Clock = std::chrono::steady_clock;

class ThrottlePreferenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/throttle_prefs_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  CRegistry openStore() {
    return CRegistry(fromUtf8((folder_ / "user.settings").string()),
                     fromUtf8((folder_ / "machine.settings").string()));
  }

  TimerService timers;

 private:
  std::filesystem::path folder_;
};

TEST_F(ThrottlePreferenceTest, LabelsNameTheFivePositions) {
  EXPECT_EQ(ThrottlePreference::label(0), u"half calculator speed");
  EXPECT_EQ(ThrottlePreference::label(1), u"real calculator speed");
  EXPECT_EQ(ThrottlePreference::label(2), u"2x calculator speed");
  EXPECT_EQ(ThrottlePreference::label(3), u"4x calculator speed");
  EXPECT_EQ(ThrottlePreference::label(4), u"maximum speed");
  EXPECT_EQ(ThrottlePreference::label(7), u"maximum speed");
  EXPECT_EQ(ThrottlePreference::label(-1), u"maximum speed");
}

TEST_F(ThrottlePreferenceTest, UnreadUntilTheGetterRunsAndThenMissingMeansMaximum) {
  CRegistry store = openStore();
  ThrottlePreference preference(timers, store, u"");
  EXPECT_EQ(preference.setting(), ThrottlePreference::kNotRead);
  timers.applyThrottle(1);
  EXPECT_EQ(preference.get(), 4);
  EXPECT_EQ(timers.throttleSetting(), 4);
}

TEST_F(ThrottlePreferenceTest, AStoredSevenIsReadAsMaximumSpeed) {
  CRegistry store = openStore();
  store.writeNumber32(u"", u"EMUThrottle", 7);
  ThrottlePreference preference(timers, store, u"");
  EXPECT_EQ(preference.get(), 4);
  EXPECT_EQ(ThrottlePreference::label(preference.get()), u"maximum speed");
  EXPECT_EQ(timers.throttleSetting(), 4);
}

TEST_F(ThrottlePreferenceTest, AStoredSettingIsAppliedOnceAndTheSetterStoresIt) {
  CRegistry store = openStore();
  store.writeNumber32(u"", u"EMUThrottle", 2);
  ThrottlePreference preference(timers, store, u"");
  EXPECT_EQ(preference.get(), 2);
  EXPECT_EQ(timers.throttleSetting(), 2);
  store.writeNumber32(u"", u"EMUThrottle", 0);
  EXPECT_EQ(preference.get(), 2);  // read once only

  preference.set(1);
  EXPECT_EQ(timers.throttleSetting(), 1);
  EXPECT_EQ(store.readNumber32(u"", u"EMUThrottle"), 1u);
  preference.set(9);
  EXPECT_EQ(preference.setting(), 4);
  EXPECT_EQ(store.readNumber32(u"", u"EMUThrottle"), 4u);
}

TEST_F(ThrottlePreferenceTest, AStoreThatCannotBeWrittenKeepsTheSpeedForThisRun) {
  CRegistry store = openStore();
  ThrottlePreference preference(timers, store, u"no\\such\\key");
  preference.set(3);
  EXPECT_EQ(timers.throttleSetting(), 3);
  EXPECT_EQ(preference.setting(), 3);
}

TEST_F(ThrottlePreferenceTest, EachSettingSpacesBlocksByItsRate) {
  const std::uint64_t rates[] = {650, 1300, 2600, 5200};
  for (int setting = 0; setting < 4; ++setting) {
    timers.applyThrottle(setting);
    const auto start = Clock::now();
    for (int block = 0; block < 3; ++block)
      timers.throttleHook();
    // Each block starts a block time after the previous one was let go.
    EXPECT_GE(Clock::now() - start,
              std::chrono::nanoseconds(2 * (TimerService::kFrequency / rates[setting])))
        << "setting " << setting;
  }
}

// The preferences service as vendel-run stands in for it, reached through a command runner
// that records the lines it was given.
class ThrottlePageTest : public ThrottlePreferenceTest {
 protected:
  ThrottlePage::CommandRunner runner(bool serviceAnswers) {
    return [this, serviceAnswers](const std::u16string& line) -> void* {
      lines.push_back(line);
      return serviceAnswers ? static_cast<gui::IPreferences*>(&entries) : nullptr;
    };
  }

  const std::u16string kPage{ThrottlePreference::kPageName};
  vendelrun::PreferenceEntries entries;
  std::vector<std::u16string> lines;
};

TEST_F(ThrottlePageTest, TheTrackBarDrivesTheTimerServiceUntilCloseTakesItOff) {
  CRegistry store = openStore();
  auto page = std::make_unique<ThrottlePage>(timers, store, u"", runner(true));
  page->add();
  ASSERT_EQ(entries.names(), std::vector<std::u16string>{kPage});
  EXPECT_EQ(timers.throttleSetting(), 4);  // unthrottled until the getter runs

  ASSERT_TRUE(entries.moveTrackBar(kPage, 2));
  EXPECT_EQ(timers.throttleSetting(), 2);
  EXPECT_EQ(store.readNumber32(u"", u"EMUThrottle"), 2u);

  timers.keepThrottlePage(std::move(page));
  timers.close();
  EXPECT_TRUE(entries.names().empty());
  EXPECT_EQ(lines, (std::vector<std::u16string>{u"loadPrefsSystem", u"loadPrefsSystem"}));
  timers.close();  // again: nothing left to take off
  EXPECT_EQ(lines.size(), 2u);
}

TEST_F(ThrottlePageTest, WithoutAServiceNothingIsAddedAndTheSpeedStaysMaximum) {
  CRegistry store = openStore();
  auto page = std::make_unique<ThrottlePage>(timers, store, u"", runner(false));
  page->add();
  timers.keepThrottlePage(std::move(page));
  timers.close();
  EXPECT_EQ(lines.size(), 2u);
  EXPECT_TRUE(entries.names().empty());
  EXPECT_EQ(timers.throttleSetting(), 4);
}

}  // namespace
}  // namespace tavrel::timing
