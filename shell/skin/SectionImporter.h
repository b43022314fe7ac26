#pragma once

#include <string>

#include "tavrel/xml/ContentHandler.h"

namespace tavrel {

// A content handler that answers only the elements directly inside its own element, so an
// unknown element cannot smuggle in a known one below it.
class CSectionImporter : public xml::IXMLSAXContentHandler {
 public:
  void startElement(xml::IXMLParserContext& context, const std::u16string& name,
                    const xml::IXMLAttributeList& attributes) final {
    if (depth_++ == 0) {
      startChild(context, name, attributes);
    }
  }
  void endElement(const std::u16string& name, const std::u16string& text) final {
    if (--depth_ == 0) {
      endChild(name, text);
    }
  }

 protected:
  virtual void startChild(xml::IXMLParserContext& context, const std::u16string& name,
                          const xml::IXMLAttributeList& attributes) = 0;
  virtual void endChild(const std::u16string&, const std::u16string&) {}

 private:
  int depth_ = 0;
};

}  // namespace tavrel
