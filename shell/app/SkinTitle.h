#pragma once

#include "app/GuiBinding.h"
#include "tavrel/SkinWindow.h"

namespace tavrel {

// The skin window as the core sees it (the title it sets after saving or restoring a state):
// installed for its life, it passes titles to the windowed skin window on the GUI thread.
class CSkinTitle final : public gui::ISkinWindow {
 public:
  explicit CSkinTitle(const CGuiBinding& gui);
  ~CSkinTitle() override;
  CSkinTitle(const CSkinTitle&) = delete;
  CSkinTitle& operator=(const CSkinTitle&) = delete;

  void setTitle(const std::u16string& title) override;

 private:
  const CGuiBinding& gui_;
  gui::ISkinWindow* previous_;
};

}  // namespace tavrel
