#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tavrel::gui {

struct MenuOutline;

// One line of a menu: an item that runs a command line, a separator, or a sub-menu.
struct MenuEntry {
  enum class Kind { Item, Separator, Submenu };
  Kind kind = Kind::Item;
  std::u16string label;
  std::u16string commandLine;
  std::shared_ptr<MenuOutline> submenu;
};

// A menu as a skin's "menu_bar" describes it. A menu with a fill command is emptied and
// filled by running "<fill> <name>" whenever it opens.
struct MenuOutline {
  std::u16string label;
  std::u16string name;
  std::u16string fill;
  std::vector<MenuEntry> entries;
};

}  // namespace tavrel::gui
