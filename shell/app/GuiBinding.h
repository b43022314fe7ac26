#pragma once

#include <string>

#include "keys/KeyRegion.h"
#include "loader/LibraryManager.h"
#include "tavrel/gui/GuiService.h"

namespace tavrel {

// The GUI service's exports, bound by name from the library loaded as "GUI" each time they
// are used, so nothing of the service is kept beyond the call.
class CGuiBinding {
 public:
  static constexpr char16_t kLibraryName[] = u"GUI";

  explicit CGuiBinding(const CLibraryManager& libraries) : libraries_(libraries) {}

  // Null when the GUI service or its export is missing.
  gui::IWindowManager* windowManager() const;
  // Raises LibraryLoadException (4) naming the GUI service when it has no window manager:
  // the shell cannot show a skin without one.
  gui::IWindowManager& requireWindowManager() const;

  // Each does nothing when the export is missing.
  void attachNexo(const std::u16string& windowClass, nexo::_NEXOInterface* core,
                  const gui::LCDSettings& lcd,
                  const gui::AnnounciatorSettings& announciators) const;
  void loadOverlay(const std::u16string& windowClass,
                   const setting::OverlaySettings& overlay) const;

  // A painter that draws the region through the named region export; empty when the export
  // is missing. It runs the GUI service's code: drop it before that library goes.
  RegionPainter regionPainter(const std::u16string& exportName, const KeyRegion& region) const;

 private:
  const CLibraryManager& libraries_;
};

}  // namespace tavrel
