// The Vendel instruction set as one table of nibble patterns, shared by the assembler and the
// disassembler so that the two can never disagree about an encoding.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel::isa {

// One row of the table. Each character of `pattern` stands for one nibble:
//   0-9 A-F  that nibble, fixed
//   a        field code 0..7 (P..W)             b  field code 0..7, stored plus 8
//   f        any field code 0..15               k  nibble count 1..16, stored minus 1
//   n        number 0..15                       m  number 1..16, stored minus 1
//   h...     absolute value, lowest nibble first
//   r...     signed offset from the offset's first nibble
//   s...     signed offset from the end of the instruction
//   c        digit count minus 1, followed by that many digits (LC, LA)
struct Instruction {
  std::string mnemonic;  // upper case; empty for encodings that execute as nothing
  std::string pattern;
  int fixedField = -1;      // field the mnemonic implies without a field nibble (15 = A, 6 = B)
  bool lowNibbles = false;  // an 'h' value keeps only its low nibbles (partial pointer loads)

  bool reserved() const { return mnemonic.empty(); }
  // A test sets carry and is followed by GOYES or RTNYES.
  bool isTest() const { return !mnemonic.empty() && mnemonic.front() == '?'; }
  char fieldKind() const;    // one of "abfk", or 0
  char operandKind() const;  // one of "nmhrsc", or 0
  bool takesField() const { return fieldKind() != 0 || fixedField >= 0; }
  // Fixed length in nibbles; for 'c' patterns the length without the digits.
  int baseLength() const;
};

// Every row, in decoding priority order (specific encodings before the catch-alls).
const std::vector<Instruction>& instructionTable();

// The rows that share one mnemonic, in table order; empty when the mnemonic is unknown.
std::vector<const Instruction*> rowsFor(std::string_view mnemonic);

// What a statement writes where a field goes: a field name, a number (a nibble count), or
// nothing when the statement has no operands.
struct FieldOperand {
  enum class Kind { None, Name, Number } kind = Kind::None;
  int code = -1;  // field code when kind is Name
};

// The row the assembler uses for `mnemonic` with these operands: the first row, in table
// order, whose field and operand count fit. nullptr when none does.
const Instruction* selectRow(std::string_view mnemonic, FieldOperand field, size_t operandCount);

inline constexpr int kFieldA = 15;
inline constexpr int kFieldB = 6;

// Field names: P WP XS X S M B W, F8..F14 for the user fields, A for code 15.
std::optional<int> fieldCode(std::string_view name);
std::string fieldName(int code);

}  // namespace tavrel::isa
