// The calculator's RAM as the host sees it: the stack of object addresses, reals and
// strings, the statistics folio, and placing an object the way the object transfer does.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "Machine.h"

namespace tavrel::firmware_test {

inline constexpr uint32_t kStackPointer = 0x806F8;
inline constexpr uint32_t kTopPointer = 0x806EE;
inline constexpr uint32_t kFreePointer = 0x806F3;
inline constexpr uint32_t kFreeCount = 0x80E9B;
inline constexpr uint32_t kFolioPointer = 0x80711;
inline constexpr uint32_t kRealProlog = 0x02933;
inline constexpr uint32_t kStringProlog = 0x02A2C;

// A real as stored: sign, exponent (-499..499) and the 12 mantissa digits.
struct Real {
  bool negative = false;
  int exponent = 0;
  std::string mantissa;  // 12 digits, leading digit first
  bool operator==(const Real&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Real& r);
// "46" -> {false, 1, "460000000000"}; accepts an optional '-', digits, '.', 'E' exponent.
Real realOf(const std::string& text);

int stackDepth(const machine::Machine& m, uint32_t stackBottom);
uint32_t levelObject(const machine::Machine& m, int level);  // address of level's object
uint32_t prologAt(const machine::Machine& m, uint32_t object);
Real realAt(const machine::Machine& m, uint32_t object);
Real levelReal(const machine::Machine& m, int level);

// Writes a string object into the temporary area and pushes it, as the object transfer does.
void pushString(machine::Machine& m, const std::string& text);

// The variables of a directory object in memory order: name and value address.
struct Variable {
  std::string name;
  uint32_t value;
};
std::vector<Variable> directoryVariables(const machine::Machine& m, uint32_t directory);
// The reals of a one-dimensional array of reals.
std::vector<Real> realArray(const machine::Machine& m, uint32_t array);

}  // namespace tavrel::firmware_test
