#pragma once

#include "tavrel/gui/SkinInfo.h"
#include "tavrel/xml/ContentHandler.h"

namespace tavrel::gui {

// The content of a skin's "info": "name", "version", "author", "description" and "license",
// each by its text. The record is emptied when the handler is made, so it describes the skin
// read last. Texts are trimmed and cut at kMaxTextLength characters.
class CSkinInfoImporter final : public xml::IXMLSAXContentHandler {
 public:
  explicit CSkinInfoImporter(SkinInfo& info);

  void startElement(xml::IXMLParserContext& context, const std::u16string& name,
                    const xml::IXMLAttributeList& attributes) override;
  void endElement(const std::u16string& name, const std::u16string& text) override;

  static constexpr std::size_t kMaxTextLength = 4096;

 private:
  SkinInfo& info_;
  int depth_ = 0;
};

}  // namespace tavrel::gui
