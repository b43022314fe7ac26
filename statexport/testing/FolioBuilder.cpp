#include "FolioBuilder.h"

#include <stdexcept>

#include "tavrel/statexport/Prologs.h"

namespace tavrel::statexport::testing {
namespace {

void append(Nibbles& out, const Nibbles& more) {
  out.insert(out.end(), more.begin(), more.end());
}

Nibbles withProlog(std::uint32_t code, const Nibbles& body) {
  Nibbles out;
  putNibbles(out, code, 5);
  append(out, body);
  return out;
}

void putText(Nibbles& out, std::string_view text) {
  for (const char c : text) {
    putNibbles(out, static_cast<std::uint8_t>(c), 2);
  }
}

// Lengths, links and offsets that the calculator's fields cannot hold would build an
// object that says something else than was meant.
void putField(Nibbles& out, std::uint64_t value, unsigned count) {
  if (value >> (4 * count) != 0) {
    throw std::length_error("object too large for its length, link or offset field");
  }
  putNibbles(out, value, count);
}

// Position of the first variable in memory order relative to the folio's data columns.
constexpr unsigned kFirstColumnFromEnd = 6;

}  // namespace

void putNibbles(Nibbles& out, std::uint64_t value, unsigned count) {
  for (unsigned i = 0; i < count; ++i) {
    out.push_back(static_cast<std::uint8_t>((value >> (4 * i)) & 0xF));
  }
}

std::vector<std::uint8_t> packNibbles(const Nibbles& nibbles) {
  std::vector<std::uint8_t> bytes((nibbles.size() + 1) / 2, 0);
  for (std::size_t i = 0; i < nibbles.size(); ++i) {
    bytes[i / 2] |= static_cast<std::uint8_t>(nibbles[i] << (i % 2 == 0 ? 0 : 4));
  }
  return bytes;
}

std::uint64_t packedReal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int exponent = 0;
  if (const std::size_t e = text.find('E'); e != std::string_view::npos) {
    exponent = std::stoi(std::string(text.substr(e + 1)));
    text = text.substr(0, e);
  }
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  std::string digits(whole);
  if (point != std::string_view::npos) {
    digits += text.substr(point + 1);
  }
  if (digits.find_first_not_of("0123456789") != std::string::npos) {
    throw std::invalid_argument("not a decimal number");
  }
  exponent += static_cast<int>(whole.size()) - 1;
  const std::size_t firstSignificant = digits.find_first_not_of('0');
  if (firstSignificant == std::string::npos) {
    return 0;
  }
  exponent -= static_cast<int>(firstSignificant);
  digits = digits.substr(firstSignificant);
  digits.resize(12, '0');
  std::uint64_t packed = negative ? std::uint64_t{9} << 60 : 0;
  for (int i = 0; i < 12; ++i) {
    packed |= static_cast<std::uint64_t>(digits[i] - '0') << (4 * (14 - i));
  }
  const int stored = exponent < 0 ? exponent + 1000 : exponent;
  packed |= static_cast<std::uint64_t>(stored % 10) |
            static_cast<std::uint64_t>(stored / 10 % 10) << 4 |
            static_cast<std::uint64_t>(stored / 100 % 10) << 8;
  return packed;
}

Nibbles realBody(std::string_view text) {
  Nibbles out;
  putNibbles(out, packedReal(text), 16);
  return out;
}

Nibbles real(std::string_view text) {
  return withProlog(prolog::kReal, realBody(text));
}

Nibbles bint(std::uint32_t value) {
  Nibbles body;
  putNibbles(body, value, 5);
  return withProlog(prolog::kBint, body);
}

Nibbles xlib(std::uint32_t value) {
  Nibbles body;
  putNibbles(body, value, 6);
  return withProlog(prolog::kXlib, body);
}

Nibbles character(char value) {
  Nibbles body;
  putNibbles(body, static_cast<std::uint8_t>(value), 2);
  return withProlog(prolog::kChar, body);
}

Nibbles counted(std::uint32_t code, const Nibbles& body) {
  Nibbles out;
  putNibbles(out, code, 5);
  putField(out, body.size() + 5, 5);
  append(out, body);
  return out;
}

