#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "keys/KeyMessageSink.h"

namespace tavrel {

struct KeyMessage {
  std::uint32_t type = 0;
  std::uint32_t first = 0;
  std::uint32_t second = 0;
  friend bool operator==(const KeyMessage&, const KeyMessage&) = default;
};

// A calculator key as the key set file names it: one or more names and the messages that
// press and release it.
struct EmulatorKey {
  std::vector<std::u16string> names;
  KeyMessage press;
  KeyMessage release;
};

// The calculator keys in file order.
class CEmulatorKeySet {
 public:
  // Starts a key whose press and release messages carry the code as key position.
  void startKey(std::int32_t code);
  // One more name of the key started last; ignored before the first key.
  void addName(std::u16string name);

  // The first key that has the name, or null.
  const EmulatorKey* find(const std::u16string& name) const;

  const std::vector<EmulatorKey>& keys() const { return keys_; }

 private:
  std::vector<EmulatorKey> keys_;
};

}  // namespace tavrel
