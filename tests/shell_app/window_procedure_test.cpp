// The skin windows' procedure over a booted demo skin: hit test, double click on the
// display, PC keys, mouse buttons and the maximise command.
#include <algorithm>

#include "ShellAppFixture.h"

namespace tavrel::apptest {
namespace {

using gui::MessageKind;

// The demo skin: KEY_1 at (80, 534) 51 x 26, the display at (34, 62), 131 x 64 of 2.
constexpr std::int32_t kKeyX = 90;
constexpr std::int32_t kKeyY = 540;
constexpr std::uint32_t kVirtualKey1 = 49;

class WindowProcedureTest : public ShellAppTest {
 protected:
  void SetUp() override {
    ShellAppTest::SetUp();
    registry->writeNumber32(u"", u"PersistState", 0);
  }

  std::optional<std::intptr_t> hitTest(std::int32_t x, std::int32_t y) {
    const gui::WindowRect place = window(gui::kFloatingWindowClass)->rect();
    return deliver(gui::kFloatingWindowClass,
                   {MessageKind::HitTest, 0, point(place.left + x, place.top + y), {}});
  }
  void doubleClick(std::int32_t x, std::int32_t y) {
    const gui::WindowRect place = window(gui::kFloatingWindowClass)->rect();
    deliver(gui::kFloatingWindowClass,
            {MessageKind::NcLeftDoubleClick, 2, point(place.left + x, place.top + y), {}});
  }
  std::size_t count(const std::u16string& line) const {
    return static_cast<std::size_t>(std::count(recorder.lines.begin(), recorder.lines.end(), line));
  }
};

TEST_F(WindowProcedureTest, KeysAreClientAreaTheBodyDragsAndFullscreenIsBorder) {
  runThenClose([&](CShell& running) {
    EXPECT_EQ(hitTest(kKeyX, kKeyY), gui::kHitClient);
    EXPECT_EQ(hitTest(5, 300), gui::kHitCaption);
    EXPECT_EQ(hitTest(-5, 300), std::nullopt);
    running.skin()->toggleFullscreen();
    EXPECT_EQ(deliver(gui::kFullscreenWindowClass, {MessageKind::HitTest, 0, point(10, 10), {}}),
              gui::kHitBorder);
  });
}

TEST_F(WindowProcedureTest, DoubleClickTogglesOnlyOnTheDisplayItsEdgesIncluded) {
  runThenClose([&](CShell& running) {
    doubleClick(20, 300);
    EXPECT_FALSE(running.skin()->isFullscreen());
    doubleClick(34 + 2 * 131, 62 + 2 * 64);  // the right and bottom edges
    EXPECT_TRUE(running.skin()->isFullscreen());
    EXPECT_EQ(running.events().inputWindowClass(), gui::kFullscreenWindowClass);
    deliver(gui::kFullscreenWindowClass,
            {MessageKind::SysCommand, gui::kSysCommandMaximize, 0, {}});
    EXPECT_FALSE(running.skin()->isFullscreen());
  });
}

TEST_F(WindowProcedureTest, AKeyHeldDownPressesOnceAndIsReleasedOnce) {
  runThenClose([&](CShell&) {
    recorder.lines.clear();
    deliver(gui::kFloatingWindowClass, {MessageKind::KeyDown, kVirtualKey1, 1, {}});
    deliver(gui::kFloatingWindowClass,
            {MessageKind::KeyDown, kVirtualKey1, 1 | gui::kKeyDataRepeat, {}});
    deliver(gui::kFloatingWindowClass, {MessageKind::KeyUp, kVirtualKey1, 0xC0000001u, {}});
    // With Alt held the key is the window system's, not the calculator's.
    EXPECT_EQ(deliver(gui::kFloatingWindowClass,
                      {MessageKind::SysKeyDown, kVirtualKey1, 1 | gui::kKeyDataAltDown, {}}),
              std::nullopt);

    deliver(gui::kFloatingWindowClass, {MessageKind::LeftButtonDown, 1, point(kKeyX, kKeyY), {}});
    deliver(gui::kFloatingWindowClass, {MessageKind::LeftButtonDown, 1, point(kKeyX, kKeyY), {}});
    // The right button does nothing while the left one is held.
    deliver(gui::kFloatingWindowClass, {MessageKind::RightButtonDown, 3, point(kKeyX, kKeyY), {}});
    deliver(gui::kFloatingWindowClass, {MessageKind::LeftButtonUp, 0, point(kKeyX, kKeyY), {}});
  });
  EXPECT_EQ(count(u"key_down KEY_1"), 2u);
  EXPECT_EQ(count(u"key_up KEY_1"), 2u);
}

}  // namespace
}  // namespace tavrel::apptest
