#pragma once

#include <array>
#include <cstdint>

namespace tavrel {

// Command ids run by PC keys, indexed by virtual-key code; 0 runs nothing.
struct PcKeyTables {
  static constexpr std::size_t kKeyCount = 256;

  std::array<std::uint16_t, kKeyCount> down{};
  std::array<std::uint16_t, kKeyCount> up{};

  void clear() {
    down.fill(0);
    up.fill(0);
  }
};

}  // namespace tavrel
