#include "tavrel/statexport/NQSDir.h"

#include "tavrel/statexport/NQSParser.h"

namespace tavrel::statexport {

NQSDir::~NQSDir() {
  // Unlink one node at a time: a recursive teardown of a long chain would exhaust the stack.
  while (next_) {
    next_ = std::move(next_->next_);
  }
}

const NQSDir* NQSDir::node(std::size_t chainIndex) const {
  if (chainIndex >= count_) {
    return nullptr;
  }
  const NQSDir* node = this;
  for (std::size_t i = 0; node && i < chainIndex; ++i) {
    node = node->next_.get();
  }
  return node;
}

const NQSDir* NQSDir::firstInMemory() const {
  return count_ == 0 ? nullptr : node(count_ - 1);
}

NQSRef<NQSObject> NQSDir::clone() const {
  auto copy = makeNQS<NQSDir>();
  NQSDir* target = copy.get();
  for (const NQSDir* node = this; node; node = node->next_.get()) {
    if (node != this) {
      target->next_ = std::make_unique<NQSDir>();
      target = target->next_.get();
    }
    target->name_.setBody(node->name_.body(), node->name_.bodyLength());
    target->value_ = node->value_;
  }
  copy->count_ = count_;
  return copy;
}

std::size_t NQSDir::readVariable(std::size_t namePos, ParseContext& context) {
  std::size_t pos = namePos;
  name_.parse(pos, context);
  // A nameless variable has no second length field.
  const std::uint32_t length = context.stream().readNibbles2(namePos);
  std::size_t valuePos = length == 0 ? namePos + 2 : namePos + 2 * std::size_t{length} + 4;
  value_ = parseObject(valuePos, context);
  return valuePos;
}

void NQSDir::parse(std::size_t& pos, ParseContext& context) {
  const NibbleStream& stream = context.stream();
  if (stream.readNibbles5(pos + 3) == 0) {
    pos += 8;
    return;
  }
  std::size_t lastNamePos = 0;
  if (stream.readNibbles5(pos + 8) == 0) {
    lastNamePos = pos + 3 + stream.readNibbles5(pos + 3);
  } else {
    pos += (stream.readNibbles5(pos) & 0xFFF) * 13 + 3;
    const std::uint32_t offset = stream.readNibbles5(pos);
    if (offset == 0) {
      pos += 5;
      return;
    }
    if (stream.readNibbles5(pos + 5) != 0) {
      return;
    }
    lastNamePos = pos + offset;
  }

  const std::size_t after = readVariable(lastNamePos, context);
  count_ = 1;
  // Each variable's back link leads to the one before it in memory; links strictly
  // decrease the position, and one that points before the buffer wraps past its end.
  NQSDir* tailNode = this;
  std::size_t namePos = lastNamePos;
  for (;;) {
    const std::size_t linkPos = namePos - 5;
    const std::uint32_t link = stream.readNibbles5(linkPos);
    const std::size_t previous = linkPos - link;
    if (link == 0 || previous >= stream.end() || !context.spend(ParseContext::kObjectCost)) {
      break;
    }
    tailNode->next_ = std::make_unique<NQSDir>();
    tailNode = tailNode->next_.get();
    tailNode->readVariable(previous, context);
    ++count_;
    namePos = previous;
  }
  pos = after;
}

void NQSDir::toText(std::string& text) const {
  text += "Dir\n";
  const NQSDir* node = this;
  for (std::uint32_t i = 0; node && i < count_; ++i, node = node->next_.get()) {
    text += "\tvar #";
    text += std::to_string(count_ - i);
    text += ' ';
    node->name_.toText(text);
    if (node->value_) {
      node->value_->toText(text);
    }
  }
  text += "\nEnd";
}

}  // namespace tavrel::statexport
