#include "display/Placement.h"

namespace tavrel {

void placeFullscreen(gui::LCDSettings& lcd, gui::AnnounciatorSettings& strip,
                     std::uint32_t screenWidth, std::uint32_t screenHeight) {
  const auto pixel = static_cast<std::uint32_t>(lcd.pixelSize);
  const std::uint32_t scaledWidth = static_cast<std::uint32_t>(lcd.width) * pixel;
  const std::uint32_t scaledHeight = static_cast<std::uint32_t>(lcd.height) * pixel;
  const auto stripHeight = static_cast<std::uint32_t>(strip.height);
  const std::uint32_t top = (screenHeight >> 1) - (scaledHeight >> 1);
  const std::uint32_t left = (screenWidth >> 1) - (scaledWidth >> 1);

  lcd.offsetX = static_cast<std::int32_t>(left);
  lcd.offsetY = static_cast<std::int32_t>(top + (stripHeight >> 1));
  strip.offsetX = static_cast<std::int32_t>(left);
  strip.offsetY = static_cast<std::int32_t>(top - (stripHeight >> 1));
  strip.width = static_cast<std::int32_t>(scaledWidth);
}

bool isOnDisplay(const gui::LCDSettings& lcd, std::int32_t x, std::int32_t y) {
  const std::int64_t right = std::int64_t{lcd.offsetX} + std::int64_t{lcd.pixelSize} * lcd.width;
  const std::int64_t bottom = std::int64_t{lcd.offsetY} + std::int64_t{lcd.pixelSize} * lcd.height;
  return lcd.offsetX <= x && x <= right && lcd.offsetY <= y && y <= bottom;
}

}  // namespace tavrel
