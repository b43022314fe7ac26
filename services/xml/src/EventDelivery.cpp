#include "EventDelivery.h"

#include <memory>

namespace tavrel::xml {
namespace {

struct Releaser {
  void operator()(IXMLSAXContentHandler* handler) const { handler->release(); }
};
using OwnedHandler = std::unique_ptr<IXMLSAXContentHandler, Releaser>;

class ElementContext final : public IXMLParserContext {
 public:
  void setChildHandler(IXMLSAXContentHandler* child) override { child_.reset(child); }
  OwnedHandler takeChild() { return std::move(child_); }

 private:
  OwnedHandler child_;
};

class AttributeList final : public IXMLAttributeList {
 public:
  explicit AttributeList(const std::vector<Attribute>& attributes) : attributes_(attributes) {}

  bool contains(const std::u16string& name) const override { return find(name) != nullptr; }
  std::u16string value(const std::u16string& name) const override {
    const Attribute* attribute = find(name);
    return attribute != nullptr ? attribute->second : std::u16string();
  }
  std::size_t count() const override { return attributes_.size(); }
  std::u16string nameAt(std::size_t index) const override {
    return index < attributes_.size() ? attributes_[index].first : std::u16string();
  }
  std::u16string valueAt(std::size_t index) const override {
    return index < attributes_.size() ? attributes_[index].second : std::u16string();
  }

 private:
  const Attribute* find(const std::u16string& name) const {
    for (const Attribute& attribute : attributes_) {
      if (attribute.first == name) {
        return &attribute;
      }
    }
    return nullptr;
  }

  const std::vector<Attribute>& attributes_;
};

// One open element: the handler that saw its start (and sees its end) and the child handler
// it named for the content, if any.
struct OpenElement {
  IXMLSAXContentHandler* receiver;
  OwnedHandler child;

  IXMLSAXContentHandler* contentHandler() const {
    return child != nullptr ? child.get() : receiver;
  }
};

// Releases the children of elements left open by an exception, innermost first.
class OpenElements {
 public:
  ~OpenElements() {
    while (!elements_.empty()) {
      elements_.pop_back();
    }
  }
  std::vector<OpenElement>& operator*() { return elements_; }

 private:
  std::vector<OpenElement> elements_;
};

}  // namespace

void deliverEvents(const std::vector<DocumentEvent>& events, IXMLSAXContentHandler* root) {
  OwnedHandler rootOwner(root);
  // Declared after the root, so pending children are released before it.
  OpenElements openElements;
  std::vector<OpenElement>& open = *openElements;
  if (root == nullptr) {
    return;
  }
  for (const DocumentEvent& event : events) {
    if (const auto* start = std::get_if<ElementStart>(&event)) {
      IXMLSAXContentHandler* receiver = open.empty() ? root : open.back().contentHandler();
      ElementContext context;
      const AttributeList attributes(start->attributes);
      receiver->startElement(context, start->name, attributes);
      open.push_back(OpenElement{receiver, context.takeChild()});
    } else {
      const auto& end = std::get<ElementEnd>(event);
      IXMLSAXContentHandler* receiver = open.back().receiver;
      open.pop_back();
      receiver->endElement(end.name, end.text);
    }
  }
}

}  // namespace tavrel::xml
