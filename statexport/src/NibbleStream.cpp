#include "tavrel/statexport/NibbleStream.h"

namespace tavrel::statexport {

std::uint32_t NibbleStream::readLittle(std::size_t pos, unsigned count) const {
  std::uint32_t value = 0;
  for (unsigned i = count; i-- > 0;) {
    // pos + i may wrap for positions near the top of the range; such nibbles read as 0.
    value = (value << 4) | nibble(pos + i < pos ? end_ : pos + i);
  }
  return value;
}

void NibbleStream::copyNibbles(std::size_t& pos, std::size_t n,
                               std::vector<std::uint8_t>& out) const {
  out.reserve(out.size() + (n + 1) / 2);
  std::size_t k = 0;
  if (pos % 2 == 0 && fits(pos, n)) {
    // Byte-aligned bodies (the common case) copy whole bytes.
    const std::uint8_t* first = bytes_ + pos / 2;
    out.insert(out.end(), first, first + n / 2);
    k = n - n % 2;
  }
  for (; k < n; k += 2) {
    const unsigned low = nibble(pos + k);
    const unsigned high = (k + 1 < n) ? nibble(pos + k + 1) : 0;
    out.push_back(static_cast<std::uint8_t>(low | (high << 4)));
  }
  pos += n;
}

}  // namespace tavrel::statexport
