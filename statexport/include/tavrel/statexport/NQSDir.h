// Directories: a chain of named variables, read from the last one in memory back to the first.
#pragma once

#include <memory>
#include <string>

#include "tavrel/statexport/NQSLengthObjects.h"

namespace tavrel::statexport {

// The object the parser creates for a directory is itself the first node of the chain and
// holds the variable count; further nodes hang off it. Chain index 0 is the last variable in
// memory, so memory index i is chain index count - 1 - i.
class NQSDir final : public NQSObject {
 public:
  NQSDir() = default;
  ~NQSDir() override;

  std::uint32_t prolog() const override { return prolog::kDir; }
  const char* typeName() const override { return "Directory"; }
  // New nodes with copied names that share the source's values.
  NQSRef<NQSObject> clone() const override;
  void parse(std::size_t& pos, ParseContext& context) override;
  // "Dir\n", "\tvar #N " with each node's name and value, "\nEnd".
  void toText(std::string& text) const override;

  std::uint32_t variableCount() const { return count_; }
  const NQSIdnt& name() const { return name_; }
  const NQSObjectRef& value() const { return value_; }
  const NQSDir* next() const { return next_.get(); }
  // The node at a chain index, or null past the end of the chain.
  const NQSDir* node(std::size_t chainIndex) const;
  // The variable that comes first in memory, or null in an empty directory.
  const NQSDir* firstInMemory() const;

 private:
  // Reads the variable whose name length sits at namePos into this node; returns the
  // position after its value.
  std::size_t readVariable(std::size_t namePos, ParseContext& context);

  NQSObjectRef value_;
  NQSIdnt name_;
  std::unique_ptr<NQSDir> next_;
  std::uint32_t count_ = 0;
};

}  // namespace tavrel::statexport
