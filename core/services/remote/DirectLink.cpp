#include "DirectLink.h"

namespace tavrel::core::remote {

bool DirectLink::hasInput() {
  std::size_t waiting = 0;
  return isOpen() && serial::portControl(*port_, serial::kBytesWaitingRequest, 0, waiting) &&
         waiting > 0;
}

int DirectLink::tryReadByte() {
  // The port's read waits for a byte; an attempt must not, so ask first.
  if (!hasInput())
    return -1;
  std::uint8_t byte = 0;
  return serial::portRead(*port_, &byte, 1) == 1 ? byte : -1;
}

bool DirectLink::writeAll(const std::uint8_t* bytes, std::size_t count) {
  std::size_t done = 0;
  while (done < count && isOpen()) {
    const std::ptrdiff_t put = serial::portWrite(*port_, bytes + done, count - done);
    // A write that takes nothing would repeat for ever.
    if (put <= 0)
      return false;
    done += static_cast<std::size_t>(put);
  }
  if (done < count)
    return false;
  port_->drain();
  return true;
}

bool DirectLink::shut() {
  if (open_.exchange(false) == false)
    return false;
  port_->drain();
  port_->close();
  return true;
}

}  // namespace tavrel::core::remote
