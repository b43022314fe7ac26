#include "Screen.h"

#include "Display.h"
#include "Memory.h"
#include "ScreenFont.h"

namespace tavrel::core::datavane {

void Screen::setPixel(int x, int y) {
  if (x >= 0 && x < kScreenWidth && y >= 0 && y < kScreenHeight) {
    bits_[y * kScreenLineBytes + x / 8] |= static_cast<std::uint8_t>(1u << (x % 8));
  }
}

bool Screen::pixel(int x, int y) const {
  if (x < 0 || x >= kScreenWidth || y < 0 || y >= kScreenHeight) {
    return false;
  }
  return (bits_[y * kScreenLineBytes + x / 8] >> (x % 8)) & 1;
}

int Screen::text(int x, int y, std::string_view characters) {
  for (char c : characters) {
    const auto rows = glyph(c);
    for (int row = 0; row < kGlyphHeight; ++row) {
      for (int col = 0; col < kGlyphWidth; ++col) {
        if (rows[row] & (4 >> col)) {
          setPixel(x + col, y + row);
        }
      }
    }
    x += kGlyphAdvance;
  }
  return x;
}

void Screen::dottedColumn(int x, int top, int bottom) {
  for (int y = top; y <= bottom; y += 2) {
    setPixel(x, y);
  }
}

void Screen::dottedRow(int y, int left, int right) {
  for (int x = left; x <= right; x += 2) {
    setPixel(x, y);
  }
}

int mainPictureLines(const machine::Machine& m) {
  const int available = kScreenHeight - static_cast<int>(m.vm.headerLines);
  int menu = m.vm.lineCount != 0 ? 63 - static_cast<int>(m.vm.lineCount) : 0;
  if (menu > available) {
    menu = available;
  }
  return available - menu;
}

void Screen::show(machine::Machine& m) const {
  const int lines = mainPictureLines(m);
  const std::uint32_t stride = 2 * kScreenLineBytes + m.vm.lineOffset;
  for (int line = 0; line < lines; ++line) {
    const std::uint32_t address = m.vm.displayStart + static_cast<std::uint32_t>(line) * stride;
    const std::uint8_t* bytes = &bits_[line * kScreenLineBytes];
    // Eight nibbles (four bytes) a write, the seventeenth byte alone.
    for (int k = 0; k < 16; k += 4) {
      const std::uint32_t word = bytes[k] | (bytes[k + 1] << 8) | (bytes[k + 2] << 16) |
                                 (static_cast<std::uint32_t>(bytes[k + 3]) << 24);
      machine::writeNibbles(m, address + 2 * k, word, 8);
    }
    machine::writeNibbles(m, address + 32, bytes[16] & 7u, 2);
  }
  machine::refreshLcd(m);
}

}  // namespace tavrel::core::datavane
