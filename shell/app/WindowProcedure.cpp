#include "app/WindowProcedure.h"

#include "app/Skin.h"
#include "display/Placement.h"
#include "skin/SkinCommands.h"
#include "tavrel/excpt/Exception.h"
#include "tavrel/gui/GuiService.h"
#include "tavrel/gui/MenuManager.h"

namespace tavrel {
namespace {

using gui::MessageKind;

constexpr std::intptr_t kHandled = 0;

// Window points: x in the low 16 bits, y in the high 16 bits, both unsigned.
std::int32_t windowX(std::uint32_t point) {
  return static_cast<std::int32_t>(point & 0xFFFFu);
}
std::int32_t windowY(std::uint32_t point) {
  return static_cast<std::int32_t>(point >> 16);
}

// Screen points are signed: a screen left of or above the primary one has negative ones.
std::int32_t screenX(std::uint32_t point) {
  return static_cast<std::int16_t>(point & 0xFFFFu);
}
std::int32_t screenY(std::uint32_t point) {
  return static_cast<std::int16_t>(point >> 16);
}

}  // namespace

std::optional<std::intptr_t> CWindowProcedure::operator()(gui::IWindow& window,
                                                          const gui::WindowMessage& message) {
  try {
    return handle(window, message);
  } catch (const excpt::IException& failure) {
    failure.report();
    return kHandled;
  }
}

std::optional<std::intptr_t> CWindowProcedure::handle(gui::IWindow& window,
                                                      const gui::WindowMessage& message) {
  switch (message.kind) {
    case MessageKind::Activate:
      activate(message.wParam != 0);
      return std::nullopt;
    case MessageKind::KillFocus:
      skin_.keyInput().releasePending();
      return std::nullopt;
    case MessageKind::Paint:
      window.paint();
      return kHandled;
    case MessageKind::Close:
      close();
      return kHandled;
    case MessageKind::HitTest:
      return hitTest(window, message.lParam);
    case MessageKind::NcLeftDoubleClick:
      doubleClick(message.lParam);
      return kHandled;
    case MessageKind::KeyDown:
    case MessageKind::SysKeyDown:
      if (!skin_.keyInput().pcKeyDown(message.wParam, message.lParam) &&
          message.kind == MessageKind::SysKeyDown) {
        return std::nullopt;
      }
      return kHandled;
    case MessageKind::KeyUp:
    case MessageKind::SysKeyUp:
      skin_.keyInput().pcKeyUp(message.wParam);
      return kHandled;
    case MessageKind::Command:
    case MessageKind::SysCommand:
      return command(message);
    case MessageKind::LeftButtonDown:
      leftHeld_ = true;
      if (!rightHeld_) {
        events_.setMouseDown();
        skin_.keyInput().leftButtonDown(windowX(message.lParam), windowY(message.lParam));
      }
      return kHandled;
    case MessageKind::LeftButtonUp:
      leftHeld_ = false;
      skin_.keyInput().releasePending();
      return kHandled;
    case MessageKind::RightButtonDown:
      rightHeld_ = true;
      if (!leftHeld_) {
        skin_.keyInput().rightButtonDown(windowX(message.lParam), windowY(message.lParam));
      }
      return kHandled;
    case MessageKind::RightButtonUp:
      rightHeld_ = false;
      return kHandled;
    case MessageKind::EnterMenuLoop:
      if (auto* menus = objectOf<gui::IMenuManager>(commands_, u"loadMenuManager")) {
        menus->refreshMenu(gui::kFloatingWindowClass);
      }
      return std::nullopt;
    case MessageKind::ExitMenuLoop:
      skin_.drawMenuKey(false);
      return std::nullopt;
    case MessageKind::DropFiles:
      dropFiles(message);
      return kHandled;
  }
  return std::nullopt;
}

void CWindowProcedure::activate(bool active) {
  auto* viewports = objectOf<gui::IViewportManager>(commands_, u"loadViewportManager");
  if (viewports == nullptr) {
    return;
  }
  if (active) {
    viewports->activate();
  } else {
    viewports->deactivate();
  }
}

void CWindowProcedure::close() {
  runLine(commands_, u"save_skin_details");
  events_.closeApp();
  events_.setQuitFlag();
}

std::optional<std::intptr_t> CWindowProcedure::hitTest(gui::IWindow& window,
                                                       std::uint32_t point) const {
  if (!window.showsSkin()) {
    return gui::kHitNowhere;
  }
  if (skin_.isFullscreen()) {
    return gui::kHitBorder;
  }
  const gui::WindowRect rect = window.rect();
  const std::int32_t x = screenX(point) - rect.left;
  const std::int32_t y = screenY(point) - rect.top;
  if (skin_.hitMap().isMarked(x, y)) {
    return gui::kHitClient;
  }
  // Inside the window the default answer is the client area: the skin's body drags instead.
  const bool inside = x >= 0 && y >= 0 && x < rect.width && y < rect.height;
  return inside ? std::optional<std::intptr_t>(gui::kHitCaption) : std::nullopt;
}

void CWindowProcedure::doubleClick(std::uint32_t point) {
  gui::IWindow* input = events_.inputWindow();
  if (input == nullptr) {
    return;
  }
  const gui::WindowRect rect = input->rect();
  if (isOnDisplay(skin_.currentDisplay(), screenX(point) - rect.left, screenY(point) - rect.top)) {
    runLine(commands_, u"toggle_fullscreen", 0);
  }
}

std::optional<std::intptr_t> CWindowProcedure::command(const gui::WindowMessage& message) {
  if (message.kind == MessageKind::SysCommand) {
    // Maximising means the fullscreen view; other system commands are the window's own.
    if (message.wParam == gui::kSysCommandMaximize) {
      runLine(commands_, u"toggle_fullscreen", 0);
      return kHandled;
    }
    return std::nullopt;
  }
  if ((message.wParam >> 16) == 0) {
    runCachedId(commands_, static_cast<std::uint16_t>(message.wParam & 0xFFFFu));
  }
  return std::nullopt;
}

void CWindowProcedure::dropFiles(const gui::WindowMessage& message) {
  if (message.files.size() == 1) {
    runLine(commands_, u"load_file " + encodeArgument(message.files.front()));
  }
  const std::u16string current =
      skin_.isFullscreen() ? gui::kFullscreenWindowClass : gui::kFloatingWindowClass;
  gui_.requireWindowManager().show(current, gui::kShowEnter);
}

}  // namespace tavrel
