#include "keys/KeyInput.h"

#include <algorithm>

namespace tavrel {

void CKeyInput::leftButtonDown(std::int32_t x, std::int32_t y) {
  if (const RegionCommand* press = regions_.emulatorPressAt(x, y)) {
    const RegionCommand* release = regions_.emulatorReleaseAt(x, y);
    if (release == nullptr || isPending(release->id)) {
      return;
    }
    run(press->id);
    pending_.push_back(release->id);
    return;
  }
  if (const RegionCommand* command = regions_.commandPressAt(x, y)) {
    run(command->id);
  }
}

void CKeyInput::rightButtonDown(std::int32_t x, std::int32_t y) {
  const RegionCommand* press = regions_.emulatorPressAt(x, y);
  const RegionCommand* release = regions_.emulatorReleaseAt(x, y);
  if (press == nullptr || release == nullptr) {
    return;
  }
  if (auto latched = std::find(pending_.begin(), pending_.end(), release->id);
      latched != pending_.end()) {
    pending_.erase(latched);
    run(release->id);
    return;
  }
  run(press->id);
  pending_.push_back(release->id);
}

void CKeyInput::releasePending() {
  // Taken out first: a release command may press or release keys itself.
  std::vector<std::uint16_t> due;
  due.swap(pending_);
  for (auto id = due.rbegin(); id != due.rend(); ++id) {
    run(*id);
  }
}

bool CKeyInput::pcKeyDown(std::uint32_t virtualKey, std::uint32_t keyData) {
  if ((keyData & kDroppedKeyDataBits) != 0) {
    return false;
  }
  if (virtualKey < PcKeyTables::kKeyCount) {
    run(pcKeys_.down[virtualKey]);
  }
  return true;
}

void CKeyInput::pcKeyUp(std::uint32_t virtualKey) {
  if (virtualKey < PcKeyTables::kKeyCount) {
    run(pcKeys_.up[virtualKey]);
  }
}

bool CKeyInput::isPending(std::uint16_t id) const {
  return std::find(pending_.begin(), pending_.end(), id) != pending_.end();
}

void CKeyInput::run(std::uint16_t id) const {
  if (id == 0 || commands_.getCache.empty()) {
    return;
  }
  if (ICommandCache* cache = commands_.getCache()) {
    cache->execute(id);
  }
}

}  // namespace tavrel
