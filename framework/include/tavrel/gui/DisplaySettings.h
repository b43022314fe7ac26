#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tavrel::gui {

// Where and how the GUI service draws the calculator's display in a skin window. Plain data:
// the shell fills it from the skin and hands it over with the core interface.
struct LCDSettings {
  std::uint8_t foregroundRed = 0;
  std::uint8_t foregroundGreen = 0;
  std::uint8_t foregroundBlue = 0;
  std::uint8_t backgroundRed = 0;
  std::uint8_t backgroundGreen = 0;
  std::uint8_t backgroundBlue = 0;
  // Window pixels of the display's top-left corner.
  std::int32_t offsetX = 0;
  std::int32_t offsetY = 0;
  // Calculator pixels.
  std::int32_t width = 0;
  std::int32_t height = 0;
  // Window pixels per calculator pixel in each direction; 1 until a skin says otherwise, so a
  // skin without "pixel_size" still shows its display.
  std::int32_t pixelSize = 1;

  friend bool operator==(const LCDSettings&, const LCDSettings&) = default;
};

struct IconPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const IconPoint&, const IconPoint&) = default;
};

struct IconSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const IconSize&, const IconSize&) = default;
};

// The strip of six annunciators and where each icon's picture lies in one bitmap.
struct AnnounciatorSettings {
  static constexpr int kIconCount = 6;

  // Path of the bitmap that holds every icon's picture.
  std::u16string image;
  // Top-left corner and size of the strip in the window.
  std::int32_t offsetX = 0;
  std::int32_t offsetY = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  // Where each icon is drawn.
  std::array<IconPoint, kIconCount> iconOffsets{};
  // Where each icon's picture lies in the bitmap.
  std::array<IconPoint, kIconCount> imageOffsets{};
  std::array<IconSize, kIconCount> iconSizes{};

  friend bool operator==(const AnnounciatorSettings&, const AnnounciatorSettings&) = default;
};

}  // namespace tavrel::gui
