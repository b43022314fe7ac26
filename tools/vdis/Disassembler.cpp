#include "Disassembler.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

#include "Codec.h"
#include "InstructionSet.h"

namespace tavrel::vdis {

namespace {

constexpr int kZeroRunToSkip = 64;
constexpr int kNibhexPerLine = 32;
constexpr int64_t kAddressLimit = 0x100000;

// `prefix` then `digits` hex digits. Strings are built by appending throughout this file:
// GCC 12 at -O3 reports false overlaps for literal + std::string.
std::string hex(uint64_t value, int digits, std::string_view prefix = {}) {
  std::string text(prefix);
  text.append(static_cast<size_t>(digits), '0');
  for (size_t i = text.size(); i > prefix.size(); --i) {
    text[i - 1] = "0123456789ABCDEF"[value & 0xF];
    value >>= 4;
  }
  return text;
}

// One line of output: an instruction (with its test tail) or raw nibbles.
struct Item {
  int64_t address = 0;
  int length = 0;
  std::optional<isa::Decoded> instruction;
  std::optional<isa::Decoded> tail;  // GOYES/RTNYES after a test
  bool skipZeros = false;            // a long run of zero nibbles, written as ORG
  bool undecodable = false;          // nibbles that end the region inside an instruction
};

bool isJump(const isa::Instruction& row) {
  const char kind = row.operandKind();
  return kind == 'r' || kind == 's' || row.mnemonic == "GOVLNG" || row.mnemonic == "GOSBVL";
}

class Writer {
 public:
  explicit Writer(const Region& region) : region_(region) {}

  std::string run() {
    split();
    collectLabels();
    return print();
  }

 private:
  const Region& region_;
  std::vector<Item> items_;
  std::set<int64_t> boundaries_;
  std::set<int64_t> labels_;

  // Banks 4-6 all run in the high window, so their labels carry the bank to stay unique.
  std::string labelFor(int64_t address) const {
    std::string name;
    if (region_.bank >= 0) {
      name += 'B';
      name += std::to_string(region_.bank);
    }
    name += hex(static_cast<uint64_t>(address), 5, "L");
    return name;
  }

  std::span<const uint8_t> at(size_t offset) const { return region_.nibbles.subspan(offset); }

  // Whether the decoded instruction, written as text, assembles back to exactly these nibbles:
  // the assembler must pick the same row and produce the same digits.
  static bool reencodes(const isa::Decoded& decoded, std::span<const uint8_t> code,
                        int64_t address) {
    const isa::Instruction& row = *decoded.row;
    isa::FieldOperand field;
    if (row.takesField()) {
      field.kind =
          row.fieldKind() == 'k' ? isa::FieldOperand::Kind::Number : isa::FieldOperand::Kind::Name;
      field.code = decoded.operands.field;
    }
    const size_t operandCount = (row.takesField() ? 1 : 0) + (row.operandKind() != 0 ? 1 : 0);
    if (isa::selectRow(row.mnemonic, field, operandCount) != &row) {
      return false;
    }
    std::vector<uint8_t> again;
    if (!isa::encode(*decoded.row, decoded.operands, address, again).empty()) {
      return false;
    }
    if (again.size() != static_cast<size_t>(decoded.length)) {
      return false;
    }
    for (size_t i = 0; i < again.size(); ++i) {
      if (again[i] != (code[i] & 0xF)) {
        return false;
      }
    }
    return true;
  }

  size_t zeroRun(size_t offset) const {
    size_t end = offset;
    while (end < region_.nibbles.size() && (region_.nibbles[end] & 0xF) == 0) {
      ++end;
    }
    return end - offset;
  }

  void split() {
    size_t offset = 0;
    const size_t size = region_.nibbles.size();
    while (offset < size) {
      Item item;
      item.address = region_.address + static_cast<int64_t>(offset);
      const size_t zeros = zeroRun(offset);
      if (zeros >= static_cast<size_t>(kZeroRunToSkip)) {
        // A run that ends the region keeps its last nibble, so the region keeps its extent.
        item.skipZeros = true;
        item.length = static_cast<int>(offset + zeros < size ? zeros : zeros - 1);
      } else {
        decodeItem(offset, item);
      }
      offset += static_cast<size_t>(item.length);
      if (item.undecodable && !items_.empty() && items_.back().undecodable) {
        items_.back().length += item.length;
        continue;
      }
      items_.push_back(std::move(item));
    }
  }

