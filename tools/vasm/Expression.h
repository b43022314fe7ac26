// Integer expressions of the assembler: numbers, symbols, the current address and + - * /.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tavrel::vasm {

struct ExpressionResult {
  int64_t value = 0;
  std::string error;  // empty on success
};

// Returns the symbol's value, or sets `error` (undefined, circular, ...) and returns nothing.
using SymbolLookup =
    std::function<std::optional<int64_t>(std::string_view name, std::string& error)>;

// Numbers: decimal 123, hexadecimal #1F or 0x1F, character 'A'. `$` is the current address.
ExpressionResult evaluate(std::string_view text, int64_t currentAddress,
                          const SymbolLookup& lookup);

// True for a name that may be used as a label or symbol.
bool isSymbolName(std::string_view name);

}  // namespace tavrel::vasm
