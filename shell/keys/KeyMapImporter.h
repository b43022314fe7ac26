#pragma once

#include <functional>
#include <optional>
#include <string>

#include "keys/HitMap.h"
#include "keys/KeyRegion.h"
#include "keys/PcKeyTables.h"
#include "keys/RegionManager.h"
#include "tavrel/command/ICommandCache.h"
#include "tavrel/xml/ContentHandler.h"

namespace tavrel {

// Gives a painter that draws the region through the GUI export of that name (empty when the
// GUI service lacks it).
using RegionPainterBinder =
    std::function<RegionPainter(const std::u16string& exportName, const KeyRegion& region)>;

// The key parts of the loaded skin, filled while its "emu_keys" element is read.
struct KeyMap {
  CRegionManager regions;
  CHitMap hitMap;
  PcKeyTables pcKeys;
};

// Reads the content of a skin's "emu_keys" element into a key map. Command ids come from
// the cache; without a cache no region and no PC key is filed.
class CKeyMapImporter final : public xml::IXMLSAXContentHandler {
 public:
  // Clears the PC key tables: each "emu_keys" element starts them afresh.
  CKeyMapImporter(KeyMap& keys, ICommandCache* cache, RegionPainterBinder bindPainter);

  void startElement(xml::IXMLParserContext& context, const std::u16string& name,
                    const xml::IXMLAttributeList& attributes) override;
  void endElement(const std::u16string& name, const std::u16string& text) override;

  static constexpr char16_t kResetPainter[] = u"resetViewportRegion";

 private:
  // The key whose regions and PC keys follow, until the next "emu_key_code" or "command".
  struct Definition {
    std::u16string name;
    std::u16string press;
    std::u16string release;
    bool emulatorKey = true;
  };

  void fileRegion();
  void mapPcKey(const std::u16string& text);

  KeyMap& keys_;
  ICommandCache* cache_;
  RegionPainterBinder bindPainter_;
  std::optional<Definition> definition_;
  // The "pixel_region" being read.
  std::optional<KeyRegion> region_;
  std::u16string painterName_;
};

}  // namespace tavrel
