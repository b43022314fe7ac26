// The application's clock and waits. The core uses the steady clock and real sleeps; tests
// give their own so that no wait takes time.
#pragma once

#include <cstdint>
#include <functional>

namespace tavrel::core::datavane {

struct LinkTiming {
  std::function<std::uint32_t()> nowMs;           // a millisecond count that may wrap
  std::function<void(std::uint32_t ms)> sleepMs;  // blocks the calling task

  static LinkTiming steady();
};

}  // namespace tavrel::core::datavane
