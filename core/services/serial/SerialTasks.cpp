// serialInTask and serialOutTask. Neither holds a ring lock while it waits on the port or on
// its wake-up event, so the interpreter only ever waits for a ring copy.
#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#include "BridgeSession.h"
#include "SerialRegisters.h"

namespace tavrel::core::serial {
namespace {

// Lets a few more bytes gather after a wake-up, so the port gets them in one write.
constexpr std::chrono::milliseconds kTransmitGather{10};

void taskEnded(TaskLink& link) {
  os::setEvent(link.ended);
  link.task = nullptr;
}

// Waits for room, then puts the bytes in; false when the bridge stopped meanwhile. A chunk
// may be larger than the ring can ever hold: it goes in as parts of at most a full ring.
bool putReceived(BridgeSession& session, const std::uint8_t* bytes, std::size_t count) {
  BridgeRings& rings = *session.rings;
  while (count > 0) {
    const std::size_t part = std::min(count, kRingSlots - 1);
    os::lockMutex(rings.receiveLock, 0, 0);
    while (rings.receive.room() < part) {
      rings.waitingFor = static_cast<int>(part);
      os::unlockMutex(rings.receiveLock);
      os::waitEvent(session.in.signal, 0);
      if (!session.live)
        return false;
      os::lockMutex(rings.receiveLock, 0, 0);
      rings.waitingFor = -1;
    }
    rings.receive.push(bytes, part);
    if (rings.machine != nullptr && (serialControl(*rings.machine) & kReceiveInterrupts) != 0)
      requestInterrupt(*rings.machine);
    os::unlockMutex(rings.receiveLock);
    bytes += part;
    count -= part;
  }
  return true;
}

// Takes what the transmit ring holds, waiting while it is empty; 0 when the bridge stopped.
std::size_t takeTransmitted(BridgeSession& session, std::uint8_t* bytes) {
  BridgeRings& rings = *session.rings;
  for (;;) {
    {
      MutexScope lock(rings.transmitLock);
      const std::size_t count = rings.transmit.pop(bytes, kChunkBytes);
      if (count > 0) {
        if (rings.machine != nullptr && (serialControl(*rings.machine) & kTransmitInterrupt) != 0)
          requestInterrupt(*rings.machine);
        return count;
      }
    }
    os::waitEvent(session.out.signal, 0);
    if (!session.live)
      return 0;
    std::this_thread::sleep_for(kTransmitGather);
  }
}

bool writeAll(IVirtualPort& port, const std::uint8_t* bytes, std::size_t count) {
  std::size_t written = 0;
  while (written < count) {
    const std::ptrdiff_t put = portWrite(port, bytes + written, count - written);
    if (put <= 0)
      return false;
    written += static_cast<std::size_t>(put);
  }
  return true;
}

}  // namespace

void serialInTask(const std::shared_ptr<BridgeSession>& session) {
  std::array<std::uint8_t, kChunkBytes> buffer;
  while (session->live) {
    std::size_t waiting = 0;
    if (!portControl(*session->port, kBytesWaitingRequest, 0, waiting))
      break;
    const std::size_t chunk = std::clamp<std::size_t>(waiting, 1, kChunkBytes);
    const std::ptrdiff_t got = portRead(*session->port, buffer.data(), chunk);
    if (got <= 0)
      break;
    if (!putReceived(*session, buffer.data(), static_cast<std::size_t>(got)))
      break;
  }
  taskEnded(session->in);
}

void serialOutTask(const std::shared_ptr<BridgeSession>& session) {
  std::array<std::uint8_t, kChunkBytes> buffer;
  while (session->live) {
    const std::size_t count = takeTransmitted(*session, buffer.data());
    if (count == 0 || !writeAll(*session->port, buffer.data(), count))
      break;
  }
  taskEnded(session->out);
}

}  // namespace tavrel::core::serial
