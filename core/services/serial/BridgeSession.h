// Inside the bridge: what its two tasks share with it. The tasks hold these by shared
// pointer, so a task that is forgotten after the end limit keeps what it touches alive and
// finds the machine gone (null) rather than freed.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "PortRequests.h"
#include "datalogger/ByteRing.h"
#include "os/Events.h"
#include "os/Mutexes.h"

namespace tavrel::machine {
struct Machine;
}

namespace tavrel::core::serial {

inline constexpr std::size_t kRingSlots = 1024;
inline constexpr std::size_t kChunkBytes = 1104;

// Holds an OS-abstraction mutex for one scope.
class MutexScope {
 public:
  explicit MutexScope(os::tag_MutexInfo* mutex) : mutex_(mutex) { os::lockMutex(mutex_, 0, 0); }
  ~MutexScope() { os::unlockMutex(mutex_); }
  MutexScope(const MutexScope&) = delete;
  MutexScope& operator=(const MutexScope&) = delete;

 private:
  os::tag_MutexInfo* mutex_;
};

// The two rings and their locks, for the whole life of the bridge.
struct BridgeRings {
  BridgeRings();
  ~BridgeRings();
  BridgeRings(const BridgeRings&) = delete;
  BridgeRings& operator=(const BridgeRings&) = delete;

  os::tag_MutexInfo* receiveLock;
  os::tag_MutexInfo* transmitLock;
  datalogger::ByteRing receive{kRingSlots};   // under receiveLock
  datalogger::ByteRing transmit{kRingSlots};  // under transmitLock
  // Bytes serialInTask waits to fit into the receive ring, -1 otherwise (under receiveLock).
  int waitingFor = -1;
  // The running tasks' wake-up events; null while no task runs. Under the ring's lock.
  os::tag_EventInfo* inSignal = nullptr;
  os::tag_EventInfo* outSignal = nullptr;
  // The calculator; changed under both ring locks, read under either. Null once closed.
  machine::Machine* machine = nullptr;
};

// One task of a session: its record, its wake-up event (auto reset) and the event it sets
// when it ends (manual reset).
struct TaskLink {
  ~TaskLink();
  bool createEvents();

  std::atomic<os::tag_ThreadInfo*> task{nullptr};
  os::tag_EventInfo* signal = nullptr;
  os::tag_EventInfo* ended = nullptr;
};

// One start of the bridge: the open port and the two tasks that serve it.
struct BridgeSession {
  BridgeSession(std::shared_ptr<BridgeRings> r, PortHandle p)
      : rings(std::move(r)), port(std::move(p)) {}

  std::shared_ptr<BridgeRings> rings;
  PortHandle port;
  // Cleared by stopSerial; the tasks end when they see it.
  std::atomic<bool> live{true};
  TaskLink in;
  TaskLink out;
};

// The task bodies: port to receive ring, transmit ring to port.
void serialInTask(const std::shared_ptr<BridgeSession>& session);
void serialOutTask(const std::shared_ptr<BridgeSession>& session);

}  // namespace tavrel::core::serial
