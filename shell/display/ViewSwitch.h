#pragma once

#include <string>

#include "skin/SkinDescription.h"
#include "tavrel/command/CommandInterface.h"

namespace tavrel {

// What a view switch needs from the windows: the window manager's show operation, the GUI
// export "attachNEXO" (bound with the core interface) and the event handler's input window.
class IViewHost {
 public:
  virtual void setInputWindow(const std::u16string& windowClass) = 0;
  virtual void show(const std::u16string& windowClass, int mode) = 0;
  virtual void attach(const std::u16string& windowClass, const gui::LCDSettings& lcd,
                      const gui::AnnounciatorSettings& announciators) = 0;

 protected:
  ~IViewHost() = default;
};

// Switches between the windowed and the fullscreen view of the loaded skin and tells which
// one is shown (the double click on the display toggles it).
class CViewSwitch {
 public:
  // Both must outlive this object.
  CViewSwitch(IViewHost& host, CommandInterface& commands) : host_(host), commands_(commands) {}

  void showWindowed(const SkinDescription& skin);
  void showFullscreen(const SkinDescription& skin);
  void toggle(const SkinDescription& skin);

  bool isFullscreen() const { return fullscreen_; }
  // The display of the view shown now.
  const gui::LCDSettings& currentDisplay(const SkinDescription& skin) const;

 private:
  void enter(const std::u16string& entered, const std::u16string& left,
             const gui::SkinViewDescription& view);

  IViewHost& host_;
  CommandInterface& commands_;
  bool fullscreen_ = false;
};

}  // namespace tavrel
