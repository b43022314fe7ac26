#include "SilenceWatch.h"

#include <chrono>

namespace tavrel::datalogger {
namespace {

constexpr int kMostEmptyPolls = 5;
constexpr std::int64_t kLongestSilenceMs = 3000;

}  // namespace

MillisecondClock steadyMilliseconds() {
  return [] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  };
}

void SilenceWatch::restart() {
  emptyPolls_ = 0;
  lastData_ = clock_();
}

bool SilenceWatch::poll(std::size_t bytes) {
  if (bytes > 0) {
    restart();
    return false;
  }
  ++emptyPolls_;
  return emptyPolls_ > kMostEmptyPolls && clock_() - lastData_ > kLongestSilenceMs;
}

}  // namespace tavrel::datalogger
