#include "ThrottlePreference.h"

#include <array>
#include <cstdio>

#include "tavrel/excpt/Exception.h"

namespace tavrel::timing {
namespace {

constexpr std::array<std::u16string_view, 5> kLabels = {
    u"half calculator speed", u"real calculator speed", u"2x calculator speed",
    u"4x calculator speed", u"maximum speed"};

int validPosition(std::int64_t position) {
  return position >= ThrottlePreference::kFirstPosition &&
                 position <= ThrottlePreference::kLastPosition
             ? static_cast<int>(position)
             : ThrottlePreference::kLastPosition;
}

}  // namespace

ThrottlePreference::ThrottlePreference(TimerService& timers, CRegistry& registry,
                                       std::u16string settingsKey)
    : timers_(timers), registry_(registry), settingsKey_(std::move(settingsKey)) {}

std::u16string ThrottlePreference::label(int position) {
  return std::u16string(kLabels[static_cast<std::size_t>(validPosition(position))]);
}

int ThrottlePreference::get() {
  std::lock_guard guard(mutex_);
  if (setting_ == kNotRead) {
    std::int64_t stored = kLastPosition;
    try {
      stored = registry_.readNumber32(settingsKey_, kValueName);
    } catch (const excpt::SettingReadException&) {
      // Never chosen yet, or not a number: full speed.
    }
    setting_ = validPosition(stored);
    timers_.applyThrottle(setting_);
  }
  return setting_;
}

void ThrottlePreference::set(int position) {
  std::lock_guard guard(mutex_);
  setting_ = validPosition(position);
  timers_.applyThrottle(setting_);
  try {
    registry_.writeNumber32(settingsKey_, kValueName, static_cast<std::uint32_t>(setting_));
  } catch (const excpt::SettingWriteException&) {
    std::fputs("EMUThrottle: the emulation speed could not be saved\n", stderr);
  }
}

int ThrottlePreference::setting() const {
  std::lock_guard guard(mutex_);
  return setting_;
}

}  // namespace tavrel::timing
