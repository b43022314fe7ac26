#include "Assembler.h"

#include <cctype>
#include <optional>

#include "Codec.h"
#include "Expression.h"
#include "InstructionSet.h"
#include "SourceReader.h"

namespace tavrel::vasm {

namespace {

constexpr int64_t kAddressLimit = 0x100000;
constexpr int64_t kBankNibbles = 0x40000;
constexpr int kBankCount = 7;
// EQUs are evaluated recursively; the bound keeps a long chain from exhausting the stack.
constexpr int kMaxEquDepth = 256;

// A symbol is either an address label (value known after pass 1 reaches it) or an EQU whose
// expression is evaluated when first needed.
struct Symbol {
  int64_t value = 0;
  bool known = false;
  bool evaluating = false;
  const Statement* equ = nullptr;
  int64_t equAddress = 0;
};

// What pass 1 decided for one statement; pass 2 emits exactly that.
struct Layout {
  int64_t address = 0;
  int size = 0;
  int64_t count = 0;  // ORG/BANK value, digit count of LC/LA, width of CON/REL
  const isa::Instruction* row = nullptr;
  bool failed = false;
};

bool isHexDigits(std::string_view text) {
  if (text.empty()) {
    return false;
  }
  for (char c : text) {
    if (std::isxdigit(static_cast<unsigned char>(c)) == 0) {
      return false;
    }
  }
  return true;
}

int hexDigitValue(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0
             ? c - '0'
             : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
}

std::string withoutSpaces(std::string_view text) {
  std::string result;
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c)) == 0) {
      result.push_back(c);
    }
  }
  return result;
}

// "CON(5)" -> name "CON", count text "5".
bool splitCounted(const std::string& mnemonic, std::string& name, std::string& count) {
  const size_t open = mnemonic.find('(');
  if (open == std::string::npos || mnemonic.back() != ')' || open == 0) {
    return false;
  }
  name = mnemonic.substr(0, open);
  count = mnemonic.substr(open + 1, mnemonic.size() - open - 2);
  return true;
}

std::string hexText(int64_t value) {
  static const char* digits = "0123456789ABCDEF";
  std::string text;
  for (int i = 4; i >= 0; --i) {
    text.push_back(digits[(value >> (4 * i)) & 0xF]);
  }
  return text;
}

class Run {
 public:
  explicit Run(std::vector<Statement> statements) : statements_(std::move(statements)) {}

  void assemble(Assembly& result) {
    layouts_.resize(statements_.size());
    for (pass_ = 1; pass_ <= 2; ++pass_) {
      address_ = 0;
      bank_ = -1;
      pendingTest_ = nullptr;
      for (size_t i = 0; i < statements_.size(); ++i) {
        statement(i);
      }
      if (pass_ == 1 && pendingTest_ != nullptr) {
        error(*pendingTest_, pendingTest_->mnemonic + " must be followed by GOYES or RTNYES");
      }
    }
    for (const auto& [name, symbol] : symbols_) {
      if (symbol.known && symbol.value >= 0 && symbol.value <= UINT32_MAX) {
        result.labels[name] = static_cast<uint32_t>(symbol.value);
      }
    }
    result.nibbles = std::move(nibbles_);
    for (std::string& message : errors_) {
      result.errors.push_back(std::move(message));
    }
  }

 private:
  std::vector<Statement> statements_;
  std::vector<Layout> layouts_;
  std::map<std::string, Symbol, std::less<>> symbols_;
  std::vector<uint8_t> nibbles_;
  std::vector<bool> written_;
  std::vector<std::string> errors_;
  int pass_ = 1;
  int64_t address_ = 0;
  int bank_ = -1;
  const Statement* pendingTest_ = nullptr;
  const Statement* current_ = nullptr;
  int equDepth_ = 0;

  void error(const Statement& at, const std::string& message) {
    errors_.push_back(at.file + ":" + std::to_string(at.line) + ": " + message);
  }

  // ---- symbols ----

  std::optional<int64_t> lookup(std::string_view name, std::string& message) {
    const auto it = symbols_.find(name);
    if (it == symbols_.end() || (!it->second.known && it->second.equ == nullptr)) {
      message = "undefined symbol '" + std::string(name) + "'";
      return std::nullopt;
    }
    Symbol& symbol = it->second;
    if (symbol.known) {
      return symbol.value;
    }
    if (symbol.evaluating) {
      message = "symbol '" + std::string(name) + "' is defined in terms of itself";
      return std::nullopt;
    }
    if (equDepth_ >= kMaxEquDepth) {
      message = "EQU definitions nested more than " + std::to_string(kMaxEquDepth) + " deep";
      return std::nullopt;
    }
    symbol.evaluating = true;
    ++equDepth_;
    const ExpressionResult result =
        evaluateAt(symbol.equ->operands.empty() ? std::string_view{} : symbol.equ->operands.front(),
                   symbol.equAddress);
    --equDepth_;
    symbol.evaluating = false;
    if (!result.error.empty()) {
      message = "in EQU '" + std::string(name) + "': " + result.error;
      return std::nullopt;
    }
    symbol.value = result.value;
    symbol.known = true;
    return symbol.value;
  }

