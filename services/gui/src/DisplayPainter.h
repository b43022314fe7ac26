#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <array>
#include <cstdint>

#include "tavrel/gui/DisplaySettings.h"
#include "tavrel/nexo/NexoInterface.h"

namespace tavrel::gui {

// A copy of the core's display block: 64 lines of 20 bytes, pixel 8k + j of a line in bit j
// of byte k, the annunciator of line L (0-5) in bit 3 of byte 16.
using DisplayBlock = std::array<std::uint8_t, nexo::kSharedBlockBytes>;

inline constexpr int kLcdColumns = 131;
inline constexpr int kLcdRows = 64;
inline constexpr int kLcdLineBytes = 20;

bool lcdPixel(const DisplayBlock& block, int x, int y);
bool annunciatorOn(const DisplayBlock& block, int index);

// Window pixels covered by the display and by the annunciator strip.
QRect displayRect(const LCDSettings& lcd);
QRect stripRect(const AnnounciatorSettings& announciators);

// Draws the display in the skin's colours at its place and size, then each lit annunciator
// cut from the icons picture (icon offsets are relative to the strip's corner).
void paintDisplay(QPainter& painter, const DisplayBlock& block, const LCDSettings& lcd,
                  const AnnounciatorSettings& announciators, const QImage& icons);

}  // namespace tavrel::gui
