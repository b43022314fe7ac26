// The "90 Throttle" preference page's functions: a track bar of five positions that picks
// the emulation speed, kept as the 32-bit setting "EMUThrottle" at the core's settings key.
// ThrottlePage hands them to the preferences service. The service calls them on its own
// thread, other callers on theirs, so the setting is kept under a lock.
#pragma once

#include <mutex>
#include <string>
#include <string_view>

#include "TimerService.h"
#include "tavrel/Registry.h"

namespace tavrel::timing {

class ThrottlePreference {
 public:
  static constexpr std::u16string_view kPageName = u"90 Throttle";
  static constexpr std::u16string_view kControlKind = u"TRACKBAR";
  static constexpr std::u16string_view kCaption = u"Emulation speed:";
  static constexpr std::u16string_view kFont = u"Arial";
  static constexpr std::u16string_view kValueName = u"EMUThrottle";
  static constexpr int kFirstPosition = 0;
  static constexpr int kLastPosition = TimerService::kUnthrottled;
  static constexpr int kNotRead = -1;

  // settingsKey: the core's key in the settings store, relative to the application key.
  ThrottlePreference(TimerService& timers, CRegistry& registry, std::u16string settingsKey);

  // The text shown for a position; "maximum speed" for 4 and anything out of range.
  static std::u16string label(int position);
  // The position to show. The first call reads "EMUThrottle" (missing, unreadable or out of
  // 0..4: 4) and applies it to the timer service.
  int get();
  // Applies the position (out of 0..4: 4) and stores it. A store that cannot be written
  // keeps the speed for this run and says so on the error stream.
  void set(int position);
  // The setting in memory; kNotRead until get() or set() has run.
  int setting() const;

 private:
  TimerService& timers_;
  CRegistry& registry_;
  std::u16string settingsKey_;
  mutable std::mutex mutex_;
  int setting_ = kNotRead;
};

}  // namespace tavrel::timing
