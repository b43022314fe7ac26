#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrel::datalogger {

// A ring of a fixed number of slots holding at most one byte fewer.
class ByteRing {
 public:
  explicit ByteRing(std::size_t slots) : slots_(slots) {}

  std::size_t size() const { return (tail_ + slots_.size() - head_) % slots_.size(); }
  std::size_t room() const { return slots_.size() - 1 - size(); }
  void clear() { head_ = tail_ = 0; }
  // Appends as many bytes as fit; the count appended.
  std::size_t push(const std::uint8_t* bytes, std::size_t count);
  // Takes up to count bytes out; the count taken.
  std::size_t pop(std::uint8_t* bytes, std::size_t count);

 private:
  std::vector<std::uint8_t> slots_;
  std::size_t head_ = 0;
  std::size_t tail_ = 0;
};

}  // namespace tavrel::datalogger
