#pragma once

#include <string>

#include "tavrel/Export.h"

namespace tavrel::gui {

// The skin window as the core sees it: the shell installs an implementation for its visible
// skin window (floating or full screen). Implementations may be called from any thread.
class TAVREL_API ISkinWindow {
 public:
  virtual ~ISkinWindow() = default;
  virtual void setTitle(const std::u16string& title) = 0;
};

// The window in use for the whole process. Until one is installed, titles go nowhere; the
// last one set is kept so that it can be read back.
TAVREL_API ISkinWindow& skinWindow();
// Installs an implementation (null restores the default) and returns the one it replaces.
// The caller keeps ownership and must keep it alive while installed.
TAVREL_API ISkinWindow* setSkinWindow(ISkinWindow* window);
// The last title given to the default window.
TAVREL_API std::u16string unshownSkinTitle();

}  // namespace tavrel::gui
