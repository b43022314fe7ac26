#include "PortRequests.h"

namespace tavrel::core::serial {

PortHandle adoptPort(IVirtualPort* port) {
  if (port == nullptr)
    return nullptr;
  return PortHandle(port, [](IVirtualPort* p) { p->release(); });
}

bool portControl(IVirtualPort& port, int request, std::uint32_t value, std::size_t& answer) {
  switch (request) {
    case kSetSpeedRequest:
      port.setSpeed(value);
      return true;
    case kBytesWaitingRequest:
      return port.bytesWaiting(answer);
    default:
      return true;
  }
}

std::ptrdiff_t portRead(IVirtualPort& port, std::uint8_t* buffer, std::size_t count) {
  std::size_t done = 0;
  if (!port.read(buffer, 0, count, done))
    return -1;
  return static_cast<std::ptrdiff_t>(done);
}

std::ptrdiff_t portWrite(IVirtualPort& port, const std::uint8_t* buffer, std::size_t count) {
  std::size_t done = 0;
  if (!port.write(buffer, 0, count, done))
    return -1;
  return static_cast<std::ptrdiff_t>(done);
}

}  // namespace tavrel::core::serial
