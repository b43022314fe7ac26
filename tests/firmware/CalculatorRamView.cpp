#include "CalculatorRamView.h"

#include <stdexcept>

#include "Memory.h"

namespace tavrel::firmware_test {
namespace {

constexpr uint32_t kDirectoryProlog = 0x02A96;
constexpr uint32_t kArrayProlog = 0x029E8;

std::string readText(const machine::Machine& m, uint32_t at, uint32_t chars) {
  std::string text;
  for (uint32_t i = 0; i < chars; ++i)
    text += static_cast<char>(machine::read2(m, at + 2 * i));
  return text;
}

// Exponent: three decimal digits in ten's complement; mantissa digits 14 down to 3.
Real realFromBody(const machine::Machine& m, uint32_t body) {
  Real r;
  const uint32_t e = machine::readNibbles(m, body, 3);
  const int exponent = static_cast<int>((e >> 8) * 100 + (e >> 4 & 0xF) * 10 + (e & 0xF));
  r.exponent = exponent >= 500 ? exponent - 1000 : exponent;
  for (int n = 14; n >= 3; --n)
    r.mantissa += static_cast<char>('0' + machine::readNibbles(m, body + n, 1));
  r.negative = machine::readNibbles(m, body + 15, 1) == 9;
  return r;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const Real& r) {
  return out << (r.negative ? "-" : "") << r.mantissa << "E" << r.exponent;
}

Real realOf(const std::string& text) {
  Real r;
  std::size_t i = 0;
  if (i < text.size() && text[i] == '-') {
    r.negative = true;
    ++i;
  }
  std::string digits;
  int pointAt = -1;
  int exponent = 0;
  for (; i < text.size(); ++i) {
    if (text[i] == '.') {
      pointAt = static_cast<int>(digits.size());
    } else if (text[i] == 'E') {
      exponent = std::stoi(text.substr(i + 1));
      break;
    } else {
      digits += text[i];
    }
  }
  if (pointAt < 0)
    pointAt = static_cast<int>(digits.size());
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos)
    return Real{false, 0, std::string(12, '0')};
  r.exponent = pointAt - static_cast<int>(first) - 1 + exponent;
  r.mantissa = digits.substr(first);
  r.mantissa.resize(12, '0');
  return r;
}

int stackDepth(const machine::Machine& m, uint32_t stackBottom) {
  return static_cast<int>((stackBottom - machine::read5(m, kStackPointer)) / 5);
}

uint32_t levelObject(const machine::Machine& m, int level) {
  return machine::read5(m, machine::read5(m, kStackPointer) + 5 * (level - 1));
}

uint32_t prologAt(const machine::Machine& m, uint32_t object) {
  return machine::read5(m, object);
}

Real realAt(const machine::Machine& m, uint32_t object) {
  if (prologAt(m, object) != kRealProlog)
    throw std::runtime_error("not a real");
  return realFromBody(m, object + 5);
}

Real levelReal(const machine::Machine& m, int level) {
  return realAt(m, levelObject(m, level));
}

void pushString(machine::Machine& m, const std::string& text) {
  const uint32_t length = static_cast<uint32_t>(2 * text.size() + 10);  // L nibbles
  const uint32_t top = machine::read5(m, kTopPointer);
  const uint32_t free = machine::read5(m, kFreePointer);
  uint32_t stack = machine::read5(m, kStackPointer);
  if (stack - free < length + 11 || free != top)
    throw std::runtime_error("no room for the string");
  machine::writeNibbles(m, top, 0, 1);
  machine::writeNibbles(m, top + 1, kStringProlog, 5);
  machine::writeNibbles(m, top + 6, length - 5, 5);
  for (std::size_t i = 0; i < text.size(); ++i)
    machine::writeNibbles(m, top + 11 + 2 * static_cast<uint32_t>(i), static_cast<uint8_t>(text[i]),
                          2);
  machine::writeNibbles(m, top + 1 + length, length + 6, 5);
  machine::writeNibbles(m, stack - 5, top + 1, 5);
  stack -= 5;
  machine::writeNibbles(m, kTopPointer, top + length + 6, 5);
  machine::writeNibbles(m, kFreePointer, free + length + 6, 5);
  machine::writeNibbles(m, kStackPointer, stack, 5);
  machine::writeNibbles(m, kFreeCount, (stack - free - length - 6) / 5, 5);
}

std::vector<Variable> directoryVariables(const machine::Machine& m, uint32_t directory) {
  if (prologAt(m, directory) != kDirectoryProlog)
    throw std::runtime_error("not a directory");
  const uint32_t body = directory + 5;
  if (machine::readNibbles(m, body, 3) != 0)
    throw std::runtime_error("directory with libraries");
  const uint32_t offset = machine::read5(m, body + 3);
  std::vector<Variable> reversed;
  if (offset == 0)
    return reversed;
  uint32_t nameField = body + 3 + offset;
  for (;;) {
    const uint32_t n = machine::read2(m, nameField);
    reversed.push_back({readText(m, nameField + 2, n), nameField + 2 * n + 4});
    const uint32_t link = machine::read5(m, nameField - 5);
    if (link == 0 || reversed.size() > 1000)
      break;
    nameField = nameField - 5 - link;
  }
  return {reversed.rbegin(), reversed.rend()};
}

std::vector<Real> realArray(const machine::Machine& m, uint32_t array) {
  if (prologAt(m, array) != kArrayProlog)
    throw std::runtime_error("not an array");
  if (machine::read5(m, array + 10) != kRealProlog || machine::read5(m, array + 15) != 1)
    throw std::runtime_error("not a vector of reals");
  const uint32_t count = machine::read5(m, array + 20);
  std::vector<Real> reals;
  for (uint32_t i = 0; i < count; ++i) {
    reals.push_back(realFromBody(m, array + 25 + 16 * i));
  }
  return reals;
}

}  // namespace tavrel::firmware_test
