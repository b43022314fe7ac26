// The built program on a real X server: a key region clicked with the mouse and PC keys
// typed reach the calculator, a PC key held down presses its key once, and closing the
// window ends the program and saves the state, whose display the headless runner shows as
// the same keys typed there.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "e2e_fixture.h"
#include "tavrel/Registry.h"
#include "tavrel/Text.h"

namespace tavrel::e2e {
namespace {

using namespace std::chrono_literals;

// The demo skin: KEY_1 at (80, 534) 51 x 26. The runner's "--lcd-text" lines 14 to 55 are the
// stack rows of kStackRows.
constexpr int kKey1X = 80 + 25;
constexpr int kKey1Y = 534 + 13;
constexpr int kFirstComparedLine = 14;
constexpr int kLastComparedLine = 55;

// The LCD lines of "--lcd-text" output that show the stack and the entry.
std::vector<std::string> stackLines(const std::string& lcdText) {
  std::vector<std::string> lines;
  std::istringstream in(lcdText);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && (line[0] == '#' || line[0] == '.')) {
      lines.push_back(line);
    }
  }
  if (lines.size() <= kLastComparedLine) {
    return {};
  }
  return {lines.begin() + kFirstComparedLine, lines.begin() + kLastComparedLine + 1};
}

using CalculatorWindowTest = ProgramTest;

TEST_F(CalculatorWindowTest, ClickAndTypedKeysReachTheCalculatorAndTheStateIsSavedOnClose) {
  // The state file the skin restores and, on exit, saves again without asking where.
  const fs::path state = folder_ / "e2e state.vstate";
  std::ofstream(state).flush();
  {
    CRegistry settings;
    ASSERT_TRUE(settings.createKey(u"", u"skins\\Tavrel Demo"));
    ASSERT_TRUE(settings.writeText(u"skins\\Tavrel Demo", u"Saved", fromUtf8(state.string())));
  }
  ASSERT_NO_FATAL_FAILURE(startProgram());

  // KEY_1 by the mouse, the rest by PC keys: 1 2 ENTER 3 4 +.
  EXPECT_TRUE(stepAndWaitForDisplay({"mousemove", "--window", std::to_string(window_),
                                     std::to_string(kKey1X), std::to_string(kKey1Y), "mousedown",
                                     "1", "sleep", "0.05", "mouseup", "1"}));
  for (const char* pcKey : {"2", "Return", "3", "4", "KP_Add"}) {
    EXPECT_TRUE(stepAndWaitForDisplay({"keydown", pcKey, "sleep", "0.05", "keyup", pcKey}))
        << pcKey;
  }

  EXPECT_EQ(closeProgram(), std::optional<int>(0)) << "see " << log();
  CRegistry settings;
  EXPECT_EQ(settings.readText(u"skins\\Tavrel Demo", u"Saved"), fromUtf8(state.string()));
  ASSERT_GT(fs::file_size(state), 8u);

  const std::string runner = (buildFolder() / "vendel-run").string();
  const std::string rom = (buildFolder() / "data/ROM/demo.rom").string();
  const std::optional<std::string> saved = runForOutput(
      {runner, "--rom", rom, "--realtime", "1500", "--state-in", state.string(), "--lcd-text"},
      120s);
  // The runner's keys wait for the boot, as the test waited for the stack screen.
  const std::optional<std::string> typed =
      runForOutput({runner, "--rom", rom, "--realtime", "1500", "--keys",
                    "wait:1000 1 2 ENTER 3 4 +", "--lcd-text"},
                   120s);
  ASSERT_TRUE(saved.has_value());
  ASSERT_TRUE(typed.has_value());
  const std::vector<std::string> savedLines = stackLines(*saved);
  ASSERT_FALSE(savedLines.empty());
  EXPECT_EQ(savedLines, stackLines(*typed));
}

TEST_F(CalculatorWindowTest, APcKeyHeldDownPressesItsKeyOnce) {
  ASSERT_NO_FATAL_FAILURE(turnOffSaveOnExit());
  ASSERT_NO_FATAL_FAILURE(startProgram());
  const std::vector<unsigned long> empty = stackPixels();
  // Held for two seconds: the server repeats it about a hundred times meanwhile.
  EXPECT_TRUE(stepAndWaitForDisplay({"keydown", "2", "sleep", "2", "keyup", "2"}));
  // One BACKSPACE takes one digit: the entry is empty again only if one 2 was typed.
  EXPECT_TRUE(stepAndWaitForDisplay({"key", "BackSpace"}));
  EXPECT_TRUE(waitUntil([&] { return stackPixels() == empty; }, 5s))
      << "the held key reached the calculator more than once";
  EXPECT_EQ(closeProgram(), std::optional<int>(0)) << "see " << log();
}

}  // namespace
}  // namespace tavrel::e2e
