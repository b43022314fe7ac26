// Which key a byte of the remote-control protocol names when it is not a command.
#pragma once

#include <cstdint>

namespace tavrel::core::remote {

// The character table: letters, digits, operators and a few marks name keys; bytes
// 0x80-0xFF name keys like the remote key code (byte - 90). Anything else is the null key.
int keyOfCharacter(std::uint8_t byte);

}  // namespace tavrel::core::remote
