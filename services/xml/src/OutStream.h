#pragma once

#include <string>
#include <vector>

#include "tavrel/xml/OutStream.h"

namespace tavrel::xml {

// Builds the document as text; names that are not plain XML names and calls out of order
// are refused with one line on standard error and change nothing.
class COutStream final : public IXMLOutStream {
 public:
  void startElement(const std::u16string& name) override;
  void attribute(const std::u16string& name, const std::u16string& value) override;
  void text(const std::u16string& text) override;
  void endElement() override;
  std::u16string document() override;
  bool save(const std::u16string& fileName) override;

 private:
  void closeStartTag();

  std::u16string written_;
  std::vector<std::u16string> open_;
  bool startTagOpen_ = false;
  bool rootClosed_ = false;
};

}  // namespace tavrel::xml
