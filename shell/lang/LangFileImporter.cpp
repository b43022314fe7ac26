#include "lang/LangFileImporter.h"

#include "tavrel/xml/AttributeList.h"

namespace tavrel {

CLangFileImporter::CLangFileImporter(std::vector<CTextTable*> tables)
    : tables_(std::move(tables)) {}

void CLangFileImporter::startElement(xml::IXMLParserContext&, const std::u16string& name,
                                     const xml::IXMLAttributeList& attributes) {
  if (name == u"tavrel_lang") {
    fileLanguage_ = attributes.value(u"lang");
  } else if (name == u"msg") {
    const auto id = xml::parseDecimal(attributes.value(u"id"));
    inMessage_ = id.has_value() && *id >= 0;
    messageId_ = inMessage_ ? static_cast<std::uint32_t>(*id) : 0;
    messageLanguage_ = attributes.contains(u"lang") ? attributes.value(u"lang") : fileLanguage_;
  }
}

void CLangFileImporter::endElement(const std::u16string& name, const std::u16string& text) {
  if (name != u"msg" || !inMessage_) {
    return;
  }
  inMessage_ = false;
  for (CTextTable* table : tables_) {
    table->add(messageId_, messageLanguage_, text);
  }
}

}  // namespace tavrel
