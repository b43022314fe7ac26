#include "FieldArithmetic.h"

namespace tavrel::machine {

namespace {
uint32_t digit(uint64_t v, uint32_t i) {
  return static_cast<uint32_t>(v >> (4 * i)) & 0xF;
}
uint64_t nibbleCount(uint32_t length) {
  return length >= 16 ? ~uint64_t{0} : (uint64_t{1} << (4 * length)) - 1;
}
}  // namespace

uint64_t decimalAdd(uint64_t d, uint64_t e, const Field& f, uint32_t& carry) {
  uint64_t result = d;
  int c = 0;
  for (uint32_t i = f.start; i < f.start + f.length; ++i) {
    const int dd = static_cast<int>(digit(d, i));
    int s = dd + static_cast<int>(digit(e, i)) + c;
    if (dd > 9)
      s -= 8;
    c = s > 9 ? 1 : 0;
    const uint64_t out = static_cast<uint64_t>(c ? s - 10 : s) & 0xF;
    result = (result & ~(uint64_t{0xF} << (4 * i))) | (out << (4 * i));
  }
  carry = static_cast<uint32_t>(c);
  return result;
}

uint64_t decimalSubtract(uint64_t d, uint64_t e, const Field& f, uint32_t& carry) {
  uint64_t result = d;
  int borrow = 0;
  for (uint32_t i = f.start; i < f.start + f.length; ++i) {
    const int first = static_cast<int>(digit(d, i)) - static_cast<int>(digit(e, i)) - borrow;
    int s = first;
    if (s < 0) {
      s += 10;
      if (s < 0)
        s = first + 18;
    }
    borrow = first < 0 ? 1 : 0;
    const uint64_t out = static_cast<uint64_t>(s) & 0xF;
    result = (result & ~(uint64_t{0xF} << (4 * i))) | (out << (4 * i));
  }
  carry = static_cast<uint32_t>(borrow);
  return result;
}

uint64_t fieldAddConstant(uint64_t d, uint32_t k, const Field& f, bool subtract, uint32_t& carry) {
  const uint64_t width = nibbleCount(f.length);
  const uint64_t x = (d >> (4 * f.start)) & width;
  uint64_t r;
  if (subtract) {
    carry = x < k ? 1 : 0;
    r = x - k;
  } else {
    r = x + k;
    carry = (f.length >= 16 ? r < x : r > width) ? 1 : 0;
  }
  return (r & width) << (4 * f.start);
}

}  // namespace tavrel::machine
