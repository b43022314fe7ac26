#include "LinkTiming.h"

#include <chrono>
#include <thread>

namespace tavrel::core::datavane {

LinkTiming LinkTiming::steady() {
  return LinkTiming{
      [] {
        return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
      },
      [](std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }};
}

}  // namespace tavrel::core::datavane
