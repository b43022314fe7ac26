// Random source text never crashes the assembler, and whatever it assembles survives a trip
// through the disassembler.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "Assembler.h"
#include "Disassembler.h"

namespace {

constexpr size_t kMaxInput = 1 << 16;
constexpr size_t kMaxRoundTrip = 4096;

// INCLUDE would read whatever file the input names; that belongs to the file tests.
bool mentionsInclude(std::string_view text) {
  for (size_t i = 0; i + 7 <= text.size(); ++i) {
    bool match = true;
    for (size_t k = 0; k < 7 && match; ++k) {
      match = (text[i + k] | 0x20) == "include"[k];
    }
    if (match) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxInput) {
    return 0;
  }
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  if (mentionsInclude(source)) {
    return 0;
  }
  const tavrel::vasm::Assembly assembly = tavrel::vasm::assemble(source);
  if (!assembly.errors.empty() || assembly.nibbles.empty()) {
    return 0;
  }
  // Round-trip the first nibbles of the image; the nibbles are arbitrary but valid input.
  const size_t count = std::min(assembly.nibbles.size(), kMaxRoundTrip);
  tavrel::vdis::Region region;
  region.nibbles = std::span<const uint8_t>(assembly.nibbles).first(count);
  const tavrel::vasm::Assembly again = tavrel::vasm::assemble(tavrel::vdis::disassemble(region));
  if (!again.errors.empty() || again.nibbles.size() < count ||
      !std::equal(region.nibbles.begin(), region.nibbles.end(), again.nibbles.begin())) {
    std::abort();
  }
  return 0;
}
