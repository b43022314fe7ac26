#pragma once

#include <string>

namespace tavrel::gui {

// What a skin's "info" element says about it. The GUI service's "loadSkinInfo" handler fills
// the record of the loaded skin; the command "getSkinInfo" gives a pointer to it (owned by the
// GUI service, valid until the next skin load).
struct SkinInfo {
  std::u16string name;
  std::u16string version;
  std::u16string author;
  std::u16string description;
  std::u16string license;
};

}  // namespace tavrel::gui
