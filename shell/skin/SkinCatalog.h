#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "tavrel/xml/System.h"

namespace tavrel {

// Skin name -> folder name below "data/skins", sorted by skin name.
using InstalledSkins = std::map<std::u16string, std::u16string>;

// The installed skins. Once a listing finds any, it is kept (with the folder that was current
// then) until forget(); later listings make that folder current again and give the kept map.
class CSkinCatalog {
 public:
  explicit CSkinCatalog(const xml::System& xml) : xml_(xml) {}

  // Lists "data/skins" of the current folder: every folder holding a file named exactly
  // "skin.xml", filed under the name its file gives. Folders are taken in name order, so of
  // two giving the same name the later one wins. A file the parser refuses, or one without a
  // name, is left out with one line on standard error.
  InstalledSkins installed();
  std::optional<std::u16string> folderOf(const std::u16string& name);

  // Files a newly installed skin, keeping the current folder for later listings.
  void add(const std::u16string& name, const std::u16string& folder);
  // Drops the kept map, so the next listing reads the folders again.
  void forget();

 private:
  InstalledSkins enumerate() const;

  const xml::System& xml_;
  InstalledSkins kept_;
  std::filesystem::path keptFolder_;
};

}  // namespace tavrel
