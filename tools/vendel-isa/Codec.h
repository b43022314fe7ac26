// Turning one table row plus operand values into nibbles, and nibbles back into a row.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "InstructionSet.h"

namespace tavrel::isa {

struct Operands {
  int field = -1;     // field code, or the nibble count for 'k' rows
  int64_t value = 0;  // number, absolute value, or target address for relative rows
  int digits = 0;     // number of constant digits for 'c' rows
};

// Number of nibbles the row occupies with these operands.
int encodedLength(const Instruction& row, const Operands& operands);

// Appends the encoding of `row` placed at `address`. Returns an error text (empty on success);
// on error nothing is appended.
std::string encode(const Instruction& row, const Operands& operands, int64_t address,
                   std::vector<uint8_t>& out);

struct Decoded {
  const Instruction* row = nullptr;
  Operands operands;
  int length = 0;
};

// The first row of the table that matches the nibbles at the start of `code`, which sit at
// `address`. Empty when `code` ends before any row is complete.
std::optional<Decoded> decode(std::span<const uint8_t> code, int64_t address);

// The two nibbles that follow a test: RTNYES (00) or GOYES.
std::optional<Decoded> decodeTestTail(std::span<const uint8_t> code, int64_t address);

// Signed range of an offset or value of `nibbles` nibbles.
int64_t signedLimit(int nibbles);  // 16^n / 2

}  // namespace tavrel::isa
