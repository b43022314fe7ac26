#pragma once

#include <cstdint>
#include <string>

#include "tavrel/gui/DisplaySettings.h"
#include "tavrel/gui/Window.h"
#include "tavrel/setting/GenSettings.h"

namespace tavrel::nexo {
struct _NEXOInterface;
}

namespace tavrel::gui {

// What the GUI service ("gui.dll") offers the shell. Exports are bound by name with these
// types; the commands are executed through the command service and return the pointers below.

// Export "getWindowManager": the service's window manager (it owns it).
using GetWindowManager = IWindowManager* (*)();
inline constexpr char16_t kGetWindowManager[] = u"getWindowManager";

// Export "attachNEXO": connects the core's display and keys to the window of that class.
using AttachNexo = void (*)(const std::u16string& windowClass, nexo::_NEXOInterface* core,
                            const LCDSettings& lcd, const AnnounciatorSettings& announciators);
inline constexpr char16_t kAttachNexo[] = u"attachNEXO";

// Export "loadOverlay": a picture drawn over the skin of the window of that class.
using LoadOverlay = void (*)(const std::u16string& windowClass,
                             const setting::OverlaySettings& overlay);
inline constexpr char16_t kLoadOverlay[] = u"loadOverlay";

// Region drawing exports: "resetViewportRegion" draws a key region as the skin shows it,
// "pressViewportRegion" as pressed. The rectangle is in window pixels.
using RegionDrawing = void (*)(const std::u16string& windowClass, std::int32_t left,
                               std::int32_t top, std::int32_t width, std::int32_t height);
inline constexpr char16_t kResetViewportRegion[] = u"resetViewportRegion";
inline constexpr char16_t kPressViewportRegion[] = u"pressViewportRegion";

// Result of the command "loadViewportManager".
class IViewportManager {
 public:
  virtual void activate() = 0;
  virtual void deactivate() = 0;
  virtual void setTopmost(bool topmost) = 0;

 protected:
  ~IViewportManager() = default;
};

// Commands of the GUI service and their results:
//   "loadViewportManager"            → IViewportManager*
//   "loadMenuManager"                → IMenuManager*            (MenuManager.h)
//   "loadSkinInfo"                   → xml::IXMLSAXContentHandler* (new, owned by the parser)
//   "getSkinInfo"                    → const SkinInfo*          (SkinInfo.h)
//   "launchMenu <class> <x> <y>"     opens the skin's menu at that screen point
//   "menu"                           opens the skin's menu at the mouse position
//   "forceNEXOUpdate"                redraws the display from the core's block now

}  // namespace tavrel::gui
