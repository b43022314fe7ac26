// Reads arbitrary text as a real number and writes values back in every mode: reading must
// stop inside the text, writing must stay inside a 40-character buffer whatever the value
// (including records that are not normalised or not BCD at all), and a value read from text
// must read back unchanged from its full-precision text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "tavrel/bcd.h"

namespace {

constexpr size_t kHeader = 8;

// The buffer is exactly as large as promised, so any overrun is caught by the sanitizer.
void writeAllModes(const BcdReal& x, char point, char separator, int digits, int width) {
  const auto buffer = std::make_unique<char[]>(BCD_TEXT_SIZE);
  for (int mode = -1; mode <= 4; ++mode) {
    fZRToString(&x, buffer.get(), point, separator, mode, digits, width);
    if (std::strlen(buffer.get()) >= BCD_TEXT_SIZE) {
      __builtin_trap();
    }
  }
}

void checkRoundTrip(const BcdReal& x) {
  char text[BCD_TEXT_SIZE];
  BcdReal back{};
  if (fStringToZR(fZRToString(&x, text, '.', ',', 0, 14, 15), &back, '.', ',') != 0 ||
      fNE(&back, &x)) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeader) {
    return 0;
  }
  const char point = static_cast<char>(data[0]);
  const char separator = static_cast<char>(data[1]);
  const int strict = data[2] & 1;
  const int digits = static_cast<int8_t>(data[3]);
  const int width = static_cast<int8_t>(data[4]);

  const std::string text(reinterpret_cast<const char*>(data + kHeader), size - kHeader);
  BcdReal value{};
  const char* end = nullptr;
  const int status = fStringToZR_er(text.c_str(), &value, &end, strict, point, separator);
  if (end < text.c_str() || end > text.c_str() + std::strlen(text.c_str())) {
    __builtin_trap();
  }
  if (status == 0 || status == BCD_TRAILING_TEXT) {
    checkRoundTrip(value);
  }
  writeAllModes(value, point, separator, digits, width);

  // The same bytes as a raw record.
  BcdReal raw{};
  std::memcpy(&raw, data + kHeader, std::min(sizeof raw, size - kHeader));
  writeAllModes(raw, point, separator, digits, width);
  return 0;
}
