#include "SkinInfoImporter.h"

namespace tavrel::gui {
namespace {

std::u16string trimmed(const std::u16string& text) {
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && blank(text[first])) {
    ++first;
  }
  while (last > first && blank(text[last - 1])) {
    --last;
  }
  return text.substr(first, std::min(last - first, CSkinInfoImporter::kMaxTextLength));
}

}  // namespace

CSkinInfoImporter::CSkinInfoImporter(SkinInfo& info) : info_(info) {
  info_ = SkinInfo{};
}

void CSkinInfoImporter::startElement(xml::IXMLParserContext&, const std::u16string&,
                                     const xml::IXMLAttributeList&) {
  ++depth_;
}

void CSkinInfoImporter::endElement(const std::u16string& name, const std::u16string& text) {
  if (depth_-- != 1) {
    return;  // only the elements directly inside "info" count
  }
  std::u16string SkinInfo::*field = nullptr;
  if (name == u"name") {
    field = &SkinInfo::name;
  } else if (name == u"version") {
    field = &SkinInfo::version;
  } else if (name == u"author") {
    field = &SkinInfo::author;
  } else if (name == u"description") {
    field = &SkinInfo::description;
  } else if (name == u"license") {
    field = &SkinInfo::license;
  }
  if (field != nullptr) {
    info_.*field = trimmed(text);
  }
}

}  // namespace tavrel::gui