  ExpressionResult evaluateAt(std::string_view text, int64_t address) {
    return evaluate(text, address, [this](std::string_view name, std::string& message) {
      return lookup(name, message);
    });
  }

  // Evaluates an operand of the current statement; reports and returns nothing on error.
  std::optional<int64_t> value(std::string_view text) {
    const ExpressionResult result = evaluateAt(text, address_);
    if (!result.error.empty()) {
      error(*current_, result.error);
      return std::nullopt;
    }
    return result.value;
  }

  void defineLabel(const Statement& at) {
    if (pass_ != 1 || at.label.empty()) {
      return;
    }
    auto [it, inserted] = symbols_.try_emplace(at.label);
    if (!inserted) {
      error(at, "'" + at.label + "' is already defined");
      return;
    }
    if (at.mnemonic == "EQU") {
      it->second.equ = &at;
      it->second.equAddress = address_;
    } else {
      it->second.value = address_;
      it->second.known = true;
    }
  }

  // ---- the walk ----

  void statement(size_t index) {
    const Statement& at = statements_[index];
    Layout& layout = layouts_[index];
    current_ = &at;
    defineLabel(at);
    if (at.mnemonic.empty() || at.mnemonic == "EQU") {
      if (at.mnemonic == "EQU" && at.operands.size() != 1) {
        if (pass_ == 1) {
          error(at, "EQU takes one expression");
        }
      }
      return;
    }
    if (pass_ == 1) {
      checkTestTail(at);
      layout.address = address_;
      layout.failed = !planStatement(at, layout);
      if (!layout.failed && !placeable(at, layout)) {
        layout.failed = true;
      }
    } else if (!layout.failed) {
      emitStatement(at, layout);
    }
    advance(at, layout);
  }

  void checkTestTail(const Statement& at) {
    const bool isTail = at.mnemonic == "GOYES" || at.mnemonic == "RTNYES";
    if (pendingTest_ != nullptr && !isTail) {
      error(*pendingTest_, pendingTest_->mnemonic + " must be followed by GOYES or RTNYES");
    } else if (pendingTest_ == nullptr && isTail) {
      error(at, at.mnemonic + " must follow a test instruction (?...)");
    }
    pendingTest_ = (!at.mnemonic.empty() && at.mnemonic.front() == '?') ? &at : nullptr;
  }

  void advance(const Statement& at, const Layout& layout) {
    if (at.mnemonic == "ORG") {
      if (!layout.failed) {
        address_ = layout.count;
      }
    } else if (at.mnemonic == "BANK") {
      if (!layout.failed) {
        bank_ = static_cast<int>(layout.count);
      }
    } else {
      address_ += layout.size;
    }
  }

  bool placeable(const Statement& at, const Layout& layout) {
    if (address_ + layout.size > kAddressLimit) {
      error(at, "code runs past address FFFFF");
      return false;
    }
    if (bank_ >= 0 && (address_ & (kBankNibbles - 1)) + layout.size > kBankNibbles) {
      error(at, "code runs past the end of bank " + std::to_string(bank_));
      return false;
    }
    return true;
  }

  // ---- pass 1: sizes ----

  bool planStatement(const Statement& at, Layout& layout) {
    const std::string& m = at.mnemonic;
    if (m == "ORG" || m == "BANK") {
      return planOriginOrBank(at, layout);
    }
    if (m == "NIBHEX") {
      return planNibhex(at, layout);
    }
    if (m == "NIBASC") {
      return planNibasc(at, layout);
    }
    std::string name;
    std::string countText;
    if (splitCounted(m, name, countText) && (name == "CON" || name == "REL")) {
      return planData(at, layout, countText);
    }
    return planInstruction(at, layout);
  }

  bool planOriginOrBank(const Statement& at, Layout& layout) {
    if (at.operands.size() != 1) {
      error(at, at.mnemonic + " takes one expression");
      return false;
    }
    const auto v = value(at.operands[0]);
    if (!v) {
      return false;
    }
    if (at.mnemonic == "ORG" && (*v < 0 || *v >= kAddressLimit)) {
      error(at, "ORG address out of range 0..FFFFF");
      return false;
    }
    if (at.mnemonic == "BANK" && (*v < 0 || *v >= kBankCount)) {
      error(at, "BANK number out of range 0..6");
      return false;
    }
    layout.count = *v;
    return true;
  }

