#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

#include "tavrel/gui/Preferences.h"

namespace tavrel::prefs {

using EntryControl = std::variant<gui::CheckBoxEntry, gui::ComboBoxEntry, gui::TrackBarEntry>;

// The index of control type T in EntryControl, as CPreferenceEntry::kind() gives it.
template <class T, class Variant = EntryControl>
struct ControlKind;
template <class T, class... Types>
struct ControlKind<T, std::variant<Types...>> {
  static constexpr std::size_t value = [] {
    std::size_t index = 0;
    (void)((std::is_same_v<T, Types> ? false : (++index, true)) && ...);
    return index;
  }();
};

// One preference entry and the guard around its handlers: once retire() has returned they
// are never called again, whichever thread called them, and they are dropped.
class CPreferenceEntry {
 public:
  CPreferenceEntry(std::u16string name, EntryControl control);
  CPreferenceEntry(const CPreferenceEntry&) = delete;
  CPreferenceEntry& operator=(const CPreferenceEntry&) = delete;

  const std::u16string& name() const { return name_; }
  // The label (the caption of a track bar) and its font.
  const std::u16string& label() const { return label_; }
  const std::u16string& font() const { return font_; }
  // Which control it is: the index of its type in EntryControl.
  std::size_t kind() const { return kind_; }

  // Calls use(control) unless the entry is retired. No lock is held during the call, so a
  // handler may add or remove entries, its own included.
  template <class Use>
  void call(Use&& use) {
    if (!enter()) {
      return;
    }
    struct Leave {
      CPreferenceEntry& entry;
      ~Leave() { entry.leave(); }
    } leave{*this};
    use(static_cast<const EntryControl&>(control_));
  }

  // Waits for calls running on other threads, then drops the handlers (when this thread is
  // itself inside a call of the entry, as that call ends).
  void retire();

 private:
  bool enter();
  void leave();
  bool calledHere() const;

  const std::u16string name_;
  // Kept apart from the control, whose handlers are dropped on retirement.
  const std::u16string label_;
  const std::u16string font_;
  const std::size_t kind_;
  EntryControl control_;
  std::mutex mutex_;
  std::condition_variable left_;
  bool retired_ = false;
  std::vector<std::thread::id> callers_;  // one entry per call in progress
};

}  // namespace tavrel::prefs
