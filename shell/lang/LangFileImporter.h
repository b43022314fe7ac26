#pragma once

#include <string>
#include <vector>

#include "lang/TextTable.h"
#include "tavrel/xml/ContentHandler.h"

namespace tavrel {

// Reads language texts: "tavrel_lang" with "lang" (the code of the texts that follow) and
// "msg" with "id" (decimal) and optional "lang", its text content being the text. Each text
// goes to every table given. A "msg" whose id is missing, negative or not a number is
// skipped.
class CLangFileImporter final : public xml::IXMLSAXContentHandler {
 public:
  explicit CLangFileImporter(std::vector<CTextTable*> tables);

  void startElement(xml::IXMLParserContext& context, const std::u16string& name,
                    const xml::IXMLAttributeList& attributes) override;
  void endElement(const std::u16string& name, const std::u16string& text) override;

 private:
  std::vector<CTextTable*> tables_;
  std::u16string fileLanguage_;
  // The "msg" being read: its id and language; none between messages.
  bool inMessage_ = false;
  std::uint32_t messageId_ = 0;
  std::u16string messageLanguage_;
};

}  // namespace tavrel
