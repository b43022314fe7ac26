#pragma once

#include <functional>

#include "keys/KeyMapImporter.h"
#include "skin/SearchPath.h"
#include "skin/SkinDescription.h"
#include "tavrel/xml/ContentHandler.h"

namespace tavrel {

// Handlers of other services for the parts of a skin the shell does not read itself. Each
// gives a new handler owned by the parser, or null to skip the part.
struct SkinSectionHandlers {
  // "msg_map": the skin's language texts.
  std::function<xml::IXMLSAXContentHandler*()> messages;
  // "info": from the GUI service's "loadSkinInfo".
  std::function<xml::IXMLSAXContentHandler*()> info;
  // "menu_bar": from the menu manager, told whether the windowed style is not "POPUP".
  std::function<xml::IXMLSAXContentHandler*(bool notPopup)> menuBar;
};

// Where a skin file's content goes while it is read.
struct SkinImportTarget {
  SkinDescription& skin;
  KeyMap& keys;
  // Null: no key region and no PC key is filed.
  ICommandCache* cache = nullptr;
  RegionPainterBinder bindPainter;
  SkinSectionHandlers sections;
};

// The handler for a whole "skin.xml": hands each part to its own importer. Pictures are
// looked up in the skin folder, then in "data/skins".
class CSkinImporter final : public xml::IXMLSAXContentHandler {
 public:
  CSkinImporter(SkinImportTarget target, CSearchPath viewSearchPath);

  void startElement(xml::IXMLParserContext& context, const std::u16string& name,
                    const xml::IXMLAttributeList& attributes) override;
  void endElement(const std::u16string& name, const std::u16string& text) override;

 private:
  void startSection(xml::IXMLParserContext& context, const std::u16string& name);

  SkinImportTarget target_;
  CSearchPath searchPath_;
  int depth_ = 0;
  bool isSkin_ = false;
};

// The search path of a skin's pictures: "<skins>/", searched after "<skins>/<folder>/".
CSearchPath viewSearchPath(const std::u16string& skinsFolder, const std::u16string& skinFolder);

}  // namespace tavrel
