#include "ViewportManager.h"

#include "WindowManager.h"

namespace tavrel::gui {

void CViewportManager::activate() {
  active_ = true;
  if (CSkinWindow* window = windows_.shownWindow(); window != nullptr && !window->hasFocus()) {
    window->setFocus(Qt::ActiveWindowFocusReason);  // PC keys go to the calculator
  }
}

void CViewportManager::setTopmost(bool topmost) {
  const bool wasActive = active_;
  windows_.setTopmost(topmost);
  if (wasActive) {
    if (CSkinWindow* window = windows_.shownWindow()) {
      window->activate();
    }
  }
}

}  // namespace tavrel::gui
