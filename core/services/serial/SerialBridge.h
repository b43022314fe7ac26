// The serial bridge: connects the calculator's serial interface to the virtual port its
// registers choose ("RS232", "USB" or "IrDA"), with serialInTask and serialOutTask moving
// bytes between the port and the receive and transmit rings.
//
// Lock order: the bridge lock, then the receive lock, then the transmit lock. The rings are
// touched only under their lock; no lock is held while a task waits.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "tavrel/io/VirtualPort.h"

namespace tavrel::machine {
struct Machine;
}
namespace tavrel::os {
struct tag_MutexInfo;
}

namespace tavrel::core::serial {

struct BridgeRings;
struct BridgeSession;
struct TaskLink;

// The port object for a virtual port name, or null when that port does not exist.
using PortSource = std::function<IVirtualPort*(const std::u16string& name)>;

// How long stopping waits for each task before forgetting it.
inline constexpr std::chrono::milliseconds kTaskEndLimit{5000};

class SerialBridge {
 public:
  SerialBridge(machine::Machine& m, PortSource ports);
  ~SerialBridge();  // closes
  SerialBridge(const SerialBridge&) = delete;
  SerialBridge& operator=(const SerialBridge&) = delete;

  // Opens the port the registers choose and starts both tasks, when force is set or the
  // choice changed; does nothing while the native calls hold a direct port.
  void restart(bool force);
  void stop();
  // Stops for good: restarts do nothing after it, and tasks that outlive it no longer
  // reach the machine.
  void close();

  // Calculator side, on the interpreter task.
  void transmit(std::uint8_t byte);
  // Register 11 as read: bit 0 = the receive ring holds data, the other bits as stored.
  std::uint32_t receiveStatus(std::uint32_t stored);
  // The next received byte; 0 when none waits.
  std::uint8_t takeReceived();

  // The selected virtual port, 0 while inactive.
  int selected() const { return selected_.load(); }
  bool tasksRunning();
  // Bytes in the receive ring, and the chunk serialInTask waits to fit in (-1: none).
  std::size_t receivedWaiting();
  int waitingFor();

 private:
  void stopLocked();
  bool startTasks(const std::shared_ptr<BridgeSession>& session);
  void publishSignals(BridgeSession& session);

  machine::Machine& machine_;
  PortSource ports_;
  os::tag_MutexInfo* bridgeLock_;
  std::shared_ptr<BridgeRings> rings_;
  std::shared_ptr<BridgeSession> session_;  // under the bridge lock
  std::atomic<int> selected_{0};
  int openPort_ = -1;  // under the bridge lock
  bool closed_ = false;
};

}  // namespace tavrel::core::serial
