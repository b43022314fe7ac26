#include "settings/CoreAccess.h"

#include <atomic>

namespace tavrel::core {

namespace {
std::atomic<ICoreAccess*>& installed() {
  static std::atomic<ICoreAccess*> access{nullptr};
  return access;
}
}  // namespace

ICoreAccess& coreAccess() {
  ICoreAccess* access = installed().load();
  return access ? *access : emulationCoreAccess();
}

ICoreAccess* setCoreAccess(ICoreAccess* access) {
  return installed().exchange(access);
}

}  // namespace tavrel::core
