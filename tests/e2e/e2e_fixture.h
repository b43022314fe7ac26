// The built program on a private X server, driven as a user drives it: xdotool for the
// mouse, the keyboard and the windows, the screen's pixels for what the calculator shows, the
// settings store for what it keeps.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "e2e_process.h"
#include "e2e_screen.h"
#include "e2e_xserver.h"

namespace tavrel::e2e {

namespace fs = std::filesystem;

// A rectangle in window coordinates.
struct Area {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The demo skin (build/data/skins/demo/skin.xml): the display at (34, 62), 131 x 64 pixels
// of 2. Rows of text are 7 pixels high; the first two (clock and message) change by
// themselves and are left out.
inline constexpr Area kStackRows{34, 62 + 2 * 14, 2 * 131, 2 * (64 - 14)};

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  static fs::path buildFolder();
  static std::string xdotool(const std::vector<std::string>& arguments,
                             std::chrono::milliseconds limit = std::chrono::seconds(60));
  // Checks the condition until it holds or the limit passes: another client's repaints raise
  // no event that the test could wait on.
  static bool waitUntil(const std::function<bool()>& condition,
                        std::chrono::milliseconds limit = std::chrono::seconds(30));

  // "Save state on exit" off, so that closing asks for no file.
  void turnOffSaveOnExit();
  // Starts build/tavrel, waits for the windowed skin and its stack screen and focuses it.
  // Fatal failures: call through ASSERT_NO_FATAL_FAILURE.
  void startProgram();
  // Closes the skin window with Alt+F4; the exit status once the program has ended.
  std::optional<int> closeProgram();

  // The first visible window whose title matches the pattern, once there is one; 0 after a
  // generous limit.
  static unsigned long waitForWindow(const std::string& titlePattern);
  static bool anyVisibleWindow(const std::string& titlePattern);
  // Visible windows of the program, menus included.
  std::size_t visibleProgramWindows() const;

  std::vector<unsigned long> pixels(unsigned long window, const Area& area);
  std::vector<unsigned long> stackPixels() { return pixels(window_, kStackRows); }
  // Whether the area shows more than one colour before the limit: the calculator has drawn.
  bool waitForDrawing(unsigned long window, const Area& area);
  // Focuses the skin window, runs the xdotool steps and waits until the stack rows show a
  // change.
  bool stepAndWaitForDisplay(const std::vector<std::string>& steps);

  // Opens the skin's menu with the PC menu key and walks it by the mnemonics, the last one
  // choosing the item.
  void chooseFromMenu(const std::vector<std::string>& mnemonics);
  // Types the path into the file dialog of that title ("Save As" and "Open": the toolkit's
  // own, for a request without a title) and accepts it.
  void answerFileDialog(const std::string& title, const fs::path& path);

  fs::path log() const { return folder_ / "tavrel.log"; }

  fs::path folder_;
  std::unique_ptr<CXServer> server_;
  std::unique_ptr<CChildProcess> program_;
  std::unique_ptr<CScreen> screen_;
  unsigned long window_ = 0;
};

}  // namespace tavrel::e2e
