#pragma once

#include <optional>

#include "skin/SearchPath.h"
#include "tavrel/gui/DisplaySettings.h"
#include "tavrel/xml/ContentHandler.h"

namespace tavrel {

// A colour component of a skin: 0-255, values outside clamped to the nearest end.
std::uint8_t colourComponent(const xml::IXMLAttributeList& attributes, const std::u16string& name);

// Reads the content of a view's "lcd" element.
class CLcdImporter final : public xml::IXMLSAXContentHandler {
 public:
  explicit CLcdImporter(gui::LCDSettings& lcd) : lcd_(lcd) {}

  void startElement(xml::IXMLParserContext& context, const std::u16string& name,
                    const xml::IXMLAttributeList& attributes) override;
  void endElement(const std::u16string&, const std::u16string&) override {}

 private:
  gui::LCDSettings& lcd_;
};

// Reads the content of a view's "announciator" element; the strip's image is looked up
// through the view's search path (a missing one raises 503).
class CAnnounciatorImporter final : public xml::IXMLSAXContentHandler {
 public:
  CAnnounciatorImporter(gui::AnnounciatorSettings& strip, const CSearchPath& searchPath)
      : strip_(strip), searchPath_(searchPath) {}

  void startElement(xml::IXMLParserContext& context, const std::u16string& name,
                    const xml::IXMLAttributeList& attributes) override;
  void endElement(const std::u16string& name, const std::u16string& text) override;

 private:
  void readIcon(const std::u16string& name, const xml::IXMLAttributeList& attributes);

  gui::AnnounciatorSettings& strip_;
  const CSearchPath& searchPath_;
  // Inside an "icon": its index, or none while inside one whose index is out of range.
  std::optional<int> icon_;
  bool insideIcon_ = false;
};

}  // namespace tavrel
