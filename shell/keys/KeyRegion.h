#pragma once

#include <cstdint>
#include <string>

#include "tavrel/fn/Function.h"

namespace tavrel {

// A GUI export that draws a key region in the named window class.
using RegionPainter = fn::Function<fn::ret<void>, std::u16string>;

// One clickable rectangle of a skin key, in window pixels.
struct KeyRegion {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  RegionPainter drawPressed;
  RegionPainter drawNormal;

  // Both edges included: a click on the right or bottom border still hits the key.
  bool contains(std::int32_t x, std::int32_t y) const {
    return left <= x && std::int64_t{x} <= std::int64_t{left} + width && top <= y &&
           std::int64_t{y} <= std::int64_t{top} + height;
  }
};

}  // namespace tavrel
