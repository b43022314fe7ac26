// Arrays: a counted body holding dimensions and elements written without their prologs.
#pragma once

#include <cstdint>
#include <vector>

#include "tavrel/statexport/NQSLengthObjects.h"

namespace tavrel::statexport {

// A growable table of shared element pointers.
class CNQSArrayBody final : public NQSObject {
 public:
  explicit CNQSArrayBody(std::size_t growthStep = 0) : growthStep_(growthStep) {}

  std::uint32_t prolog() const override { return prolog::kArrayBody; }
  const char* typeName() const override { return "Array Body"; }
  NQSRef<NQSObject> clone() const override;
  // The owning array fills the table; the table itself has nothing to read.
  void parse(std::size_t& pos, ParseContext& context) override;
  // The elements' texts joined by ", ".
  void toText(std::string& text) const override;

  std::size_t size() const { return elements_.size(); }
  std::size_t capacity() const { return capacity_; }
  const NQSObjectRef& at(std::size_t index) const { return elements_[index]; }
  // Stores an element, growing the table when index lies beyond it.
  void setAt(std::size_t index, NQSObjectRef element);
  // Makes room for at least `needed` elements at once.
  void reserve(std::size_t needed);

 private:
  std::vector<NQSObjectRef> elements_;
  std::size_t capacity_ = 0;
  std::size_t growthStep_;
};

class NQSArray final : public NQSLengthObject {
 public:
  std::uint32_t prolog() const override { return prolog::kArray; }
  const char* typeName() const override { return "Array"; }
  NQSRef<NQSObject> createEmpty() const override { return makeNQS<NQSArray>(); }
  NQSRef<NQSObject> clone() const override;
  void parse(std::size_t& pos, ParseContext& context) override;
  // "[ ", the elements' texts joined by ", ", " ]"; "[ ]" without a body.
  void toText(std::string& text) const override;

  std::uint32_t elementProlog() const { return elementProlog_; }
  const std::vector<std::uint32_t>& dimensions() const { return dimensions_; }
  const CNQSArrayBody& elements() const { return elements_; }
  std::size_t elementCount() const { return elements_.size(); }

 private:
  std::uint32_t elementProlog_ = 0;
  std::vector<std::uint32_t> dimensions_;
  CNQSArrayBody elements_;
};

}  // namespace tavrel::statexport
