#include "PreferenceEntry.h"

#include <algorithm>

namespace tavrel::prefs {

namespace {

std::u16string labelOf(const EntryControl& control) {
  return std::visit(
      [](const auto& entry) -> std::u16string {
        if constexpr (std::is_same_v<std::decay_t<decltype(entry)>, gui::TrackBarEntry>) {
          return entry.caption;
        } else {
          return entry.label;
        }
      },
      control);
}

}  // namespace

CPreferenceEntry::CPreferenceEntry(std::u16string name, EntryControl control)
    : name_(std::move(name)),
      label_(labelOf(control)),
      font_(std::visit([](const auto& entry) { return entry.font; }, control)),
      kind_(control.index()),
      control_(std::move(control)) {}

bool CPreferenceEntry::enter() {
  std::lock_guard lock(mutex_);
  if (retired_) {
    return false;
  }
  callers_.push_back(std::this_thread::get_id());
  return true;
}

void CPreferenceEntry::leave() {
  EntryControl dropped;
  {
    std::lock_guard lock(mutex_);
    callers_.erase(std::find(callers_.begin(), callers_.end(), std::this_thread::get_id()));
    if (retired_ && callers_.empty()) {
      // Retired from inside this call: the handlers go now that none of them runs.
      dropped = std::exchange(control_, EntryControl{});
    }
  }
  left_.notify_all();
}

bool CPreferenceEntry::calledHere() const {
  return std::find(callers_.begin(), callers_.end(), std::this_thread::get_id()) != callers_.end();
}

void CPreferenceEntry::retire() {
  EntryControl dropped;
  std::unique_lock lock(mutex_);
  retired_ = true;
  left_.wait(lock, [this] {
    return std::all_of(callers_.begin(), callers_.end(),
                       [](std::thread::id caller) { return caller == std::this_thread::get_id(); });
  });
  if (!calledHere()) {
    dropped = std::exchange(control_, EntryControl{});
  }
  lock.unlock();
}

}  // namespace tavrel::prefs
