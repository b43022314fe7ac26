// Key messages name a key by its position on the keyboard; the machine by its key number.
#pragma once

#include <cstdint>

namespace tavrel::core {

// The beep request that arrives as a key message.
inline constexpr std::int32_t kBeepKeyCode = 123;

// Row 1-7 in bits 16-18, column 0-7 in bits 0-2, other bits ignored. Positions without a key
// (row 0, as in the beep code) give the null key 51.
int keyNumberOfPosition(std::int32_t position);

}  // namespace tavrel::core
