// Reading the LCD image back: pixels, text art for failure messages, and a recogniser for the
// firmware's own 3 x 5 font (taken from the assembled firmware, so it never drifts).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "Display.h"

namespace tavrel::firmware_test {

using LcdImage = std::array<uint8_t, machine::kLcdBytes>;

bool lcdPixel(const LcdImage& image, int x, int y);
std::string lcdToArt(const LcdImage& image);
// Text row 0-7 of the main area (glyph tops on lines 7r + 1) or 8 (the menu line, glyph tops
// on line 57): 32 cells of 4 pixels, trailing blanks removed, '~' for an unknown picture.
std::string readTextRow(const LcdImage& image, int textRow);

}  // namespace tavrel::firmware_test