Nibbles string(std::string_view text) {
  Nibbles body;
  putText(body, text);
  return counted(prolog::kString, body);
}

Nibbles name(std::uint32_t code, std::string_view text) {
  Nibbles body;
  putField(body, text.size(), 2);
  putText(body, text);
  return withProlog(code, body);
}

Nibbles composite(std::uint32_t code, const std::vector<Nibbles>& elements) {
  Nibbles body;
  for (const Nibbles& element : elements) {
    append(body, element);
  }
  putNibbles(body, prolog::kCompositeEnd, 5);
  return withProlog(code, body);
}

Nibbles list(const std::vector<Nibbles>& elements) {
  return composite(prolog::kList, elements);
}

Nibbles array(std::uint32_t elementProlog, const std::vector<std::uint32_t>& dimensions,
              const std::vector<Nibbles>& elementBodies) {
  Nibbles inner;
  putNibbles(inner, elementProlog, 5);
  putNibbles(inner, dimensions.size(), 5);
  for (const std::uint32_t size : dimensions) {
    putNibbles(inner, size, 5);
  }
  for (const Nibbles& element : elementBodies) {
    append(inner, element);
  }
  return counted(prolog::kArray, inner);
}

Nibbles realColumn(const std::vector<std::string>& values) {
  std::vector<Nibbles> bodies;
  for (const std::string& value : values) {
    bodies.push_back(realBody(value));
  }
  return array(prolog::kReal, {static_cast<std::uint32_t>(values.size())}, bodies);
}

Nibbles directory(const std::vector<Variable>& variables, unsigned libraries) {
  Nibbles body;
  putNibbles(body, libraries, 3);
  for (unsigned i = 0; i < libraries; ++i) {
    // Library number and a non-zero hash; the reader only steps over them.
    putNibbles(body, 0x7A1 + i, 3);
    putNibbles(body, 0x1111111111ULL, 10);
  }
  const std::size_t offsetField = body.size();
  putNibbles(body, 0, 5);
  std::size_t previousName = 0;
  for (std::size_t i = 0; i < variables.size(); ++i) {
    const std::size_t link = body.size();
    putField(body, i == 0 ? 0 : link - previousName, 5);
    previousName = body.size();
    const Variable& variable = variables[i];
    putField(body, variable.name.size(), 2);
    putText(body, variable.name);
    putField(body, variable.name.size(), 2);
    append(body, variable.value);
  }
  if (!variables.empty()) {
    Nibbles offset;
    putField(offset, previousName - offsetField, 5);
    std::copy(offset.begin(), offset.end(),
              body.begin() + static_cast<std::ptrdiff_t>(offsetField));
  }
  return withProlog(prolog::kDir, body);
}

Nibbles statFolio(const std::vector<FolioColumn>& columns, unsigned variableCount) {
  if (columns.size() > 8 || variableCount < kFirstColumnFromEnd + columns.size() + 1) {
    throw std::invalid_argument("too few variables for these columns");
  }
  std::vector<Variable> variables(variableCount);
  for (unsigned i = 0; i < variableCount; ++i) {
    variables[i].name = std::to_string(i);
    variables[i].name.insert(0, 1, 'V');
    variables[i].value = bint(i);
  }
  variables[0].value = list({xlib(0x130F1), bint(1)});
  // Chain index c + 5 holds column c, and the chain runs from the last variable back.
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (columns[c]) {
      variables[variableCount - 1 - kFirstColumnFromEnd - c].value = realColumn(*columns[c]);
    }
  }
  return directory(variables);
}

std::vector<std::uint8_t> folioImage(std::string_view folioName, const Nibbles& object) {
  std::vector<std::uint8_t> bytes = {'Z', 'R', 'T', '7', 'B', 'i', 'n', 0x01};
  bytes.push_back(static_cast<std::uint8_t>(folioName.size()));
  bytes.insert(bytes.end(), folioName.begin(), folioName.end());
  const std::vector<std::uint8_t> packed = packNibbles(object);
  bytes.insert(bytes.end(), packed.begin(), packed.end());
  return bytes;
}

}  // namespace tavrel::statexport::testing
