#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace tavrel::gui {

// Some window systems repeat a held key as a release and a press with one time stamp, and the
// toolkit does not always see the pair in time to mark it as a repeat. The filter keeps each
// release back until the next key event (or flush()): a press of the same key with the same
// time stamp continues the held key, and the release is dropped.
class CKeyRepeatFilter {
 public:
  struct Key {
    std::uint32_t code = 0;
    std::uint64_t timestamp = 0;  // 0 when unknown: such a release is never paired
  };

  // Delivers a release kept before (of another key, or not paired) and keeps this one.
  void released(Key key, std::function<void()> deliver);
  // True when the press continues a held key: the release just before it is dropped.
  // A release kept for another key is delivered first.
  bool pressed(Key key);
  // Delivers the kept release, if any.
  void flush();
  bool holdsRelease() const { return pending_.has_value(); }

 private:
  struct Pending {
    Key key;
    std::function<void()> deliver;
  };
  std::optional<Pending> pending_;
};

}  // namespace tavrel::gui
