#pragma once

#include <cstdint>
#include <vector>

namespace tavrel {

// One bit per pixel of the windowed skin: a set bit is a key pixel, which the window answers
// as its client area; every other pixel drags the window.
class CHitMap {
 public:
  // Larger windows get an empty map (no key pixels), so a skin cannot make us allocate
  // without bound; its keys stay clickable through the region lists.
  static constexpr std::int32_t kMaxSide = 8192;

  // Clears every bit. Returns false, leaving an empty map, for a size outside 0..kMaxSide.
  bool resize(std::int32_t width, std::int32_t height);

  // Marks the pixels x .. x+width-1 of rows y .. y+height-1, but only when the rectangle's
  // right and bottom edges lie inside the map and no pixel of the closed rectangle (both
  // edges included) is marked yet. Returns whether it marked.
  bool mark(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);

  // False outside the map.
  bool isMarked(std::int32_t x, std::int32_t y) const;

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }

 private:
  bool anyMarked(std::int32_t x, std::int32_t y, std::int32_t lastX, std::int32_t lastY) const;

  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::int32_t rowBytes_ = 0;
  std::vector<std::uint8_t> bits_;
};

}  // namespace tavrel
