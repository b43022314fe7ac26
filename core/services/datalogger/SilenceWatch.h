#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace tavrel::datalogger {

// Milliseconds of a monotonic clock; tests give their own.
using MillisecondClock = std::function<std::int64_t()>;
MillisecondClock steadyMilliseconds();

// Tells when a logger has gone quiet: more than 5 empty polls in a row with more than
// 3000 ms since the last data (or since the port opened).
class SilenceWatch {
 public:
  explicit SilenceWatch(MillisecondClock clock) : clock_(std::move(clock)) { restart(); }

  void restart();
  // Records one poll that brought bytes; true when the port should be closed.
  bool poll(std::size_t bytes);

 private:
  MillisecondClock clock_;
  int emptyPolls_ = 0;
  std::int64_t lastData_ = 0;
};

}  // namespace tavrel::datalogger
