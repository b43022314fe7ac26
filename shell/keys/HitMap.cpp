#include "keys/HitMap.h"

namespace tavrel {

bool CHitMap::resize(std::int32_t width, std::int32_t height) {
  bits_.clear();
  width_ = height_ = rowBytes_ = 0;
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide) {
    return false;
  }
  width_ = width;
  height_ = height;
  rowBytes_ = (width + 7) / 8;
  bits_.assign(static_cast<std::size_t>(rowBytes_) * static_cast<std::size_t>(height), 0);
  return true;
}

bool CHitMap::mark(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
  if (x < 0 || y < 0 || width < 0 || height < 0) {
    return false;
  }
  // 64-bit edges: a skin's numbers may be anything up to the 32-bit limits.
  const std::int64_t right = std::int64_t{x} + width;
  const std::int64_t bottom = std::int64_t{y} + height;
  if (right >= width_ || bottom >= height_) {
    return false;
  }
  if (anyMarked(x, y, static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom))) {
    return false;
  }
  for (std::int32_t row = y; row < bottom; ++row) {
    for (std::int32_t column = x; column < right; ++column) {
      bits_[static_cast<std::size_t>(row) * rowBytes_ + column / 8] |=
          static_cast<std::uint8_t>(1u << (column % 8));
    }
  }
  return true;
}

bool CHitMap::isMarked(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) {
    return false;
  }
  return (bits_[static_cast<std::size_t>(y) * rowBytes_ + x / 8] >> (x % 8)) & 1u;
}

bool CHitMap::anyMarked(std::int32_t x, std::int32_t y, std::int32_t lastX,
                        std::int32_t lastY) const {
  for (std::int32_t row = y; row <= lastY; ++row) {
    for (std::int32_t column = x; column <= lastX; ++column) {
      if (isMarked(column, row)) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace tavrel
