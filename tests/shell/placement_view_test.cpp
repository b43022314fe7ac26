#include <gtest/gtest.h>

#include "display/Placement.h"
#include "display/ViewSwitch.h"
#include "skin_fixture.h"

namespace tavrel::skintest {
namespace {

class RecordingViewHost final : public IViewHost {
 public:
  void setInputWindow(const std::u16string& windowClass) override {
    steps.push_back(u"input " + windowClass);
  }
  void show(const std::u16string& windowClass, int mode) override {
    steps.push_back(u"show " + windowClass + u" " + u16(std::to_string(mode)));
  }
  void attach(const std::u16string& windowClass, const gui::LCDSettings& lcd,
              const gui::AnnounciatorSettings&) override {
    steps.push_back(u"attach " + windowClass + u" " + u16(std::to_string(lcd.offsetX)));
  }
  std::vector<std::u16string> steps;
};

class PlacementViewTest : public ShellPluginsTest {
 protected:
  void SetUp() override {
    ShellPluginsTest::SetUp();
    fn::Function<fn::ret<void>> update([this] { host.steps.push_back(u"forceNEXOUpdate"); });
    commands.getRegistry()->add(
        commands.createCommand(u"forceNEXOUpdate", update.detach(), nullptr, {}));
    skin.floating.lcd.offsetX = 11;
    skin.fullscreen.lcd.offsetX = 22;
  }

  RecordingViewHost host;
  SkinDescription skin;
  CViewSwitch views{host, commands};
};

TEST_F(PlacementViewTest, TogglingEntersTheFullscreenViewAndBack) {
  views.toggle(skin);
  EXPECT_TRUE(views.isFullscreen());
  EXPECT_EQ(host.steps, (std::vector<std::u16string>{
                            u"input TavrelSkinFullscreen", u"show TavrelSkinFloating 1",
                            u"show TavrelSkinFullscreen 0", u"show TavrelSkinFullscreen 2",
                            u"attach TavrelSkinFullscreen 22", u"forceNEXOUpdate"}));
  host.steps.clear();
  views.toggle(skin);
  EXPECT_FALSE(views.isFullscreen());
  EXPECT_EQ(host.steps, (std::vector<std::u16string>{
                            u"input TavrelSkinFloating", u"show TavrelSkinFullscreen 1",
                            u"show TavrelSkinFloating 0", u"show TavrelSkinFloating 2",
                            u"attach TavrelSkinFloating 11", u"forceNEXOUpdate"}));
}

TEST_F(PlacementViewTest, ADoubleClickOnTheDisplaysRightEdgeHitsTheCurrentView) {
  skin.floating.lcd = {};
  skin.floating.lcd.offsetX = 10;
  skin.floating.lcd.width = 20;
  skin.floating.lcd.height = 10;
  skin.floating.lcd.pixelSize = 2;
  views.showWindowed(skin);
  EXPECT_TRUE(isOnDisplay(views.currentDisplay(skin), 50, 20));
  EXPECT_FALSE(isOnDisplay(views.currentDisplay(skin), 51, 20));
  views.showFullscreen(skin);
  EXPECT_FALSE(isOnDisplay(views.currentDisplay(skin), 50, 20));
}

}  // namespace
}  // namespace tavrel::skintest
