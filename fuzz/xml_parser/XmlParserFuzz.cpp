// Reads arbitrary bytes as a document and, when it is accepted, delivers its events to
// handlers that name a child for every other element. Checks that every start meets its end
// at the handler that saw it, that attributes read back by name, and that every handler
// made is released exactly once.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "DocumentEvents.h"
#include "EventDelivery.h"

namespace {

struct Tally {
  long made = 0;
  long released = 0;
};

class CheckingHandler final : public tavrel::xml::IXMLSAXContentHandler {
 public:
  explicit CheckingHandler(Tally& tally) : tally_(tally) { ++tally_.made; }

  void startElement(tavrel::xml::IXMLParserContext& context, const std::u16string& name,
                    const tavrel::xml::IXMLAttributeList& attributes) override {
    open_.push_back(name);
    // Repeated attribute names are refused by the reader, so each name finds its own value.
    for (std::size_t i = 0; i < attributes.count(); ++i) {
      const std::u16string attributeName = attributes.nameAt(i);
      if (!attributes.contains(attributeName) ||
          attributes.value(attributeName) != attributes.valueAt(i)) {
        std::abort();
      }
    }
    if (open_.size() % 2 == 1) {
      context.setChildHandler(new CheckingHandler(tally_));
    }
  }
  void endElement(const std::u16string& name, const std::u16string&) override {
    if (open_.empty() || open_.back() != name) {
      std::abort();
    }
    open_.pop_back();
  }
  void destroy() override { ++tally_.released; }

 private:
  Tally& tally_;
  std::vector<std::u16string> open_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  auto outcome = tavrel::xml::readDocumentEvents(bytes);
  if (const auto* events = std::get_if<std::vector<tavrel::xml::DocumentEvent>>(&outcome)) {
    Tally tally;
    tavrel::xml::deliverEvents(*events, new CheckingHandler(tally));
    if (tally.made != tally.released) {
      std::abort();
    }
  }
  return 0;
}
