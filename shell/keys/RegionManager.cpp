#include "keys/RegionManager.h"

namespace tavrel {

void CRegionManager::clear() {
  emulatorPresses_.clear();
  emulatorReleases_.clear();
  commandPresses_.clear();
  commandReleases_.clear();
  byName_.clear();
}

void CRegionManager::addEmulatorKey(std::uint16_t pressId, std::uint16_t releaseId,
                                    const std::u16string& name,
                                    std::shared_ptr<const KeyRegion> region) {
  emulatorPresses_.push_back({pressId, region});
  emulatorReleases_.push_back({releaseId, region});
  byName_.emplace(name, std::move(region));
}

void CRegionManager::addCommandKey(std::uint16_t pressId, std::uint16_t releaseId,
                                   const std::u16string& name,
                                   std::shared_ptr<const KeyRegion> region) {
  commandPresses_.push_back({pressId, region});
  commandReleases_.push_back({releaseId, region});
  byName_.emplace(name, std::move(region));
}

const RegionCommand* CRegionManager::emulatorPressAt(std::int32_t x, std::int32_t y) const {
  return firstAt(emulatorPresses_, x, y);
}

const RegionCommand* CRegionManager::emulatorReleaseAt(std::int32_t x, std::int32_t y) const {
  return firstAt(emulatorReleases_, x, y);
}

const RegionCommand* CRegionManager::commandPressAt(std::int32_t x, std::int32_t y) const {
  return firstAt(commandPresses_, x, y);
}

std::vector<std::shared_ptr<const KeyRegion>> CRegionManager::regionsNamed(
    const std::u16string& name) const {
  std::vector<std::shared_ptr<const KeyRegion>> regions;
  auto [first, last] = byName_.equal_range(name);
  for (auto it = first; it != last; ++it) {
    regions.push_back(it->second);
  }
  return regions;
}

const RegionCommand* CRegionManager::firstAt(const std::vector<RegionCommand>& list, std::int32_t x,
                                             std::int32_t y) {
  for (const RegionCommand& entry : list) {
    if (entry.region->contains(x, y)) {
      return &entry;
    }
  }
  return nullptr;
}

}  // namespace tavrel
