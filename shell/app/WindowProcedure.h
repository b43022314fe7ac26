#pragma once

#include <cstdint>
#include <optional>

#include "app/EventHandler.h"
#include "tavrel/gui/Window.h"

namespace tavrel {

class CSkin;

// The window procedure both skin windows share: key regions and PC keys become key presses,
// the skin's body drags the window, a double click on the display or maximising toggles the
// view, dropped files are loaded, and closing the window ends the program.
class CWindowProcedure {
 public:
  CWindowProcedure(CommandInterface& commands, const CGuiBinding& gui, CEventHandler& events,
                   CSkin& skin)
      : commands_(commands), gui_(gui), events_(events), skin_(skin) {}

  // A framework exception raised while a message is handled is reported through its handler
  // and the message counts as handled.
  std::optional<std::intptr_t> operator()(gui::IWindow& window, const gui::WindowMessage& message);

 private:
  std::optional<std::intptr_t> handle(gui::IWindow& window, const gui::WindowMessage& message);
  void activate(bool active);
  void close();
  std::optional<std::intptr_t> hitTest(gui::IWindow& window, std::uint32_t point) const;
  void doubleClick(std::uint32_t point);
  std::optional<std::intptr_t> command(const gui::WindowMessage& message);
  void dropFiles(const gui::WindowMessage& message);

  CommandInterface& commands_;
  const CGuiBinding& gui_;
  CEventHandler& events_;
  CSkin& skin_;
  // Which buttons are down, so one button's press is ignored while the other is held.
  bool leftHeld_ = false;
  bool rightHeld_ = false;
};

}  // namespace tavrel
