#include "MacroRecorder.h"

#include <utility>

namespace tavrel::macro {

void CMacroRecorder::start() {
  std::lock_guard lock(mutex_);
  recording_ = true;
  steps_.clear();
}

bool CMacroRecorder::stop(Macro& recorded) {
  std::lock_guard lock(mutex_);
  if (!recording_) {
    return false;
  }
  recording_ = false;
  recorded = std::exchange(steps_, Macro{});
  return true;
}

void CMacroRecorder::lineExecuted(const std::u16string& name, const std::u16string& line) {
  if (name != u"key_down" && name != u"key_up") {
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  std::lock_guard lock(mutex_);
  if (!recording_) {
    return;
  }
  // The pause before the first key is the user reaching for it, not part of the macro.
  const auto gap = steps_.empty() ? std::chrono::steady_clock::duration::zero() : now - last_;
  steps_.push_back(MacroStep{line, gap});
  last_ = now;
}

}  // namespace tavrel::macro
