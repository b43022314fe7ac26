// The skin's menu on a real X server, walked with the keyboard: a state saved through the
// file dialog and opened again, and the speed chosen in the preferences dialog.
#include <gtest/gtest.h>

#include "e2e_fixture.h"
#include "tavrel/Registry.h"
#include "tavrel/excpt/Exception.h"

namespace tavrel::e2e {
namespace {

using namespace std::chrono_literals;

// "EMUThrottle" as the program last wrote it; none while it has never been written.
std::optional<std::uint32_t> storedThrottle() {
  try {
    return CRegistry().readNumber32(u"", u"EMUThrottle");
  } catch (const excpt::SettingReadException&) {
    return std::nullopt;
  }
}

using SkinMenuTest = ProgramTest;

TEST_F(SkinMenuTest, StateSavedAsAFileOpensAgainWithTheStackItHad) {
  ASSERT_NO_FATAL_FAILURE(turnOffSaveOnExit());
  ASSERT_NO_FATAL_FAILURE(startProgram());
  ASSERT_TRUE(stepAndWaitForDisplay({"key", "7", "Return"}));
  const std::vector<unsigned long> seven = stackPixels();

  const fs::path state = folder_ / "menu state.vstate";
  ASSERT_NO_FATAL_FAILURE(chooseFromMenu({"f", "a"}));  // File, Save state as...
  ASSERT_NO_FATAL_FAILURE(answerFileDialog("Save As", state));
  EXPECT_TRUE(waitUntil([&] { return fs::exists(state); })) << "see " << log();
  // The core names the file after the skin's whole name.
  EXPECT_TRUE(waitUntil([&] {
    return xdotool({"getwindowname", std::to_string(window_)}) ==
           "Tavrel Demo - menu state.vstate\n";
  })) << xdotool({"getwindowname", std::to_string(window_)});

  ASSERT_TRUE(stepAndWaitForDisplay({"key", "8", "Return"}));
  ASSERT_NO_FATAL_FAILURE(chooseFromMenu({"f", "o"}));  // File, Open state...
  ASSERT_NO_FATAL_FAILURE(answerFileDialog("Open", state));
  EXPECT_TRUE(waitUntil([&] { return stackPixels() == seven; })) << "see " << log();
  EXPECT_EQ(closeProgram(), std::optional<int>(0)) << "see " << log();
}

TEST_F(SkinMenuTest, SpeedMovedInThePreferencesIsKeptAsEMUThrottle) {
  ASSERT_NO_FATAL_FAILURE(turnOffSaveOnExit());
  ASSERT_NO_FATAL_FAILURE(startProgram());
  ASSERT_NO_FATAL_FAILURE(chooseFromMenu({"c", "s"}));  // Calculator, Speed...
  const unsigned long preferences = waitForWindow("^Preferences$");
  ASSERT_NE(preferences, 0u) << "see " << log();
  xdotool({"windowfocus", "--sync", std::to_string(preferences)});
  // From the page list, Tab reaches the Close button, then the track bar; Home moves the bar
  // to its first position, half the calculator's speed.
  xdotool({"key", "Tab", "Tab", "Home"});
  EXPECT_TRUE(waitUntil([] { return storedThrottle() == 0u; })) << "see " << log();

  xdotool({"key", "Escape"});
  EXPECT_TRUE(waitUntil([] { return !anyVisibleWindow("^Preferences$"); }));
  EXPECT_EQ(closeProgram(), std::optional<int>(0)) << "see " << log();
  EXPECT_EQ(storedThrottle(), 0u);
}

}  // namespace
}  // namespace tavrel::e2e
