#pragma once

#include "tavrel/gui/GuiService.h"

namespace tavrel::gui {

class CWindowManager;

// What the shell's window procedure tells of the skin's activation, and the topmost setting.
class CViewportManager final : public IViewportManager {
 public:
  explicit CViewportManager(CWindowManager& windows) : windows_(windows) {}

  void activate() override;
  void deactivate() override { active_ = false; }
  // Changing the stay-on-top hint re-shows the windows; an active skin gets its focus back.
  void setTopmost(bool topmost) override;

 private:
  CWindowManager& windows_;
  bool active_ = false;
};

}  // namespace tavrel::gui
