// An event over a mutex and a condition variable, with the two platform kinds: manual reset
// (stays set until reset) and auto reset (one successful wait clears it).
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace tavrel::os {

class Event {
 public:
  explicit Event(bool manualReset, bool initiallySet = false)
      : manualReset_(manualReset), set_(initiallySet) {}
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void set();
  void reset();
  bool isSet() const;
  // True when the event became set within the limit (no limit when empty). An auto-reset
  // event is cleared by the wait that sees it set.
  bool wait(std::optional<std::chrono::milliseconds> limit = std::nullopt);
  bool manualReset() const { return manualReset_; }

 private:
  const bool manualReset_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool set_;
};

}  // namespace tavrel::os
