// The two block checks of the receive protocol.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tavrel::statexport::link {

// Reflected polynomial 0x8408, initial value 0, no final XOR; sent high byte first.
std::uint16_t crc16Kermit(const std::uint8_t* bytes, std::size_t count);
// The sum of the bytes modulo 256.
std::uint8_t checksum8(const std::uint8_t* bytes, std::size_t count);

}  // namespace tavrel::statexport::link
