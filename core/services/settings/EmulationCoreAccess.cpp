#include "emulation/EmulationControl.h"
#include "settings/CoreAccess.h"
#include "timing/TimerService.h"

namespace tavrel::core {

namespace {

class EmulationCoreAccess final : public ICoreAccess {
 public:
  machine::Machine* machine() override { return currentMachine(); }
  void pause() override { pauseEmulation(); }
  void resume() override { resumeEmulation(); }
  std::mutex& emulationLock() override { return core::emulationLock(); }
  std::int64_t clockOffset() override {
    std::uint64_t offset = 0;
    if (timing::TimerService* timers = timerService())
      timers->getClockOffset(offset);
    return static_cast<std::int64_t>(offset);
  }
  void setClockOffset(std::int64_t offset) override {
    if (timing::TimerService* timers = timerService())
      timers->setClockOffset(static_cast<std::uint64_t>(offset));
  }
  std::u16string skinName() override { return core::skinName(); }
};

}  // namespace

ICoreAccess& emulationCoreAccess() {
  static EmulationCoreAccess access;
  return access;
}

}  // namespace tavrel::core
