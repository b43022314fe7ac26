// What one parse of outside bytes may spend: the stream, a work budget and a nesting limit.
#pragma once

#include <cstddef>

#include "tavrel/statexport/NibbleStream.h"

namespace tavrel::statexport {

// Object bodies can point at each other (directory back links, array dimensions), so hostile
// input could otherwise make a small buffer produce a huge or very deep tree. Each object
// created and each nibble copied costs budget; once it is spent, or nesting gets too deep,
// the parse ends as if the buffer had ended there. Well-formed input never comes close.
class ParseContext {
 public:
  static constexpr std::size_t kObjectCost = 16;
  static constexpr std::size_t kBudgetPerNibble = 16;
  static constexpr std::size_t kBudgetFloor = 4096;
  static constexpr unsigned kMaxDepth = 512;

  explicit ParseContext(const NibbleStream& stream)
      : stream_(stream), budget_(stream.end() * kBudgetPerNibble + kBudgetFloor) {}

  const NibbleStream& stream() const { return stream_; }
  std::size_t end() const { return stream_.end(); }

  // Takes units from the budget; false (and the parse is over) when they are not there.
  bool spend(std::size_t units) {
    if (stopped_ || units > budget_) {
      stopped_ = true;
      return false;
    }
    budget_ -= units;
    return true;
  }
  std::size_t affordableObjects() const { return stopped_ ? 0 : budget_ / kObjectCost; }

  // Nesting guard for one object body; false (and the parse is over) beyond the limit.
  bool enter() {
    if (stopped_ || depth_ >= kMaxDepth) {
      stopped_ = true;
      return false;
    }
    ++depth_;
    return true;
  }
  void leave() { --depth_; }

 private:
  const NibbleStream& stream_;
  std::size_t budget_;
  unsigned depth_ = 0;
  bool stopped_ = false;
};

}  // namespace tavrel::statexport
