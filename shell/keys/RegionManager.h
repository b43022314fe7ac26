#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "keys/KeyRegion.h"

namespace tavrel {

// A region and the command id it runs (see ICommandCache::id).
struct RegionCommand {
  std::uint16_t id = 0;
  std::shared_ptr<const KeyRegion> region;
};

// The clickable regions of the loaded skin: four lists in file order (emulator-key press and
// release, command press and release) and the regions of each key name.
class CRegionManager {
 public:
  void clear();

  void addEmulatorKey(std::uint16_t pressId, std::uint16_t releaseId, const std::u16string& name,
                      std::shared_ptr<const KeyRegion> region);
  void addCommandKey(std::uint16_t pressId, std::uint16_t releaseId, const std::u16string& name,
                     std::shared_ptr<const KeyRegion> region);

  // The first entry of a list whose region holds the point, or null.
  const RegionCommand* emulatorPressAt(std::int32_t x, std::int32_t y) const;
  const RegionCommand* emulatorReleaseAt(std::int32_t x, std::int32_t y) const;
  const RegionCommand* commandPressAt(std::int32_t x, std::int32_t y) const;

  // Every region filed under the key name, in file order.
  std::vector<std::shared_ptr<const KeyRegion>> regionsNamed(const std::u16string& name) const;

  const std::vector<RegionCommand>& commandReleases() const { return commandReleases_; }

 private:
  static const RegionCommand* firstAt(const std::vector<RegionCommand>& list, std::int32_t x,
                                      std::int32_t y);

  std::vector<RegionCommand> emulatorPresses_;
  std::vector<RegionCommand> emulatorReleases_;
  std::vector<RegionCommand> commandPresses_;
  // Filled for completeness of the key map; a command key's "up" runs only from PC keys.
  std::vector<RegionCommand> commandReleases_;
  std::multimap<std::u16string, std::shared_ptr<const KeyRegion>> byName_;
};

}  // namespace tavrel
