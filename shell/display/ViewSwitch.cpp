#include "display/ViewSwitch.h"

namespace tavrel {

void CViewSwitch::showWindowed(const SkinDescription& skin) {
  fullscreen_ = false;
  enter(gui::kFloatingWindowClass, gui::kFullscreenWindowClass, skin.floating);
}

void CViewSwitch::showFullscreen(const SkinDescription& skin) {
  fullscreen_ = true;
  enter(gui::kFullscreenWindowClass, gui::kFloatingWindowClass, skin.fullscreen);
}

void CViewSwitch::toggle(const SkinDescription& skin) {
  if (fullscreen_) {
    showWindowed(skin);
  } else {
    showFullscreen(skin);
  }
}

const gui::LCDSettings& CViewSwitch::currentDisplay(const SkinDescription& skin) const {
  return fullscreen_ ? skin.fullscreen.lcd : skin.floating.lcd;
}

void CViewSwitch::enter(const std::u16string& entered, const std::u16string& left,
                        const gui::SkinViewDescription& view) {
  host_.setInputWindow(entered);
  host_.show(left, 1);
  host_.show(entered, 0);
  host_.show(entered, 2);
  host_.attach(entered, view.lcd, view.announciator);
  // The GUI draws the display of the new view at once rather than at the next change.
  if (!commands_.getDispatcher.empty()) {
    commands_.getDispatcher()->executeLine(u"forceNEXOUpdate", 1);
  }
}

}  // namespace tavrel
