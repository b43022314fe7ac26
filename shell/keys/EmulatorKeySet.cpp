#include "keys/EmulatorKeySet.h"

#include <algorithm>

namespace tavrel {

void CEmulatorKeySet::startKey(std::int32_t code) {
  const auto position = static_cast<std::uint32_t>(code);
  keys_.push_back(
      EmulatorKey{{}, {kKeyPressMessage, position, 0}, {kKeyReleaseMessage, position, 0}});
}

void CEmulatorKeySet::addName(std::u16string name) {
  if (!keys_.empty()) {
    keys_.back().names.push_back(std::move(name));
  }
}

const EmulatorKey* CEmulatorKeySet::find(const std::u16string& name) const {
  for (const EmulatorKey& key : keys_) {
    if (std::find(key.names.begin(), key.names.end(), name) != key.names.end()) {
      return &key;
    }
  }
  return nullptr;
}

}  // namespace tavrel
