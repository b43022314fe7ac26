#pragma once

#include <cstdint>
#include <vector>

#include "keys/PcKeyTables.h"
#include "keys/RegionManager.h"
#include "tavrel/command/CommandInterface.h"

namespace tavrel {

// Turns mouse clicks on key regions and PC keys into the command ids of the key map. The
// window procedure calls it; it checks the other mouse button itself (a left press while the
// right button is held is not passed on, and the reverse).
class CKeyInput {
 public:
  // Both must outlive this object; commands gives the command cache.
  CKeyInput(const CommandInterface& commands, const CRegionManager& regions,
            const PcKeyTables& pcKeys)
      : commands_(commands), regions_(regions), pcKeys_(pcKeys) {}

  // Presses the emulator key under the point (once: a key whose release is pending is not
  // pressed again), else runs the press command of a command key there.
  void leftButtonDown(std::int32_t x, std::int32_t y);
  // Latches: presses the emulator key under the point, or releases it when it is latched.
  void rightButtonDown(std::int32_t x, std::int32_t y);
  // Left button up and loss of focus: runs every pending release, newest first.
  void releasePending();

  // Bit 28-31 of the key data: extended-state, Alt held, previous state (auto-repeat), up.
  static constexpr std::uint32_t kDroppedKeyDataBits = 0xF0000000u;
  // Runs the down table's command unless the key data marks an auto-repeat or an Alt
  // combination. False when dropped, so a system key gets the default handling.
  bool pcKeyDown(std::uint32_t virtualKey, std::uint32_t keyData);
  void pcKeyUp(std::uint32_t virtualKey);

  const std::vector<std::uint16_t>& pendingReleases() const { return pending_; }

 private:
  bool isPending(std::uint16_t id) const;
  void run(std::uint16_t id) const;

  const CommandInterface& commands_;
  const CRegionManager& regions_;
  const PcKeyTables& pcKeys_;
  std::vector<std::uint16_t> pending_;
};

}  // namespace tavrel
