// The two views of the skin on a real X server: a double click on the display goes full
// screen, the button of the fullscreen view comes back.
#include <gtest/gtest.h>

#include "e2e_fixture.h"

namespace tavrel::e2e {
namespace {

constexpr char kWindowed[] = "^Tavrel( - .*)?$";
constexpr char kFullscreen[] = "^Tavrel Demo \\(full screen\\)$";

// On a 1024 x 768 screen: the fullscreen display, 131 x 64 pixels of 5, at (185, 236), its
// stack rows from line 14; the "Return To Windowed Skin" button, 150 x 20, at (844, 738).
constexpr Area kFullscreenStackRows{185, 236 + 5 * 14, 5 * 131, 5 * 50};
constexpr int kReturnButtonX = 844 + 75;
constexpr int kReturnButtonY = 738 + 10;

using ViewSwitchTest = ProgramTest;

TEST_F(ViewSwitchTest, DoubleClickOnTheDisplayGoesFullScreenAndTheButtonComesBack) {
  ASSERT_NO_FATAL_FAILURE(turnOffSaveOnExit());
  ASSERT_NO_FATAL_FAILURE(startProgram());
  const std::vector<unsigned long> windowed = stackPixels();

  xdotool({"mousemove", "--window", std::to_string(window_), "100", "120", "click", "--repeat", "2",
           "--delay", "80", "1"});
  const unsigned long fullscreen = waitForWindow(kFullscreen);
  ASSERT_NE(fullscreen, 0u) << "see " << log();
  const std::string geometry =
      xdotool({"getwindowgeometry", "--shell", std::to_string(fullscreen)});
  EXPECT_NE(geometry.find("X=0\nY=0\nWIDTH=1024\nHEIGHT=768\n"), std::string::npos) << geometry;
  EXPECT_TRUE(waitUntil([] { return !anyVisibleWindow(kWindowed); }));
  // The calculator's display follows the view.
  EXPECT_TRUE(waitForDrawing(fullscreen, kFullscreenStackRows));

  xdotool({"mousemove", "--window", std::to_string(fullscreen), std::to_string(kReturnButtonX),
           std::to_string(kReturnButtonY), "click", "1"});
  EXPECT_TRUE(
      waitUntil([] { return anyVisibleWindow(kWindowed) && !anyVisibleWindow(kFullscreen); }));
  EXPECT_TRUE(waitUntil([&] { return stackPixels() == windowed; }));
  EXPECT_EQ(closeProgram(), std::optional<int>(0)) << "see " << log();
}

}  // namespace
}  // namespace tavrel::e2e