  bool planNibhex(const Statement& at, Layout& layout) {
    if (at.operands.empty()) {
      error(at, "NIBHEX needs hex digits");
      return false;
    }
    for (const std::string& operand : at.operands) {
      const std::string digits = withoutSpaces(operand);
      if (!isHexDigits(digits)) {
        error(at, "NIBHEX: '" + operand + "' is not a string of hex digits");
        return false;
      }
      layout.size += static_cast<int>(digits.size());
    }
    return true;
  }

  bool planNibasc(const Statement& at, Layout& layout) {
    if (at.operands.empty()) {
      error(at, "NIBASC needs a string in double quotes");
      return false;
    }
    for (const std::string& operand : at.operands) {
      std::string text;
      std::string message;
      if (!unquote(operand, text, message)) {
        error(at, "NIBASC: " + message);
        return false;
      }
      layout.size += 2 * static_cast<int>(text.size());
    }
    return true;
  }

  bool planData(const Statement& at, Layout& layout, const std::string& countText) {
    const auto width = value(countText);
    if (!width) {
      return false;
    }
    if (*width < 1 || *width > 16) {
      error(at, "nibble count " + std::to_string(*width) + " out of range 1..16");
      return false;
    }
    if (at.operands.empty()) {
      error(at, at.mnemonic + " needs at least one expression");
      return false;
    }
    layout.count = *width;
    layout.size = static_cast<int>(*width * static_cast<int64_t>(at.operands.size()));
    return true;
  }

  // The digit count of an LC/LA: from "LC(n)", or the digits of a "#hex" operand.
  std::optional<int> constantDigits(const Statement& at, const std::string& countText) {
    if (!countText.empty()) {
      const auto count = value(countText);
      if (!count) {
        return std::nullopt;
      }
      if (*count < 1 || *count > 16) {
        error(at, "constant of " + std::to_string(*count) + " nibbles, allowed 1..16");
        return std::nullopt;
      }
      return static_cast<int>(*count);
    }
    if (at.operands.size() == 1 && at.operands[0].size() > 1 && at.operands[0][0] == '#' &&
        isHexDigits(std::string_view(at.operands[0]).substr(1))) {
      const auto digits = static_cast<int>(at.operands[0].size() - 1);
      if (digits > 16) {
        error(at, "constant of " + std::to_string(digits) + " nibbles, allowed 1..16");
        return std::nullopt;
      }
      return digits;
    }
    error(at, "give the constant as #hexdigits or write " + at.mnemonic + "(n) expression");
    return std::nullopt;
  }

  static isa::FieldOperand fieldOperand(const std::vector<std::string>& operands) {
    isa::FieldOperand field;
    if (!operands.empty()) {
      const std::optional<int> code = isa::fieldCode(operands[0]);
      field.kind = code ? isa::FieldOperand::Kind::Name : isa::FieldOperand::Kind::Number;
      field.code = code.value_or(-1);
    }
    return field;
  }

  static std::string syntaxOf(const isa::Instruction& row) {
    std::string text = row.mnemonic;
    const char* separator = " ";
    switch (row.fieldKind()) {
      case 'a':
      case 'b':
        text += " P|WP|XS|X|S|M|B|W";
        separator = ",";
        break;
      case 'f':
        text += " field";
        separator = ",";
        break;
      case 'k':
        text += " count";
        separator = ",";
        break;
      default:
        if (row.fixedField >= 0) {
          text += " " + isa::fieldName(row.fixedField);
          separator = ",";
        }
        break;
    }
    switch (row.operandKind()) {
      case 'n':
      case 'm':
      case 'h':
        text += separator;
        text += "value";
        break;
      case 'r':
      case 's':
        text += separator;
        text += "target";
        break;
      case 'c':
        text += separator;
        text += "#hexdigits";
        break;
      default:
        break;
    }
    return text;
  }

  bool planInstruction(const Statement& at, Layout& layout) {
    std::string name = at.mnemonic;
    std::string countText;
    std::vector<const isa::Instruction*> rows = isa::rowsFor(name);
    if (rows.empty() && splitCounted(at.mnemonic, name, countText)) {
      rows = isa::rowsFor(name);
      if (rows.empty() || rows.front()->operandKind() != 'c') {
        rows.clear();
      }
    }
    if (rows.empty()) {
      error(at, "unknown instruction '" + at.mnemonic + "'");
      return false;
    }
    if (const isa::Instruction* row =
            isa::selectRow(name, fieldOperand(at.operands), at.operands.size())) {
      layout.row = row;
      if (row->operandKind() == 'c') {
        const auto digits = constantDigits(at, countText);
        if (!digits) {
          return false;
        }
        layout.count = *digits;
      }
      isa::Operands operands;
      operands.digits = static_cast<int>(layout.count);
      layout.size = isa::encodedLength(*row, operands);
      return true;
    }
    std::string expected;
    for (const isa::Instruction* row : rows) {
      expected += (expected.empty() ? "" : " or ") + syntaxOf(*row);
    }
    error(at, "bad operands for " + name + ": expected " + expected);
    return false;
  }

