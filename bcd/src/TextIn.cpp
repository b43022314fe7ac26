// Reading a real number from text.
#include "Digits.h"
#include "Real.h"

namespace tavrel::bcd {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

class TextReader {
 public:
  TextReader(const char* text, char point, char separator)
      : p_(text != nullptr ? text : ""), point_(point), separator_(separator) {}

  int read(BcdReal& out, const char** end, bool strict) {
    const int status = readNumber();
    if (end != nullptr) {
      *end = p_;
    }
    if (status != BCD_EXACT) {
      out = ZR_0;
      return status;
    }
    if (mantissa_ == 0) {
      sign_ = 1;
      exponent_ = 0;
    }
    if (exponent_ < kMinExponent) {  // too small to hold: zero, as normalisation does
      out = ZR_0;
    } else {
      out = BcdReal{sign_, 0, 0, 0, static_cast<int32_t>(exponent_), 0};
      setMantissa(out, mantissa_);
    }
    return (strict && *p_ != '\0') ? BCD_TRAILING_TEXT : BCD_EXACT;
  }

 private:
  int readNumber() {
    if (*p_ == '-' || *p_ == '+') {
      sign_ = *p_ == '-' ? -1 : 1;
      ++p_;
    }
    for (;; ++p_) {
      if (exponent_ > kMaxExponent) {
        return BCD_EXPONENT_RANGE;
      }
      const char c = *p_;
      if (separator_ != '\0' && c == separator_) {
        continue;
      }
      if (point_ != '\0' && c == point_) {
        if (seenPoint_) {
          return BCD_SECOND_POINT;
        }
        seenPoint_ = true;
        continue;
      }
      if (!isDigit(c)) {
        break;
      }
      takeDigit(static_cast<uint32_t>(c - '0'));
    }
    if (!seenDigit_) {
      return BCD_NO_DIGITS;
    }
    return readExponentPart();
  }

  void takeDigit(uint32_t digit) {
    seenDigit_ = true;
    if (digit == 0 && !seenNonZero_) {
      if (seenPoint_) {
        --exponent_;
      }
      return;
    }
    seenNonZero_ = true;
    if (nextNibble_ >= 0) {  // digits beyond fifteen are dropped, not rounded
      mantissa_ |= uint64_t{digit} << (4 * nextNibble_);
      --nextNibble_;
    }
    if (!seenPoint_) {
      ++exponent_;
    }
  }

  // "E" only belongs to the number when digits follow it (after an optional sign).
  int readExponentPart() {
    if (*p_ != 'E') {
      return BCD_EXACT;
    }
    const char* q = p_ + 1;
    const bool negative = *q == '-';
    if (*q == '-' || *q == '+') {
      ++q;
    }
    if (!isDigit(*q)) {
      return BCD_EXACT;
    }
    int64_t value = 0;
    for (; isDigit(*q); ++q) {
      value = value * 10 + (*q - '0');
      if (value > kMaxExponent) {
        p_ = q;
        return BCD_EXPONENT_RANGE;
      }
    }
    p_ = q;
    exponent_ += negative ? -value : value;
    return (exponent_ > kMaxExponent && mantissa_ != 0) ? BCD_EXPONENT_RANGE : BCD_EXACT;
  }

  const char* p_;
  const char point_;
  const char separator_;
  int32_t sign_ = 1;
  int64_t exponent_ = -1;
  uint64_t mantissa_ = 0;
  int nextNibble_ = 14;
  bool seenPoint_ = false;
  bool seenDigit_ = false;
  bool seenNonZero_ = false;
};

}  // namespace
}  // namespace tavrel::bcd

extern "C" {

int fStringToZR_er(const char* text, BcdReal* out, const char** end, int strict, char point,
                   char separator) {
  return tavrel::bcd::TextReader(text, point, separator).read(*out, end, strict != 0);
}

int fStringToZR(const char* text, BcdReal* out, char point, char separator) {
  return tavrel::bcd::TextReader(text, point, separator).read(*out, nullptr, true);
}

}  // extern "C"
