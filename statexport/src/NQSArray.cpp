#include "tavrel/statexport/NQSArray.h"

#include <algorithm>
#include <limits>

#include "tavrel/statexport/NQSParser.h"

namespace tavrel::statexport {

NQSRef<NQSObject> CNQSArrayBody::clone() const {
  auto copy = makeNQS<CNQSArrayBody>(growthStep_);
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    copy->setAt(i, elements_[i] ? elements_[i]->clone() : nullptr);
  }
  return copy;
}

void CNQSArrayBody::parse(std::size_t&, ParseContext&) {}

void CNQSArrayBody::toText(std::string& text) const {
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    if (i > 0) {
      text += ", ";
    }
    if (elements_[i]) {
      elements_[i]->toText(text);
    }
  }
}

void CNQSArrayBody::setAt(std::size_t index, NQSObjectRef element) {
  if (index >= elements_.size()) {
    if (index >= capacity_) {
      const std::size_t step =
          growthStep_ != 0 ? growthStep_ : std::clamp<std::size_t>(elements_.size() / 8, 4, 1024);
      reserve(std::max(capacity_ + step, index + 1));
    }
    elements_.resize(index + 1);
  }
  elements_[index] = std::move(element);
}

void CNQSArrayBody::reserve(std::size_t needed) {
  if (needed > capacity_) {
    capacity_ = needed;
    elements_.reserve(capacity_);
  }
}

NQSRef<NQSObject> NQSArray::clone() const {
  auto copy = makeNQS<NQSArray>();
  copy->setBody(body(), bodyLength());
  copy->elementProlog_ = elementProlog_;
  copy->dimensions_ = dimensions_;
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    copy->elements_.setAt(i, elements_.at(i) ? elements_.at(i)->clone() : nullptr);
  }
  return copy;
}

void NQSArray::parse(std::size_t& pos, ParseContext& context) {
  const std::size_t start = pos;
  NQSLengthObject::parse(pos, context);
  if (bodyLength() == 0) {
    return;
  }
  const NibbleStream& stream = context.stream();
  std::size_t inner = start + 5;
  elementProlog_ = stream.readNibbles5(inner);
  inner += 5;
  const std::uint32_t dimensionCount = stream.readNibbles5(inner);
  inner += 5;
  if (dimensionCount == 0 || !stream.fits(inner, 5 * std::size_t{dimensionCount}) ||
      !context.spend(dimensionCount)) {
    return;
  }
  // Dimensions can multiply to far more elements than the body holds; the context's budget
  // ends the element loop long before memory does.
  std::uint64_t count = 1;
  for (std::uint32_t d = 0; d < dimensionCount; ++d) {
    dimensions_.push_back(stream.readNibbles5(inner));
    inner += 5;
    count = dimensions_.back() == 0
                ? 0
                : std::min<std::uint64_t>(count * dimensions_.back(),
                                          std::numeric_limits<std::uint32_t>::max());
  }
  elements_.reserve(
      static_cast<std::size_t>(std::min<std::uint64_t>(count, context.affordableObjects())));
  for (std::uint64_t i = 0; i < count; ++i) {
    if (!context.spend(ParseContext::kObjectCost)) {
      return;
    }
    NQSObjectRef element = createObject(elementProlog_);
    if (!parseBody(*element, inner, context)) {
      return;
    }
    elements_.setAt(static_cast<std::size_t>(i), std::move(element));
  }
}

void NQSArray::toText(std::string& text) const {
  if (bodyLength() == 0) {
    text += "[ ]";
    return;
  }
  text += "[ ";
  elements_.toText(text);
  text += " ]";
}

}  // namespace tavrel::statexport
