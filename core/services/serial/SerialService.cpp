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

IVirtualPort* portFromConnectionService(const std::u16string& name) {
  return static_cast<IVirtualPort*>(commandLink().executeLine(u"getIOPortForVPort " + name, 0));
}

std::shared_ptr<SerialBridge> takeBridge() {
  std::lock_guard guard(bridgeSlotLock());
  return std::move(bridgeSlot());
}

}  // namespace

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
