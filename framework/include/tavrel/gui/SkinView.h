#pragma once

#include <cstdint>
#include <string>

#include "tavrel/gui/DisplaySettings.h"
#include "tavrel/setting/GenSettings.h"

namespace tavrel::gui {

// Window styles of a skin view.
inline constexpr char16_t kStyleWindow[] = u"WINDOW";
inline constexpr char16_t kStyleFullscreen[] = u"FULLSCREEN";
inline constexpr char16_t kStylePopup[] = u"POPUP";

// Window class names of the two skin views.
inline constexpr char16_t kFloatingWindowClass[] = u"TavrelSkinFloating";
inline constexpr char16_t kFullscreenWindowClass[] = u"TavrelSkinFullscreen";

// Everything the window manager needs to make one skin window: the windowed view or the
// fullscreen view of a skin.
struct SkinViewDescription {
  std::u16string title;
  // Screen pixels.
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t originX = 0;
  std::int32_t originY = 0;
  // Window region file; empty for a rectangular window.
  std::u16string regionFile;
  std::u16string style;
  // Both 1 for the windowed view, 0 for the fullscreen view; their use is the GUI's.
  std::uint8_t flag1 = 0;
  std::uint8_t flag2 = 0;
  LCDSettings lcd;
  AnnounciatorSettings announciator;
  setting::OverlaySettings overlay;
  // Fullscreen view only.
  std::uint8_t backgroundRed = 0;
  std::uint8_t backgroundGreen = 0;
  std::uint8_t backgroundBlue = 0;
};

}  // namespace tavrel::gui
