#pragma once

#include <string>

#include "skin/SkinImporter.h"
#include "tavrel/xml/System.h"

namespace tavrel {

// The folder below the current one that holds the installed skins, and each skin's file.
inline constexpr char16_t kSkinsFolder[] = u"data/skins";
inline constexpr char16_t kSkinFileName[] = u"skin.xml";

// The root attributes of a skin file.
struct SkinName {
  std::u16string name;
  std::u16string dir;
};

// Reads only "name" and "dir" of the root "tavrel_skin". Raises xml::XMLParseException for a
// file the parser refuses; a file with another root gives empty values.
SkinName readSkinName(const xml::System& xml, const std::u16string& file);

// Reads the skin file of the installed folder (found through the search path of "data/skins",
// 503 when missing) into the target, after preparing it for a new skin: the description
// reset, the key regions and the hit map cleared.
void importSkin(const xml::System& xml, const std::u16string& folder, SkinImportTarget target);

}  // namespace tavrel
