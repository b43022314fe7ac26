#include "keys/KeySetImporter.h"

#include "keys/KeyText.h"

namespace tavrel {

void CKeySetImporter::startElement(xml::IXMLParserContext&, const std::u16string& name,
                                   const xml::IXMLAttributeList& attributes) {
  if (name == u"key") {
    keys_.startKey(xml::decimalAttribute(attributes, u"code"));
  }
}

void CKeySetImporter::endElement(const std::u16string& name, const std::u16string& text) {
  if (name != u"id") {
    return;
  }
  // Names travel as single command arguments, so the blanks of the file's layout are no
  // part of them, and an empty name could never be asked for.
  std::u16string keyName = trimBlanks(text);
  if (!keyName.empty()) {
    keys_.addName(std::move(keyName));
  }
}

}  // namespace tavrel
