// The Vendel assembler: source text in, nibbles out.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::vasm {

struct Assembly {
  // One nibble per element, element i = address i. Code placed with BANK n >= 4 lands at
  // n * 0x40000 + (address & 0x3FFFF), past the 20-bit address space.
  std::vector<uint8_t> nibbles;
  std::map<std::string, uint32_t> labels;
  std::vector<std::string> errors;  // "file:line: message"
};

// `sourceName` names the source in messages and anchors relative INCLUDEs; includeDir is
// searched next.
Assembly assemble(std::string_view source, const std::filesystem::path& includeDir = {},
                  std::string_view sourceName = "input");

}  // namespace tavrel::vasm
