// Random memory, start, limit and prolog for the object walker: it must stay inside the
// memory it is given (the sanitizers watch the reads), end, and give either the failure
// value or a size that ends by the limit.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ObjectWalker.h"

namespace {

uint32_t take32(const uint8_t* data) {
  uint32_t v;
  std::memcpy(&v, data, sizeof v);
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kHeader = 12;
  constexpr uint64_t kRegionStart = 0x200;  // nibble position of the first byte
  if (size < kHeader)
    return 0;
  // An exact-size copy, so that any read past the end is caught.
  const std::vector<uint8_t> memory(data + kHeader, data + size);
  const uint64_t span = 2 * uint64_t{memory.size()} + 64;
  // Start and limit land mostly in and around the region, sometimes before it.
  const uint32_t start = static_cast<uint32_t>(kRegionStart - 32 + take32(data) % span);
  const uint32_t limit = static_cast<uint32_t>(kRegionStart - 32 + take32(data + 4) % span);
  const uint32_t prolog = (data[8] & 1) ? take32(data + 8) & 0xFFFFF : 0;
  const tavrel::machine::NibbleRegion region{kRegionStart, memory};
  const uint32_t result = tavrel::machine::objectSize({&region, 1}, start, limit, prolog);
  if (result != tavrel::machine::kObjectWalkFailed && (limit < start || result > limit - start)) {
    std::abort();
  }
  return 0;
}
