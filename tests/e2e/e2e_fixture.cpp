#include "e2e_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "tavrel/Registry.h"

namespace tavrel::e2e {

using namespace std::chrono_literals;

void ProgramTest::SetUp() {
  std::string pattern = (fs::temp_directory_path() / "tavrel-e2e-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  folder_ = pattern;
  server_ = std::make_unique<CXServer>((folder_ / "xvfb.log").string());
  ASSERT_TRUE(server_->ready()) << "Xvfb did not start";
  screen_ = std::make_unique<CScreen>();
  ASSERT_TRUE(screen_->connected());
  ::setenv("XDG_CONFIG_HOME", (folder_ / "user").c_str(), 1);
  ::setenv("XDG_CONFIG_DIRS", (folder_ / "machine").c_str(), 1);
  ::unsetenv("QT_QPA_PLATFORM");
}

void ProgramTest::TearDown() {
  screen_.reset();
  program_.reset();
  server_.reset();
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

fs::path ProgramTest::buildFolder() {
  const char* build = std::getenv("TAVREL_BUILD_DIR");
  return build != nullptr ? build : ".";
}

std::string ProgramTest::xdotool(const std::vector<std::string>& arguments,
                                 std::chrono::milliseconds limit) {
  std::vector<std::string> line{TAVREL_XDOTOOL};
  line.insert(line.end(), arguments.begin(), arguments.end());
  return runForOutput(line, limit).value_or("");
}

bool ProgramTest::waitUntil(const std::function<bool()>& condition,
                            std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

void ProgramTest::turnOffSaveOnExit() {
  CRegistry settings;
  settings.writeNumber32(u"", u"PersistState", 0);
}

void ProgramTest::startProgram() {
  program_ = std::make_unique<CChildProcess>(
      std::vector<std::string>{(buildFolder() / "tavrel").string()}, log().string());
  ASSERT_TRUE(program_->started());
  window_ = waitForWindow("^Tavrel( - .*)?$");
  ASSERT_NE(window_, 0u) << "no skin window; see " << log();
  xdotool({"windowfocus", "--sync", std::to_string(window_)});
  // The booted calculator draws the level numbers of its stack screen.
  ASSERT_TRUE(waitForDrawing(window_, kStackRows)) << "no stack screen; see " << log();
}

std::optional<int> ProgramTest::closeProgram() {
  xdotool({"windowfocus", "--sync", std::to_string(window_)});
  xdotool({"key", "alt+F4"});
  return program_->waitForExit(60s);
}

unsigned long ProgramTest::waitForWindow(const std::string& titlePattern) {
  unsigned long window = 0;
  waitUntil(
      [&] {
        const std::string ids = xdotool({"search", "--onlyvisible", "--name", titlePattern});
        window = std::strtoul(ids.c_str(), nullptr, 10);
        return window != 0;
      },
      120s);
  return window;
}

bool ProgramTest::anyVisibleWindow(const std::string& titlePattern) {
  return !xdotool({"search", "--onlyvisible", "--name", titlePattern}).empty();
}

std::size_t ProgramTest::visibleProgramWindows() const {
  const std::string ids =
      xdotool({"search", "--onlyvisible", "--pid", std::to_string(program_->pid())});
  return static_cast<std::size_t>(std::count(ids.begin(), ids.end(), '\n'));
}

std::vector<unsigned long> ProgramTest::pixels(unsigned long window, const Area& area) {
  return screen_->pixels(window, area.x, area.y, area.width, area.height);
}

bool ProgramTest::waitForDrawing(unsigned long window, const Area& area) {
  return waitUntil(
      [&] {
        const std::vector<unsigned long> shown = pixels(window, area);
        return std::adjacent_find(shown.begin(), shown.end(), std::not_equal_to<>()) != shown.end();
      },
      60s);
}

bool ProgramTest::stepAndWaitForDisplay(const std::vector<std::string>& steps) {
  xdotool({"windowfocus", "--sync", std::to_string(window_)});
  const std::vector<unsigned long> before = stackPixels();
  xdotool(steps);
  return waitUntil([&] { return stackPixels() != before; }, 20s);
}

void ProgramTest::chooseFromMenu(const std::vector<std::string>& mnemonics) {
  xdotool({"windowfocus", "--sync", std::to_string(window_)});
  std::size_t shown = visibleProgramWindows();
  xdotool({"key", "Menu"});
  ASSERT_TRUE(waitUntil([&] { return visibleProgramWindows() > shown; })) << "no menu";
  for (std::size_t i = 0; i < mnemonics.size(); ++i) {
    shown = visibleProgramWindows();
    xdotool({"key", mnemonics[i]});
    if (i + 1 < mnemonics.size()) {
      ASSERT_TRUE(waitUntil([&] { return visibleProgramWindows() > shown; }))
          << "no submenu for " << mnemonics[i];
    }
  }
}

void ProgramTest::answerFileDialog(const std::string& title, const fs::path& path) {
  const unsigned long dialog = waitForWindow("^" + title + "$");
  ASSERT_NE(dialog, 0u) << "no dialog " << title;
  xdotool({"windowfocus", "--sync", std::to_string(dialog)});
  xdotool({"type", "--delay", "10", path.string()});
  xdotool({"key", "Return"});
}

}  // namespace tavrel::e2e
