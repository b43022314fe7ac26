#include "Expression.h"

#include <cctype>

namespace tavrel::vasm {

namespace {

bool isSymbolStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '.';
}
bool isSymbolChar(char c) {
  return isSymbolStart(c) || std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Recursive descent over one expression; the first error stops evaluation.
class Parser {
 public:
  Parser(std::string_view text, int64_t currentAddress, const SymbolLookup& lookup)
      : text_(text), currentAddress_(currentAddress), lookup_(lookup) {}

  ExpressionResult run() {
    skipSpace();
    if (pos_ >= text_.size()) {
      return {0, "missing expression"};
    }
    const int64_t value = sum(0);
    skipSpace();
    if (error_.empty() && pos_ < text_.size()) {
      fail("unexpected '" + std::string(text_.substr(pos_)) + "' in expression");
    }
    return {value, error_};
  }

 private:
  static constexpr int kMaxDepth = 64;

  std::string_view text_;
  size_t pos_ = 0;
  int64_t currentAddress_;
  const SymbolLookup& lookup_;
  std::string error_;

  void fail(std::string message) {
    if (error_.empty()) {
      error_ = std::move(message);
    }
  }
  bool failed() const { return !error_.empty(); }

  void skipSpace() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])) != 0) {
      ++pos_;
    }
  }

  char peek() {
    skipSpace();
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }

  int64_t sum(int depth) {
    int64_t value = product(depth);
    while (!failed()) {
      const char op = peek();
      if (op != '+' && op != '-') {
        break;
      }
      ++pos_;
      const int64_t right = product(depth);
      int64_t result = 0;
      const bool overflow = op == '+' ? __builtin_add_overflow(value, right, &result)
                                      : __builtin_sub_overflow(value, right, &result);
      if (overflow) {
        fail("expression overflows 64 bits");
      }
      value = result;
    }
    return value;
  }

  int64_t product(int depth) {
    int64_t value = unary(depth);
    while (!failed()) {
      const char op = peek();
      if (op != '*' && op != '/') {
        break;
      }
      ++pos_;
      const int64_t right = unary(depth);
      if (failed()) {
        break;
      }
      if (op == '*') {
        if (__builtin_mul_overflow(value, right, &value)) {
          fail("expression overflows 64 bits");
        }
      } else if (right == 0) {
        fail("division by zero");
      } else if (right == -1) {
        if (__builtin_sub_overflow(int64_t{0}, value, &value)) {
          fail("expression overflows 64 bits");
        }
      } else {
        value /= right;
      }
    }
    return value;
  }

  int64_t unary(int depth) {
    if (depth > kMaxDepth) {
      fail("expression nested too deeply");
      return 0;
    }
    const char c = peek();
    if (c == '-' || c == '+') {
      ++pos_;
      const int64_t value = unary(depth + 1);
      int64_t result = value;
      if (c == '-' && __builtin_sub_overflow(int64_t{0}, value, &result)) {
        fail("expression overflows 64 bits");
      }
      return result;
    }
    return primary(depth);
  }

  int64_t primary(int depth) {
    const char c = peek();
    if (c == '(') {
      ++pos_;
      const int64_t value = sum(depth + 1);
      if (peek() != ')') {
        fail("missing ')'");
      } else {
        ++pos_;
      }
      return value;
    }
    if (c == '$') {
      ++pos_;
      return currentAddress_;
    }
    if (c == '#') {
      ++pos_;
      return digits(16);
    }
    if (c == '0' && pos_ + 1 < text_.size() && (text_[pos_ + 1] == 'x' || text_[pos_ + 1] == 'X')) {
      pos_ += 2;
      return digits(16);
    }
    if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
      return digits(10);
    }
    if (c == '\'') {
      return character();
    }
    if (isSymbolStart(c)) {
      const size_t start = pos_;
      while (pos_ < text_.size() && isSymbolChar(text_[pos_])) {
        ++pos_;
      }
      std::string error;
      const auto value = lookup_(text_.substr(start, pos_ - start), error);
      if (!value) {
        fail(error);
        return 0;
      }
      return *value;
    }
    fail(c == '\0' ? "missing operand in expression"
                   : "unexpected '" + std::string(1, c) + "' in expression");
    return 0;
  }

  int64_t digits(int base) {
    const size_t start = pos_;
    uint64_t value = 0;
    bool overflow = false;
    while (pos_ < text_.size()) {
      const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text_[pos_])));
      int digit = -1;
      if (c >= '0' && c <= '9') {
        digit = c - '0';
      } else if (base == 16 && c >= 'A' && c <= 'F') {
        digit = c - 'A' + 10;
      }
      if (digit < 0) {
        break;
      }
      if (value > (UINT64_MAX - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(base)) {
        overflow = true;
      }
      value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
      ++pos_;
    }
    if (pos_ == start) {
      fail("number without digits");
    } else if (pos_ < text_.size() && isSymbolChar(text_[pos_])) {
      fail("bad digit '" + std::string(1, text_[pos_]) + "' in number");
    } else if (overflow || (base == 10 && value > static_cast<uint64_t>(INT64_MAX))) {
      // Hexadecimal numbers may use all 64 bits (they read as two's complement).
      fail("number too large");
    }
    return static_cast<int64_t>(value);
  }

  int64_t character() {
    if (pos_ + 2 < text_.size() && text_[pos_ + 2] == '\'') {
      const auto value = static_cast<unsigned char>(text_[pos_ + 1]);
      pos_ += 3;
      return value;
    }
    fail("bad character constant");
    return 0;
  }
};

}  // namespace

ExpressionResult evaluate(std::string_view text, int64_t currentAddress,
                          const SymbolLookup& lookup) {
  return Parser(text, currentAddress, lookup).run();
}

bool isSymbolName(std::string_view name) {
  if (name.empty() || !isSymbolStart(name.front())) {
    return false;
  }
  for (char c : name) {
    if (!isSymbolChar(c)) {
      return false;
    }
  }
  return true;
}

}  // namespace tavrel::vasm
