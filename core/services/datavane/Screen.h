// The application's picture: drawn in a host copy of the 64 display lines, then written into
// display memory where the main picture starts and shown with a display refresh.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tavrel::machine {
struct Machine;
}

namespace tavrel::core::datavane {

inline constexpr int kScreenWidth = 131;
inline constexpr int kScreenHeight = 64;
inline constexpr int kScreenLineBytes = 17;

class Screen {
 public:
  void clear() { bits_.fill(0); }
  void setPixel(int x, int y);
  bool pixel(int x, int y) const;
  // Draws text with its top left corner at (x, y); gives the x after the last character.
  int text(int x, int y, std::string_view characters);
  // Every other pixel of a line, for cursors.
  void dottedColumn(int x, int top, int bottom);
  void dottedRow(int y, int left, int right);

  // Writes the lines into display memory at displayStart (one line every 34 + lineOffset
  // nibbles, as many as the main picture has) and refreshes the LCD image.
  void show(machine::Machine& m) const;

 private:
  std::array<std::uint8_t, kScreenHeight * kScreenLineBytes> bits_{};
};

// How many lines the main picture has with the display registers as they are.
int mainPictureLines(const machine::Machine& m);

}  // namespace tavrel::core::datavane
