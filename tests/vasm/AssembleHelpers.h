// Small helpers shared by the assembler tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Assembler.h"

namespace tavrel::vasm::test {

inline std::string hexOf(const std::vector<uint8_t>& nibbles, size_t from = 0) {
  std::string text;
  for (size_t i = from; i < nibbles.size(); ++i) {
    text.push_back("0123456789ABCDEF"[nibbles[i] & 0xF]);
  }
  return text;
}

inline std::string joinErrors(const Assembly& assembly) {
  std::string text;
  for (const std::string& error : assembly.errors) {
    text += error + "\n";
  }
  return text;
}

// The nibbles of `source` assembled from address 0, or "error: ..." with the messages.
inline std::string nibblesOf(std::string_view source) {
  const Assembly assembly = assemble(source);
  if (!assembly.errors.empty()) {
    return "error: " + joinErrors(assembly);
  }
  return hexOf(assembly.nibbles);
}

// The first error message of `source`, or an empty string.
inline std::string firstError(std::string_view source) {
  const Assembly assembly = assemble(source);
  return assembly.errors.empty() ? std::string() : assembly.errors.front();
}

}  // namespace tavrel::vasm::test
