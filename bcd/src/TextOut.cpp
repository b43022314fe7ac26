// Writing a real number as text in the standard, fixed, scientific or engineering mode.
#include <algorithm>

#include "Digits.h"
#include "Real.h"

namespace tavrel::bcd {
namespace {

// Widths beyond this could not fit the caller's buffer of BCD_TEXT_SIZE characters; no
// layout needs more than the fifteen digits of a mantissa plus the padding zeros this allows.
constexpr int kMaxWidth = 24;

enum Mode { kStandard = 0, kFixed = 1, kScientific = 2, kEngineering = 3 };

// Appends to the caller's buffer and never writes past its last character.
class TextWriter {
 public:
  explicit TextWriter(char* buffer) : begin_(buffer), p_(buffer) {}

  void put(char c) {
    if (p_ < begin_ + BCD_TEXT_SIZE - 1) {
      *p_++ = c;
    }
  }
  char* finish() {
    *p_ = '\0';
    return begin_;
  }

 private:
  char* begin_;
  char* p_;
};

class Layout {
 public:
  Layout(TextWriter& out, char point, char separator)
      : out_(out), point_(point), separator_(separator) {}

  // count integer digits of m from nibble 14 down, grouped by three from the units digit.
  void integerDigits(uint64_t m, int count) {
    for (int j = 0; j < count; ++j) {
      if (j > 0 && separator_ != '\0' && (count - j) % 3 == 0) {
        out_.put(separator_);
      }
      digit(m, 14 - j);
    }
  }

  // The point and count digits starting at nibble first, when count is positive.
  void fraction(uint64_t m, int first, int count) {
    if (count <= 0) {
      return;
    }
    out_.put(point_);
    for (int j = 0; j < count; ++j) {
      digit(m, first - j);
    }
  }

  void exponentPart(int64_t exponent) {
    if (exponent == 0) {
      return;
    }
    out_.put('E');
    if (exponent < 0) {
      out_.put('-');
    }
    const int64_t magnitude = exponent < 0 ? -exponent : exponent;
    char digits[12];
    int n = 0;
    for (int64_t v = magnitude; v != 0; v /= 10) {
      digits[n++] = static_cast<char>('0' + v % 10);
    }
    while (n > 0) {
      out_.put(digits[--n]);
    }
  }

  // "0", the point, the zeros after it, then the significant digits; never grouped.
  void smallNumber(uint64_t m, int exponent, int significant) {
    out_.put('0');
    out_.put(point_);
    for (int i = exponent + 1; i < 0; ++i) {
      out_.put('0');
    }
    for (int j = 0; j < significant; ++j) {
      digit(m, 14 - j);
    }
  }

  void scientific(const BcdReal& x, int fractionDigits) {
    const uint64_t m = mantissa(x);
    digit(m, 14);
    fraction(m, 13, fractionDigits);
    exponentPart(x.exponent);
  }

 private:
  void digit(uint64_t m, int i) { out_.put(static_cast<char>('0' + nibble(m, i))); }

  TextWriter& out_;
  char point_;
  char separator_;
};

int mantissaDigits(const BcdReal& x) {
  const uint64_t m = mantissa(x) & ~(uint64_t{0xF} << 60);
  return m == 0 ? 0 : 15 - lowestNonZeroNibble(m);
}

int64_t lowerToMultipleOfThree(int64_t d) {
  const int64_t r = d % 3;
  return r < 0 ? d - r - 3 : d - r;
}

void standard(Layout& layout, const BcdReal& x, int width) {
  const uint64_t m = mantissa(x);
  const int64_t d = x.exponent;
  const int g = significantDigits(x);
  if (d >= 0 && d < width) {
    const int integerCount = static_cast<int>(d) + 1;
    layout.integerDigits(m, integerCount);
    layout.fraction(m, 14 - integerCount, std::min(width, g) - integerCount);
  } else if (d >= -5 && d < 0 && g - d <= width) {
    layout.smallNumber(m, static_cast<int>(d), g);
  } else {
    layout.scientific(x, std::min(width, mantissaDigits(x)) - 1);
  }
}

// Rounding can carry into a new leading digit (9.96 to two places is 10.0): the layout then
// follows the rounded value, so that no digit is lost.
void fixed(Layout& layout, const BcdReal& x, int digits, int width) {
  BcdReal r;
  roundToDigits(x, x.exponent < 0 ? -digits : digits, r, true);
  if (isZeroMantissa(r)) {  // no significant digit requested
    layout.integerDigits(0, 1);
    return;
  }
  const int64_t d = r.exponent;
  if (d < 0) {
    const int g = significantDigits(r);
    if (g - d <= width) {
      layout.smallNumber(mantissa(r), static_cast<int>(d), g);
      return;
    }
  } else if (d < width) {
    const int integerCount = static_cast<int>(d) + 1;
    layout.integerDigits(mantissa(r), integerCount);
    layout.fraction(mantissa(r), 14 - integerCount, std::min(width - integerCount, digits));
    return;
  }
  // Too wide for the fixed layout, or too many leading zeros: scientific.
  roundToDigits(x, -(digits + 1), r, true);
  layout.scientific(r, std::min(width - 1, digits));
}

void engineering(Layout& layout, const BcdReal& x, int digits, int width) {
  const int64_t lowered = lowerToMultipleOfThree(x.exponent);
  BcdReal r;
  roundToDigits(x, -(digits + static_cast<int>(x.exponent - lowered + 1)), r, true);
  const int64_t d = lowerToMultipleOfThree(r.exponent);
  const int integerCount = static_cast<int>(r.exponent - d + 1);
  const uint64_t m = mantissa(r);
  layout.integerDigits(m, integerCount);
  layout.fraction(m, 14 - integerCount, std::min(width - integerCount, digits));
  layout.exponentPart(d);
}

}  // namespace
}  // namespace tavrel::bcd

using namespace tavrel::bcd;

extern "C" char* fZRToString(const BcdReal* x, char* buffer, char point, char separator, int mode,
                             int digits, int width) {
  TextWriter out(buffer);
  if (isZeroMantissa(*x)) {
    out.put('0');
    return out.finish();
  }
  if (x->sign < 0) {
    out.put('-');
  }
  Layout layout(out, point, separator);
  width = std::clamp(width, 0, kMaxWidth);
  digits = std::clamp(digits, 0, kMaxWidth);
  BcdReal scientificCopy;
  switch (mode) {
    case kStandard:
      standard(layout, *x, width);
      break;
    case kFixed:
      fixed(layout, *x, digits, width);
      break;
    case kScientific:
      roundToDigits(*x, -(digits + 1), scientificCopy, true);
      layout.scientific(scientificCopy, std::min(width - 1, digits));
      break;
    case kEngineering:
      engineering(layout, *x, digits, width);
      break;
    default:
      break;
  }
  return out.finish();
}
