#pragma once

#include "keys/EmulatorKeySet.h"
#include "tavrel/xml/ContentHandler.h"

namespace tavrel {

// Reads the key set file: "key" (attribute "code") starts a key, the text of each "id"
// adds a name to it.
class CKeySetImporter final : public xml::IXMLSAXContentHandler {
 public:
  explicit CKeySetImporter(CEmulatorKeySet& keys) : keys_(keys) {}

  void startElement(xml::IXMLParserContext& context, const std::u16string& name,
                    const xml::IXMLAttributeList& attributes) override;
  void endElement(const std::u16string& name, const std::u16string& text) override;

 private:
  CEmulatorKeySet& keys_;
};

}  // namespace tavrel