  void decodeItem(size_t offset, Item& item) {
    const auto decoded = isa::decode(at(offset), item.address);
    if (!decoded) {
      item.length = 1;
      item.undecodable = true;
      return;
    }
    item.length = decoded->length;
    if (decoded->row->reserved() || !reencodes(*decoded, at(offset), item.address)) {
      return;
    }
    if (decoded->row->isTest()) {
      const size_t tailOffset = offset + static_cast<size_t>(decoded->length);
      const int64_t tailAddress = item.address + decoded->length;
      const auto tail = isa::decodeTestTail(at(tailOffset), tailAddress);
      if (!tail || !reencodes(*tail, at(tailOffset), tailAddress)) {
        return;
      }
      item.tail = tail;
      item.length += tail->length;
    }
    item.instruction = decoded;
  }

  void collectLabels() {
    for (const Item& item : items_) {
      if (!item.skipZeros) {
        boundaries_.insert(item.address);
      }
    }
    for (const Item& item : items_) {
      for (const auto& part : {item.instruction, item.tail}) {
        if (part && isJump(*part->row) && boundaries_.count(part->operands.value) != 0) {
          labels_.insert(part->operands.value);
        }
      }
    }
  }

  std::string target(const isa::Decoded& decoded, int64_t statementAddress) const {
    const int64_t value = decoded.operands.value;
    if (labels_.count(value) != 0) {
      return labelFor(value);
    }
    if (value >= 0 && value < kAddressLimit) {
      return hex(static_cast<uint64_t>(value), 5, "#");
    }
    const int64_t delta = value - statementAddress;
    std::string text = delta < 0 ? "$-" : "$+";
    text += std::to_string(delta < 0 ? -delta : delta);
    return text;
  }

  std::string operandText(const isa::Decoded& decoded, int64_t address) const {
    const isa::Instruction& row = *decoded.row;
    const isa::Operands& operands = decoded.operands;
    std::vector<std::string> parts;
    if (row.fieldKind() == 'k') {
      parts.push_back(std::to_string(operands.field));
    } else if (row.takesField()) {
      parts.push_back(isa::fieldName(operands.field));
    }
    switch (row.operandKind()) {
      case 'n':
      case 'm':
        parts.push_back(std::to_string(operands.value));
        break;
      case 'h': {
        const int width =
            static_cast<int>(row.pattern.find_last_of('h') - row.pattern.find('h') + 1);
        if (isJump(row) && labels_.count(operands.value) != 0) {
          parts.push_back(labelFor(operands.value));
        } else {
          parts.push_back(hex(static_cast<uint64_t>(operands.value), width, "#"));
        }
        break;
      }
      case 'r':
      case 's':
        parts.push_back(target(decoded, address));
        break;
      case 'c':
        parts.push_back(hex(static_cast<uint64_t>(operands.value), operands.digits, "#"));
        break;
      default:
        break;
    }
    std::string text;
    for (const std::string& part : parts) {
      text += (text.empty() ? " " : ",") + part;
    }
    return text;
  }

  void printInstruction(const isa::Decoded& decoded, int64_t address, std::string& out) const {
    out += "        ";
    out += decoded.row->mnemonic;
    out += operandText(decoded, address);
    out += '\n';
  }

  void printNibhex(const Item& item, std::string& out) const {
    const size_t first = static_cast<size_t>(item.address - region_.address);
    for (int done = 0; done < item.length; done += kNibhexPerLine) {
      const int count = std::min(kNibhexPerLine, item.length - done);
      out += "        NIBHEX ";
      for (int i = 0; i < count; ++i) {
        out.push_back("0123456789ABCDEF"[region_.nibbles[first + done + i] & 0xF]);
      }
      out += '\n';
    }
  }

  std::string print() const {
    std::string out;
    if (region_.bank >= 0) {
      out += "        BANK ";
      out += std::to_string(region_.bank);
      out += '\n';
    }
    out += hex(static_cast<uint64_t>(region_.address), 5, "        ORG #");
    out += '\n';
    for (const Item& item : items_) {
      if (item.skipZeros) {
        out += hex(static_cast<uint64_t>(item.address + item.length), 5, "        ORG #");
        out += "  ; ";
        out += std::to_string(item.length);
        out += " zero nibbles\n";
        continue;
      }
      if (labels_.count(item.address) != 0) {
        out += labelFor(item.address);
        out += ":\n";
      }
      if (!item.instruction) {
        printNibhex(item, out);
        continue;
      }
      const isa::Decoded& decoded = *item.instruction;
      printInstruction(decoded, item.address, out);
      if (item.tail) {
        const int64_t tailAddress = item.address + decoded.length;
        printInstruction(*item.tail, tailAddress, out);
      }
    }
    return out;
  }
};

}  // namespace

std::string disassemble(const Region& region) {
  return Writer(region).run();
}

}  // namespace tavrel::vdis
