// The display block as a picture: text art with the annunciators, or a PNG file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace tavrel::vendelrun {

inline constexpr int kLcdWidth = 131;
inline constexpr int kLcdHeight = 64;
inline constexpr std::size_t kLcdBlockBytes = 1600;

using LcdBlock = std::span<const std::uint8_t, kLcdBlockBytes>;

bool lcdPixel(LcdBlock block, int x, int y);
// The six annunciators, in the order of display lines 0-5.
bool annunciatorOn(LcdBlock block, int index);

// One line per pixel row ('#' on, '.' off), then "annunciators: " and six 0/1 digits.
std::string lcdTextArt(LcdBlock block);
// A 1-bit grey PNG, written to a temporary file and renamed into place; false with error.
bool writeLcdPng(LcdBlock block, const std::filesystem::path& file, std::string& error);

}  // namespace tavrel::vendelrun
