#include "tavrel/statexport/RealText.h"

#include "tavrel/bcd.h"

namespace tavrel::statexport {

void appendRealText(std::string& text, std::uint64_t packed) {
  constexpr int kStandardMode = 0;
  constexpr int kDigits = 12;
  constexpr int kWidth = 10;
  BcdReal value{};
  fUnpack(static_cast<std::uint32_t>(packed), static_cast<std::uint32_t>(packed >> 32), &value);
  char buffer[2 * BCD_TEXT_SIZE] = {};
  text += fZRToString(&value, buffer, '.', ',', kStandardMode, kDigits, kWidth);
}

}  // namespace tavrel::statexport
