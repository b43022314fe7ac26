// The standard number text of the calculator for a packed real.
#pragma once

#include <cstdint>
#include <string>

namespace tavrel::statexport {

// Appends the text of a real in its 16-nibble packed form (nibble 0 least significant):
// "." as the point, "," between digit groups, at most ten significant digits, cut off.
void appendRealText(std::string& text, std::uint64_t packed);

}  // namespace tavrel::statexport
