#pragma once

#include <map>
#include <string>
#include <vector>

#include "tavrel/Text.h"
#include "tavrel/xml/ContentHandler.h"

namespace tavrel::xmltest {

// Writes every event it gets, and its own release, as a line of the shared log; hands a new
// recording child for the elements named in children ("element" -> child's tag).
class RecordingHandler final : public xml::IXMLSAXContentHandler {
 public:
  RecordingHandler(std::string tag, std::vector<std::string>& log,
                   std::map<std::string, std::string> children = {})
      : tag_(std::move(tag)), log_(log), children_(std::move(children)) {}

  void startElement(xml::IXMLParserContext& context, const std::u16string& name,
                    const xml::IXMLAttributeList& attributes) override {
    std::string line = tag_ + " start " + toUtf8(name);
    for (std::size_t i = 0; i < attributes.count(); ++i) {
      line += " " + toUtf8(attributes.nameAt(i)) + "=" + toUtf8(attributes.valueAt(i));
    }
    log_.push_back(line);
    if (const auto child = children_.find(toUtf8(name)); child != children_.end()) {
      context.setChildHandler(new RecordingHandler(child->second, log_));
    }
  }
  void endElement(const std::u16string& name, const std::u16string& text) override {
    log_.push_back(tag_ + " end " + toUtf8(name) + " [" + toUtf8(text) + "]");
  }
  void destroy() override { log_.push_back(tag_ + " released"); }

 private:
  std::string tag_;
  std::vector<std::string>& log_;
  std::map<std::string, std::string> children_;
};

}  // namespace tavrel::xmltest
