// What the state files and the folio export need from the running core: the machine, pause
// and resume, the emulation lock, the clock offset and the skin name. The core's emulation
// task provides them; a program that drives a machine of its own (tests, benchmarks) may
// install another provider.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "Machine.h"

namespace tavrel::core {

class ICoreAccess {
 public:
  virtual ~ICoreAccess() = default;
  // Null before boot.
  virtual machine::Machine* machine() = 0;
  virtual void pause() = 0;
  virtual void resume() = 0;
  virtual std::mutex& emulationLock() = 0;
  // In 100-ns units.
  virtual std::int64_t clockOffset() = 0;
  virtual void setClockOffset(std::int64_t offset) = 0;
  // As booted ('#' already turned into blanks); empty before boot.
  virtual std::u16string skinName() = 0;
};

// Emulation paused for a scope.
class EmulationPaused {
 public:
  explicit EmulationPaused(ICoreAccess& core) : core_(core) { core_.pause(); }
  ~EmulationPaused() { core_.resume(); }
  EmulationPaused(const EmulationPaused&) = delete;
  EmulationPaused& operator=(const EmulationPaused&) = delete;

 private:
  ICoreAccess& core_;
};

// The core's own provider, over the emulation task.
ICoreAccess& emulationCoreAccess();
// The provider in use: the core's emulation task unless another is installed.
ICoreAccess& coreAccess();
// Installs a provider (null restores the core's own) and returns the one it replaces.
ICoreAccess* setCoreAccess(ICoreAccess* access);

}  // namespace tavrel::core
