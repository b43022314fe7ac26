// A 3 × 5 pixel font for the application's labels; 4 pixels a character with the gap.
#pragma once

#include <array>
#include <cstdint>

namespace tavrel::core::datavane {

inline constexpr int kGlyphWidth = 3;
inline constexpr int kGlyphHeight = 5;
inline constexpr int kGlyphAdvance = 4;

// Rows from the top; bit 2 is the left pixel. Characters the labels never use are blank.
std::array<std::uint8_t, kGlyphHeight> glyph(char c);

}  // namespace tavrel::core::datavane
