#include "tavrel/statexport/link/BlockCheck.h"

namespace tavrel::statexport::link {

std::uint16_t crc16Kermit(const std::uint8_t* bytes, std::size_t count) {
  std::uint16_t crc = 0;
  for (std::size_t i = 0; i < count; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0x8408) : crc >> 1;
    }
  }
  return crc;
}

std::uint8_t checksum8(const std::uint8_t* bytes, std::size_t count) {
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < count; ++i) {
    sum = static_cast<std::uint8_t>(sum + bytes[i]);
  }
  return sum;
}

}  // namespace tavrel::statexport::link