  // ---- pass 2: nibbles ----

  void emitStatement(const Statement& at, const Layout& layout) {
    std::vector<uint8_t> code;
    if (!encodeStatement(at, layout, code)) {
      return;
    }
    for (size_t i = 0; i < code.size(); ++i) {
      const int64_t a = address_ + static_cast<int64_t>(i);
      const auto place =
          static_cast<size_t>(bank_ < 0 ? a : bank_ * kBankNibbles + (a & (kBankNibbles - 1)));
      if (place >= nibbles_.size()) {
        nibbles_.resize(place + 1, 0);
        written_.resize(place + 1, false);
      }
      if (written_[place]) {
        error(at, "overlaps code already placed at address " + hexText(a));
        return;
      }
      written_[place] = true;
      nibbles_[place] = code[i];
    }
  }

  bool encodeStatement(const Statement& at, const Layout& layout, std::vector<uint8_t>& code) {
    const std::string& m = at.mnemonic;
    if (m == "ORG" || m == "BANK") {
      return true;
    }
    if (m == "NIBHEX") {
      for (const std::string& operand : at.operands) {
        for (char c : withoutSpaces(operand)) {
          code.push_back(static_cast<uint8_t>(hexDigitValue(c)));
        }
      }
      return true;
    }
    if (m == "NIBASC") {
      for (const std::string& operand : at.operands) {
        std::string text;
        std::string message;
        unquote(operand, text, message);
        for (char c : text) {
          code.push_back(static_cast<uint8_t>(c) & 0xF);
          code.push_back(static_cast<uint8_t>(c) >> 4);
        }
      }
      return true;
    }
    if (layout.row == nullptr) {
      return encodeData(at, layout, code);
    }
    return encodeInstruction(at, layout, code);
  }

  bool encodeData(const Statement& at, const Layout& layout, std::vector<uint8_t>& code) {
    const int width = static_cast<int>(layout.count);
    const bool relative = startsWith(at.mnemonic, "REL");
    for (const std::string& operand : at.operands) {
      const int64_t fieldAddress = address_ + static_cast<int64_t>(code.size());
      const auto v = value(operand);
      if (!v) {
        return false;
      }
      int64_t stored = *v;
      const int64_t limit = width < 16 ? isa::signedLimit(width) : 0;
      if (relative) {
        stored = *v - fieldAddress;
        if (width < 16 && (stored < -limit || stored >= limit)) {
          error(at, "target out of reach: offset " + std::to_string(stored) + ", range " +
                        std::to_string(-limit) + ".." + std::to_string(limit - 1));
          return false;
        }
      } else if (width < 16 && (stored < -limit || stored >= 2 * limit)) {
        error(at, "value " + std::to_string(stored) + " does not fit in " + std::to_string(width) +
                      " nibbles");
        return false;
      }
      for (int i = 0; i < width; ++i) {
        code.push_back(static_cast<uint8_t>((static_cast<uint64_t>(stored) >> (4 * i)) & 0xF));
      }
    }
    return true;
  }

  static bool startsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
  }

  bool encodeInstruction(const Statement& at, const Layout& layout, std::vector<uint8_t>& code) {
    const isa::Instruction& row = *layout.row;
    isa::Operands operands;
    operands.digits = static_cast<int>(layout.count);
    size_t next = 0;
    if (row.takesField()) {
      const std::string& text = at.operands[next++];
      if (row.fieldKind() == 'k') {
        const auto count = value(text);
        if (!count) {
          return false;
        }
        if (*count < 1 || *count > 16) {
          error(at, "nibble count " + std::to_string(*count) + " out of range 1..16");
          return false;
        }
        operands.field = static_cast<int>(*count);
      } else {
        operands.field = *isa::fieldCode(text);
      }
    }
    if (row.operandKind() != 0) {
      const auto v = value(at.operands[next]);
      if (!v) {
        return false;
      }
      operands.value = *v;
    }
    const std::string message = isa::encode(row, operands, address_, code);
    if (!message.empty()) {
      error(at, row.mnemonic + ": " + message);
      return false;
    }
    return true;
  }
};

}  // namespace

Assembly assemble(std::string_view source, const std::filesystem::path& includeDir,
                  std::string_view sourceName) {
  SourceReader reader;
  reader.includeDir = includeDir;
  std::vector<Statement> statements;
  reader.read(source, std::string(sourceName), statements);
  Assembly result;
  Run run(std::move(statements));
  run.assemble(result);
  result.errors.insert(result.errors.begin(), reader.errors.begin(), reader.errors.end());
  return result;
}

}  // namespace tavrel::vasm
