#pragma once

#include <cstdint>

#include "tavrel/gui/DisplaySettings.h"

namespace tavrel {

// Centres the fullscreen view on a screen of width x height as one block, the annunciator
// strip above the display: the display's offset and the strip's offset and width change.
// Halvings are unsigned shifts, and the arithmetic wraps as 32-bit unsigned numbers do.
void placeFullscreen(gui::LCDSettings& lcd, gui::AnnounciatorSettings& strip,
                     std::uint32_t screenWidth, std::uint32_t screenHeight);

// Whether a window point lies on the display, its right and bottom edges included.
bool isOnDisplay(const gui::LCDSettings& lcd, std::int32_t x, std::int32_t y);

}  // namespace tavrel
