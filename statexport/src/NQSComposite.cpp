#include "tavrel/statexport/NQSComposite.h"

#include "tavrel/statexport/NQSParser.h"

namespace tavrel::statexport {

NQSComposite::~NQSComposite() {
  // Unlink one at a time: a recursive teardown of a long chain would exhaust the stack.
  while (first_) {
    first_ = std::move(first_->next);
  }
}

NQSRef<NQSObject> NQSComposite::clone() const {
  NQSRef<NQSObject> copy = createEmpty();
  auto& composite = static_cast<NQSComposite&>(*copy);
  for (const NQSObBody* link = first_.get(); link; link = link->next.get()) {
    composite.append(link->element ? link->element->clone() : nullptr);
  }
  return copy;
}

void NQSComposite::parse(std::size_t& pos, ParseContext& context) {
  for (;;) {
    NQSObjectRef element = parseObject(pos, context);
    if (!element || element->prolog() == prolog::kCompositeEnd) {
      return;
    }
    append(std::move(element));
  }
}

void NQSComposite::toText(std::string& text) const {
  text += openText();
  text += ' ';
  for (const NQSObBody* link = first_.get(); link; link = link->next.get()) {
    if (link != first_.get()) {
      text += ", ";
    }
    if (link->element) {
      link->element->toText(text);
    }
  }
  text += closeText();
}

void NQSComposite::append(NQSObjectRef element) {
  auto link = std::make_unique<NQSObBody>();
  link->element = std::move(element);
  NQSObBody* added = link.get();
  if (last_) {
    last_->next = std::move(link);
  } else {
    first_ = std::move(link);
  }
  last_ = added;
  ++count_;
}

}  // namespace tavrel::statexport
