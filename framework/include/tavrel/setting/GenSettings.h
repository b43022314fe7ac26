#pragma once

#include <cstdint>
#include <string>

namespace tavrel::setting {

// The values a GenSettings record can be made of.
struct origin {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct dimensions {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

struct bmpResource {
  std::u16string bitmap;
};

// A plain settings record with one part per value type: GenSettings<origin, dimensions>
// has x, y, width and height. Reach a part as a whole with get<origin>(settings).
template <class... Values>
struct GenSettings : Values... {
  friend bool operator==(const GenSettings&, const GenSettings&) = default;
};

template <class Value, class... Values>
Value& get(GenSettings<Values...>& settings) {
  return settings;
}

template <class Value, class... Values>
const Value& get(const GenSettings<Values...>& settings) {
  return settings;
}

// The overlay settings a skin gives: where, how large, and which picture.
using OverlaySettings = GenSettings<origin, dimensions, bmpResource>;

}  // namespace tavrel::setting
