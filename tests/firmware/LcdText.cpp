#include "LcdText.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "Assembler.h"

namespace tavrel::firmware_test {
namespace {

constexpr int kWidth = 131;
constexpr int kHeight = 64;
constexpr int kCells = 32;
constexpr int kGlyphRows = 5;
constexpr char kUnknown = '~';

// Glyph pictures (five row nibbles, top row in the lowest nibble) to characters.
std::map<uint32_t, char> loadFont() {
  const char* source = std::getenv("TAVREL_SOURCE_DIR");
  const std::filesystem::path main =
      std::filesystem::path(source != nullptr ? source : ".") / "firmware" / "demo.s";
  std::ifstream in(main);
  std::stringstream text;
  text << in.rdbuf();
  const vasm::Assembly assembly = vasm::assemble(text.str(), main.parent_path(), main.string());
  if (!assembly.errors.empty() || !assembly.labels.contains("font"))
    throw std::runtime_error("cannot assemble the firmware to read its font");
  std::map<uint32_t, char> font;
  const uint32_t base = assembly.labels.at("font");
  for (int c = 32; c < 96; ++c) {
    uint32_t picture = 0;
    for (int r = 0; r < kGlyphRows; ++r)
      picture |= uint32_t{assembly.nibbles.at(base + 5 * (c - 32) + r)} << (4 * r);
    font.emplace(picture, static_cast<char>(c));
  }
  return font;
}

}  // namespace

bool lcdPixel(const LcdImage& image, int x, int y) {
  return (image[y * machine::kLcdLineBytes + x / 8] >> (x % 8) & 1) != 0;
}

std::string lcdToArt(const LcdImage& image) {
  std::string art;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x)
      art += lcdPixel(image, x, y) ? '#' : '.';
    art += '\n';
  }
  return art;
}

std::string readTextRow(const LcdImage& image, int textRow) {
  static const std::map<uint32_t, char> font = loadFont();
  const int top = textRow < 8 ? 7 * textRow + 1 : 57;
  std::string text;
  for (int cell = 0; cell < kCells; ++cell) {
    uint32_t picture = 0;
    for (int r = 0; r < kGlyphRows; ++r) {
      for (int b = 0; b < 4; ++b) {
        if (lcdPixel(image, 4 * cell + b, top + r))
          picture |= 1u << (4 * r + b);
      }
    }
    const auto found = font.find(picture);
    text += found != font.end() ? found->second : kUnknown;
  }
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

}  // namespace tavrel::firmware_test
