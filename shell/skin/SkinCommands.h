#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "skin/SkinCatalog.h"
#include "tavrel/command/CommandInterface.h"
#include "tavrel/gui/MenuManager.h"

namespace tavrel {

// What the skin commands need from the rest of the shell.
struct SkinCommandServices {
  CommandInterface& commands;
  CSkinCatalog& catalog;
  const xml::System& xml;
  // A language text by id (4101-4108: the install and delete dialogs).
  std::function<std::u16string(std::int32_t id)> text;
  // The name of the skin in use; it is never offered for deletion.
  std::function<std::u16string()> currentSkin;
};

// "skin_list", "del_skin_list", "install_skin" and "delete_skin", registered for the
// object's life.
class CSkinCommands {
 public:
  explicit CSkinCommands(SkinCommandServices services);
  ~CSkinCommands();
  CSkinCommands(const CSkinCommands&) = delete;
  CSkinCommands& operator=(const CSkinCommands&) = delete;

  // Fills the menu with one item per installed skin sending "load_skin <name>".
  void skinList(std::u16string menu);
  // The same with "delete_skin <name>", leaving out the skin in use and the 1024x768 skins.
  void deletableSkinList(std::u16string menu);
  // Installs the skin of a "skin.xml" the user chooses.
  void installSkin();
  // Deletes an installed skin's folder after the user agrees.
  void deleteSkin(std::u16string name);

 private:
  gui::IMenuManager& menuManager() const;
  void fillMenu(const std::u16string& menu, const std::u16string& command, bool deletableOnly);
  void tell(std::int32_t textId, const std::u16string& detail, std::int32_t detailEndId) const;

  SkinCommandServices services_;
};

// A command argument: every blank travels as "#".
std::u16string encodeArgument(std::u16string text);

}  // namespace tavrel
