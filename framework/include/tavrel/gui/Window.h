#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "tavrel/gui/SkinView.h"

namespace tavrel::gui {

// What happened to a skin window, in the terms of a desktop window system: the GUI service
// turns its toolkit's events into these, the shell's window procedure decides.
enum class MessageKind {
  Activate,           // wParam: 0 when the window loses activation, 1 when it gains it
  KillFocus,          // the keyboard focus left the window
  Paint,
  Close,              // the user asked to close the window
  HitTest,            // lParam: the point in screen coordinates; answer with a kHit... code
  NcLeftDoubleClick,  // lParam: the point in screen coordinates
  KeyDown,            // wParam: virtual-key code; lParam: key data (bits 28-31 as below)
  SysKeyDown,
  KeyUp,
  SysKeyUp,
  Command,     // wParam: low half the command id, high half 0 for menus and buttons
  SysCommand,  // wParam: the system command, e.g. kSysCommandMaximize
  LeftButtonDown,   // lParam: x in the low 16 bits, y in the high 16 bits, window coordinates
  LeftButtonUp,
  RightButtonDown,
  RightButtonUp,
  EnterMenuLoop,
  ExitMenuLoop,
  DropFiles,  // files: the dropped paths
};

// Key data bits of KeyDown/SysKeyDown: 29 Alt held, 30 the key was already down (repeat).
inline constexpr std::uint32_t kKeyDataAltDown = 1u << 29;
inline constexpr std::uint32_t kKeyDataRepeat = 1u << 30;

inline constexpr std::uint32_t kSysCommandMaximize = 0xF030;

// Hit-test answers: nowhere (ignore the press), the client area (a press the window
// procedure sees as LeftButtonDown), the caption (the press drags the window), the border.
inline constexpr std::intptr_t kHitNowhere = 0;
inline constexpr std::intptr_t kHitClient = 1;
inline constexpr std::intptr_t kHitCaption = 2;
inline constexpr std::intptr_t kHitBorder = 18;

struct WindowMessage {
  MessageKind kind = MessageKind::Paint;
  std::uint32_t wParam = 0;
  std::uint32_t lParam = 0;
  std::vector<std::u16string> files;
};

class IWindow;

// A window procedure answers a message with a result, or with nothing for the window's
// default handling (for HitTest the default is kHitClient inside the window).
using WindowProcedure =
    std::function<std::optional<std::intptr_t>(IWindow& window, const WindowMessage& message)>;

// "SOLIDBG": the window filled with one colour, the element covering width × height at (x, y).
struct SolidBackground {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// "BUTTON": a push button that sends Command with commandId when clicked.
struct ButtonElement {
  std::u16string label;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::u16string font;
  std::int32_t fontHeight = 0;
  std::int32_t fontWeight = 0;
  std::uint16_t commandId = 0;
};

using ElementSettings = std::variant<SolidBackground, ButtonElement>;

// Where a window is: its top-left corner on the screen; subtracting it turns a screen point
// into window coordinates.
struct WindowRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// One skin window of the GUI service. Call only on the GUI thread.
class IWindow {
 public:
  virtual const std::u16string& windowClass() const = 0;
  virtual void setWindowProcedure(WindowProcedure procedure) = 0;
  // typeName is "SOLIDBG" or "BUTTON"; false when the type and the settings do not match.
  virtual bool addElement(const std::u16string& typeName, const ElementSettings& settings) = 0;
  virtual void show() = 0;
  virtual void setTitle(const std::u16string& title) = 0;
  virtual void close() = 0;
  virtual void refocus() = 0;
  virtual void clearUpdates() = 0;
  virtual void paint() = 0;
  // Whether the window shows a skin picture (the hit test answers nowhere when it does not).
  virtual bool showsSkin() const = 0;
  virtual WindowRect rect() const = 0;
  // Moves the window's top-left corner on the screen.
  virtual void moveTo(std::int32_t left, std::int32_t top) = 0;

 protected:
  ~IWindow() = default;
};

// Show modes of IWindowManager::show.
inline constexpr int kShowLeave = 1;   // the view being left: hide it
inline constexpr int kShowEnter = 0;   // the view being entered: show it
inline constexpr int kShowActivate = 2;  // then raise and focus it

// The GUI service's window manager ("getWindowManager" export). Owns its windows.
class IWindowManager {
 public:
  // A new window of that class from a skin view (an earlier window of the class is closed).
  virtual IWindow* createWindow(const std::u16string& windowClass,
                                const SkinViewDescription& view) = 0;
  // The window of that class, or null.
  virtual IWindow* window(const std::u16string& windowClass) = 0;
  virtual void show(const std::u16string& windowClass, int mode) = 0;
  virtual void setTopmost(bool topmost) = 0;

  // The message loop: returns when quit() was called or stopWhen() answers true after a
  // message was handled; gives the exit code.
  virtual int run(const std::function<bool()>& stopWhen) = 0;
  virtual void quit(int exitCode) = 0;

 protected:
  ~IWindowManager() = default;
};

}  // namespace tavrel::gui
