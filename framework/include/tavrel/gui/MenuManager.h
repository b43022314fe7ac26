#pragma once

#include <string>

#include "tavrel/xml/ContentHandler.h"

namespace tavrel::gui {

// The menus of the skin windows, as the GUI service's command "loadMenuManager" gives them.
// The GUI service owns the object.
class IMenuManager {
 public:
  // Brings the menu of a window up to date before it opens.
  virtual void refreshMenu(const std::u16string& windowClass) = 0;
  // A new handler (owned by the parser) for a skin's "menu_bar" element.
  virtual xml::IXMLSAXContentHandler* menuBarHandler(const std::u16string& windowClass,
                                                     bool notPopup) = 0;
  // An item that runs the command line when chosen.
  virtual void addItem(const std::u16string& menu, const std::u16string& label,
                       const std::u16string& commandLine) = 0;
  virtual void clearMenu(const std::u16string& menu) = 0;

 protected:
  ~IMenuManager() = default;
};

}  // namespace tavrel::gui
