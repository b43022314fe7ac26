#include "ScreenFont.h"

namespace tavrel::core::datavane {
namespace {

struct GlyphEntry {
  char c;
  std::array<std::uint8_t, kGlyphHeight> rows;
};

constexpr GlyphEntry kGlyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 3, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 2, 2}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'.', {0, 0, 0, 0, 2}}, {'-', {0, 0, 7, 0, 0}},
    {':', {0, 2, 0, 2, 0}}, {'+', {0, 2, 7, 2, 0}}, {'C', {3, 4, 4, 4, 3}}, {'E', {7, 4, 6, 4, 7}},
    {'W', {5, 5, 5, 7, 5}}, {'a', {0, 3, 5, 5, 3}}, {'c', {0, 3, 4, 4, 3}}, {'d', {1, 3, 5, 5, 3}},
    {'e', {0, 2, 7, 4, 3}}, {'f', {1, 2, 7, 2, 2}}, {'g', {0, 3, 5, 3, 6}}, {'h', {4, 6, 5, 5, 5}},
    {'i', {2, 0, 2, 2, 2}}, {'n', {0, 6, 5, 5, 5}}, {'o', {0, 2, 5, 5, 2}}, {'p', {0, 6, 5, 6, 4}},
    {'r', {0, 3, 4, 4, 4}}, {'s', {0, 3, 6, 3, 6}}, {'t', {2, 7, 2, 2, 1}}, {'x', {0, 5, 2, 2, 5}},
    {'y', {0, 5, 5, 3, 6}},
};

}  // namespace

std::array<std::uint8_t, kGlyphHeight> glyph(char c) {
  for (const GlyphEntry& entry : kGlyphs) {
    if (entry.c == c) {
      return entry.rows;
    }
  }
  return {};
}

}  // namespace tavrel::core::datavane
