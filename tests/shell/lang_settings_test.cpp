#include <gtest/gtest.h>

#include "lang/ShellSettings.h"
#include "loader_fixture.h"

namespace tavrel::langtest {
namespace {

using ShellSettingsTest = loadertest::LoaderTest;

TEST_F(ShellSettingsTest, FlagsTakeTheirDefaultsWhenUnreadableAndWriteThem) {
  CShellSettings settings(*registry);
  EXPECT_TRUE(settings.persistState());
  EXPECT_FALSE(settings.alwaysOnTop());
  EXPECT_EQ(registry->readNumber32(u"", u"PersistState"), 1u);
  EXPECT_EQ(registry->readNumber32(u"", u"AlwaysOnTop"), 0u);
  // A text where a number belongs cannot be read as one: the default replaces it.
  ASSERT_TRUE(registry->writeText(u"", u"PersistState", u"yes"));
  EXPECT_TRUE(settings.persistState());
  EXPECT_EQ(registry->readNumber32(u"", u"PersistState"), 1u);
}

TEST_F(ShellSettingsTest, StoredFlagsAreUsedAndAnyNonZeroIsOn) {
  CShellSettings settings(*registry);
  settings.setPersistState(false);
  EXPECT_FALSE(settings.persistState());
  registry->writeNumber32(u"", u"AlwaysOnTop", 7);
  EXPECT_TRUE(settings.alwaysOnTop());
}

TEST_F(ShellSettingsTest, LanguageIsEnglishWhenEmpty) {
  CShellSettings settings(*registry);
  ASSERT_TRUE(registry->writeText(u"", u"Lang", u""));
  EXPECT_EQ(settings.language(), u"en");
  EXPECT_EQ(registry->readText(u"", u"Lang"), u"en");
}

TEST_F(ShellSettingsTest, RememberedRomIsItsBaseName) {
  CShellSettings settings(*registry);
  settings.rememberRom(u"data/ROM\\zrt7.v2.rom");
  EXPECT_EQ(settings.initialRom(), u"zrt7.v2");
  settings.rememberRom(u"data/ROM/.rom");
  EXPECT_EQ(settings.initialRom(), u"zrt7.v2");
}

TEST_F(ShellSettingsTest, TipShowsOnlyForStartup) {
  CShellSettings settings(*registry);
  EXPECT_FALSE(settings.tipAtStartup());
  ASSERT_TRUE(registry->writeText(u"", u"TipOfTheDay", u"Startup"));
  EXPECT_FALSE(settings.tipAtStartup());
  ASSERT_TRUE(registry->writeText(u"", u"TipOfTheDay", u"startup"));
  EXPECT_TRUE(settings.tipAtStartup());
}

}  // namespace
}  // namespace tavrel::langtest
