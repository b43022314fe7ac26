#include "Codec.h"

#include <array>

namespace tavrel::isa {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

// Length of the run of `c` that starts at `from`.
int runLength(const std::string& pattern, size_t from) {
  size_t end = from;
  while (end < pattern.size() && pattern[end] == pattern[from]) {
    ++end;
  }
  return static_cast<int>(end - from);
}

void appendValue(uint64_t value, int nibbles, std::vector<uint8_t>& out) {
  for (int i = 0; i < nibbles; ++i) {
    out.push_back(static_cast<uint8_t>((value >> (4 * i)) & 0xF));
  }
}

uint64_t readValue(std::span<const uint8_t> code, size_t from, int nibbles) {
  uint64_t value = 0;
  for (int i = 0; i < nibbles; ++i) {
    value |= static_cast<uint64_t>(code[from + i] & 0xF) << (4 * i);
  }
  return value;
}

int64_t signExtend(uint64_t value, int nibbles) {
  const int64_t half = signedLimit(nibbles);
  const auto v = static_cast<int64_t>(value);
  return v >= half ? v - 2 * half : v;
}

// True when `value` can be stored in `nibbles` nibbles, as an unsigned or a two's complement
// number.
bool fitsNibbles(int64_t value, int nibbles) {
  if (nibbles >= 16) {
    return true;
  }
  return value >= -signedLimit(nibbles) && value < 2 * signedLimit(nibbles);
}

std::string hex(int64_t value) {
  static const char* digits = "0123456789ABCDEF";
  if (value < 0) {
    return "-" + hex(-value);
  }
  std::string text;
  do {
    text.insert(text.begin(), digits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return "#" + text;
}

std::string checkField(const Instruction& row, const Operands& operands) {
  switch (row.fieldKind()) {
    case 'a':
    case 'b':
      if (operands.field < 0 || operands.field > 7) {
        return "field must be one of P, WP, XS, X, S, M, B, W";
      }
      return {};
    case 'f':
      if (operands.field < 0 || operands.field > 15) {
        return "field code out of range";
      }
      return {};
    case 'k':
      if (operands.field < 1 || operands.field > 16) {
        return "nibble count " + std::to_string(operands.field) + " out of range 1..16";
      }
      return {};
    default:
      if (row.fixedField >= 0 && operands.field != row.fixedField) {
        return "field must be " + fieldName(row.fixedField);
      }
      return {};
  }
}

std::string checkOperand(const Instruction& row, const Operands& operands, int64_t address) {
  const std::string& pattern = row.pattern;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char kind = pattern[i];
    if (kind == 'n' && (operands.value < 0 || operands.value > 15)) {
      return "value " + std::to_string(operands.value) + " out of range 0..15";
    }
    if (kind == 'm' && (operands.value < 1 || operands.value > 16)) {
      return "value " + std::to_string(operands.value) + " out of range 1..16";
    }
    if (kind == 'h') {
      const int width = runLength(pattern, i);
      if (!row.lowNibbles && !fitsNibbles(operands.value, width)) {
        return "value " + hex(operands.value) + " does not fit in " + std::to_string(width) +
               " nibbles";
      }
      return {};
    }
    if (kind == 'r' || kind == 's') {
      const int width = runLength(pattern, i);
      const int64_t base = address + (kind == 'r' ? static_cast<int64_t>(i) : pattern.size());
      const int64_t offset = operands.value - base;
      const int64_t limit = signedLimit(width);
      if (offset < -limit || offset >= limit) {
        return "target out of reach: offset " + std::to_string(offset) + ", range " +
               std::to_string(-limit) + ".." + std::to_string(limit - 1);
      }
      if (width == 2 && offset == 0) {
        return "target out of reach: offset 0 means return (use RTNYES, RTNC or RTNNC)";
      }
      return {};
    }
    if (kind == 'c') {
      if (operands.digits < 1 || operands.digits > 16) {
        return "constant of " + std::to_string(operands.digits) + " digits, allowed 1..16";
      }
      if (!fitsNibbles(operands.value, operands.digits)) {
        return "value " + hex(operands.value) + " does not fit in " +
               std::to_string(operands.digits) + " nibbles";
      }
    }
  }
  return {};
}

}  // namespace

int64_t signedLimit(int nibbles) {
  return int64_t{1} << (4 * nibbles - 1);
}

int encodedLength(const Instruction& row, const Operands& operands) {
  return row.baseLength() + (row.operandKind() == 'c' ? operands.digits : 0);
}

std::string encode(const Instruction& row, const Operands& operands, int64_t address,
                   std::vector<uint8_t>& out) {
  if (std::string error = checkField(row, operands); !error.empty()) {
    return error;
  }
  if (std::string error = checkOperand(row, operands, address); !error.empty()) {
    return error;
  }
  const std::string& pattern = row.pattern;
  for (size_t i = 0; i < pattern.size();) {
    const char kind = pattern[i];
    int width = 1;
    switch (kind) {
      case 'a':
      case 'f':
        out.push_back(static_cast<uint8_t>(operands.field));
        break;
      case 'b':
        out.push_back(static_cast<uint8_t>(operands.field + 8));
        break;
      case 'k':
        out.push_back(static_cast<uint8_t>(operands.field - 1));
        break;
      case 'n':
        out.push_back(static_cast<uint8_t>(operands.value));
        break;
      case 'm':
        out.push_back(static_cast<uint8_t>(operands.value - 1));
        break;
      case 'h':
        width = runLength(pattern, i);
        appendValue(static_cast<uint64_t>(operands.value), width, out);
        break;
      case 'r':
      case 's': {
        width = runLength(pattern, i);
        const int64_t base = address + (kind == 'r' ? static_cast<int64_t>(i) : pattern.size());
        appendValue(static_cast<uint64_t>(operands.value - base), width, out);
        break;
      }
      case 'c':
        out.push_back(static_cast<uint8_t>(operands.digits - 1));
        appendValue(static_cast<uint64_t>(operands.value), operands.digits, out);
        break;
      default:
        out.push_back(static_cast<uint8_t>(hexValue(kind)));
        break;
    }
    i += width;
  }
  return {};
}

namespace {

// Matches one row; fills `decoded` when every nibble fits.
bool matchRow(const Instruction& row, std::span<const uint8_t> code, int64_t address,
              Decoded& decoded) {
  const std::string& pattern = row.pattern;
  if (code.size() < pattern.size()) {
    return false;
  }
  Operands operands;
  for (size_t i = 0; i < pattern.size();) {
    const char kind = pattern[i];
    const int nibble = code[i] & 0xF;
    int width = 1;
    switch (kind) {
      case 'a':
        if (nibble > 7) {
          return false;
        }
        operands.field = nibble;
        break;
      case 'b':
        if (nibble < 8) {
          return false;
        }
        operands.field = nibble - 8;
        break;
      case 'f':
        operands.field = nibble;
        break;
      case 'k':
        operands.field = nibble + 1;
        break;
      case 'n':
        operands.value = nibble;
        break;
      case 'm':
        operands.value = nibble + 1;
        break;
      case 'h':
        width = runLength(pattern, i);
        operands.value = static_cast<int64_t>(readValue(code, i, width));
        break;
      case 'r':
      case 's': {
        width = runLength(pattern, i);
        const int64_t base = address + (kind == 'r' ? static_cast<int64_t>(i) : pattern.size());
        operands.value = base + signExtend(readValue(code, i, width), width);
        break;
      }
      case 'c':
        operands.digits = nibble + 1;
        if (code.size() < i + 1 + operands.digits) {
          return false;
        }
        operands.value = static_cast<int64_t>(readValue(code, i + 1, operands.digits));
        break;
      default:
        if (hexValue(kind) != nibble) {
          return false;
        }
        break;
    }
    i += width;
  }
  if (row.fixedField >= 0) {
    operands.field = row.fixedField;
  }
  decoded.row = &row;
  decoded.operands = operands;
  decoded.length = encodedLength(row, operands);
  return true;
}

// Rows grouped by their first nibble, keeping table order, so decoding tries a few dozen rows
// instead of all of them. The test tails (RTNYES, GOYES) only follow a test and are decoded there.
const std::array<std::vector<const Instruction*>, 16>& rowsByFirstNibble() {
  static const std::array<std::vector<const Instruction*>, 16> buckets = [] {
    std::array<std::vector<const Instruction*>, 16> result;
    for (const Instruction& row : instructionTable()) {
      const int first = hexValue(row.pattern.front());
      if (first >= 0 && row.mnemonic != "RTNYES") {
        result[first].push_back(&row);
      }
    }
    return result;
  }();
  return buckets;
}

}  // namespace

std::optional<Decoded> decode(std::span<const uint8_t> code, int64_t address) {
  if (code.empty()) {
    return std::nullopt;
  }
  for (const Instruction* row : rowsByFirstNibble()[code[0] & 0xF]) {
    Decoded decoded;
    if (matchRow(*row, code, address, decoded)) {
      return decoded;
    }
  }
  return std::nullopt;
}

std::optional<Decoded> decodeTestTail(std::span<const uint8_t> code, int64_t address) {
  for (const char* name : {"RTNYES", "GOYES"}) {
    Decoded decoded;
    if (matchRow(*rowsFor(name).front(), code, address, decoded)) {
      return decoded;
    }
  }
  return std::nullopt;
}

}  // namespace tavrel::isa
