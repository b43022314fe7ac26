#include "ByteRing.h"

#include <algorithm>

namespace tavrel::datalogger {

std::size_t ByteRing::push(const std::uint8_t* bytes, std::size_t count) {
  std::size_t taken = std::min(count, room());
  for (std::size_t i = 0; i < taken; ++i) {
    slots_[tail_] = bytes[i];
    tail_ = (tail_ + 1) % slots_.size();
  }
  return taken;
}

std::size_t ByteRing::pop(std::uint8_t* bytes, std::size_t count) {
  std::size_t given = std::min(count, size());
  for (std::size_t i = 0; i < given; ++i) {
    bytes[i] = slots_[head_];
    head_ = (head_ + 1) % slots_.size();
  }
  return given;
}

}  // namespace tavrel::datalogger
