#include "DirectPort.h"

#include <atomic>
#include <mutex>

#include "DirectLink.h"
#include "Display.h"
#include "Machine.h"
#include "ProcessorAccess.h"
#include "TaskPause.h"
#include "emulation/EmulationControl.h"
#include "serial/SerialRegisters.h"
#include "serial/SerialService.h"

namespace tavrel::core::remote {
namespace {

constexpr int kReadAttempts = 5;
constexpr std::uint32_t kAfterByteMs = 15;
constexpr std::uint32_t kRetryMs = 1000;
constexpr std::uint32_t kInputPollMs = 50;

std::mutex heldLock;
std::shared_ptr<DirectLink> held;  // under heldLock
// Set from the moment an opening begins, so that the bridge does not restart meanwhile.
std::atomic<bool> heldFlag{false};

std::shared_ptr<DirectLink> takeHeld() {
  std::lock_guard guard(heldLock);
  std::shared_ptr<DirectLink> link = std::move(held);
  heldFlag.store(false);
  return link;
}

serial::PortHandle portForIndex(int index) {
  const std::u16string name(serial::virtualPortName(index));
  if (name.empty())
    return nullptr;
  return serial::adoptPort(serial::portFromConnectionService(name));
}

// The bridge would read the peer's bytes from the same line.
void stopBridgeOn(int index) {
  if (std::shared_ptr<serial::SerialBridge> bridge = serial::serialBridge();
      bridge != nullptr && bridge->selected() == index)
    serial::stopSerial();
}

// The pause between two attempts; it ends early when a byte comes, so that a peer that answers
// at once is served at once. False when the task must stop.
bool pauseForInput(DirectLink& link) {
  for (std::uint32_t waited = 0; waited < kRetryMs; waited += kInputPollMs) {
    if (link.hasInput())
      return true;
    if (!pauseThisTask(kInputPollMs))
      return false;
  }
  return true;
}

}  // namespace

bool directPortHeld() {
  return heldFlag.load();
}

void markDirectPortClosed() {
  if (std::shared_ptr<DirectLink> link = takeHeld())
    link->shut();
}

std::shared_ptr<DirectLink> openDirectPort(int index, machine::Machine& m) {
  if (std::shared_ptr<DirectLink> previous = heldDirectPort())
    closeDirectPort(*previous, m);
  heldFlag.store(true);
  stopBridgeOn(index);
  serial::PortHandle port = portForIndex(index);
  if (port == nullptr || !port->open()) {
    heldFlag.store(heldDirectPort() != nullptr);
    return nullptr;
  }
  std::size_t unused = 0;
  serial::portControl(*port, serial::kSetSpeedRequest, kDirectSpeed, unused);
  auto link = std::make_shared<DirectLink>(index, std::move(port));
  std::lock_guard guard(heldLock);
  held = link;
  heldFlag.store(true);
  return link;
}

std::shared_ptr<DirectLink> heldDirectPort() {
  std::lock_guard guard(heldLock);
  return held;
}

int readDirectByte(DirectLink& link, machine::Machine& m) {
  for (int attempt = 1; attempt <= kReadAttempts && link.isOpen(); ++attempt) {
    const int byte = link.tryReadByte();
    if (byte >= 0)
      return pauseThisTask(kAfterByteMs) ? byte : -1;
    if (attempt == kReadAttempts) {
      closeDirectPort(link, m);
      break;
    }
    if (!pauseForInput(link))
      break;
  }
  return -1;
}

void closeDirectPort(DirectLink& link, machine::Machine& m) {
  if (!link.shut())
    return;
  bool wasHeld = false;
  {
    std::lock_guard guard(heldLock);
    if (held.get() == &link) {
      held.reset();
      heldFlag.store(false);
      wasHeld = true;
    }
  }
  if (wasHeld)
    showLinkAnnunciator(m, false);
}

void showLinkAnnunciator(machine::Machine& m, bool on) {
  // The firmware changes the other annunciators between two instructions.
  machine::ProcessorHold hold(m);
  const std::uint8_t now = std::atomic_ref<std::uint8_t>(m.vm.annunciators).load();
  const std::uint8_t bit = machine::kSerialAnnunciator;
  machine::setAnnunciators(m, static_cast<std::uint8_t>(on ? (now | bit) : (now & ~bit)));
}

}  // namespace tavrel::core::remote
