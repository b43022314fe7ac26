#include "SerialService.h"

#include <mutex>

#include "emulation/EmulationControl.h"
#include "plugin/CoreCommandLink.h"

namespace tavrel::core::serial {
namespace {

std::mutex& bridgeSlotLock() {
  static std::mutex lock;
  return lock;
}

std::shared_ptr<SerialBridge>& bridgeSlot() {
  static std::shared_ptr<SerialBridge> bridge;
  return bridge;
}

std::shared_ptr<SerialBridge> takeBridge() {
  std::lock_guard guard(bridgeSlotLock());
  return std::move(bridgeSlot());
}

}  // namespace

IVirtualPort* portFromConnectionService(const std::u16string& name) {
  // Asked first, so that a core without a connection service does not report an unknown
  // command each time the firmware touches its serial registers.
  static constexpr char16_t kCommand[] = u"getIOPortForVPort";
  ICommandRegistry* registry = commandLink().registry();
  if (registry == nullptr || registry->get(kCommand) == nullptr)
    return nullptr;
  return static_cast<IVirtualPort*>(
      commandLink().executeLine(std::u16string(kCommand) + u" " + name, 0));
}

void openSerialBridge(machine::Machine& m) {
  auto bridge = std::make_shared<SerialBridge>(m, &portFromConnectionService);
  std::shared_ptr<SerialBridge> old;
  {
    std::lock_guard guard(bridgeSlotLock());
    old = std::exchange(bridgeSlot(), std::move(bridge));
  }
  if (old != nullptr)
    old->close();
}

void closeSerialBridge() {
  if (std::shared_ptr<SerialBridge> bridge = takeBridge())
    bridge->close();
}

std::shared_ptr<SerialBridge> serialBridge() {
  std::lock_guard guard(bridgeSlotLock());
  return bridgeSlot();
}

void restartSerial(bool force) {
  if (std::shared_ptr<SerialBridge> bridge = serialBridge())
    bridge->restart(force);
}

void stopSerial() {
  if (std::shared_ptr<SerialBridge> bridge = serialBridge())
    bridge->stop();
}

}  // namespace tavrel::core::serial
