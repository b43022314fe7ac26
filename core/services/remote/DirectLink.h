// One opening of the direct port. Whoever uses it keeps it by shared pointer; once closed it
// stays closed, so a task of an earlier opening never reads from a later one.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "serial/PortRequests.h"

namespace tavrel::core::remote {

class DirectLink {
 public:
  DirectLink(int index, serial::PortHandle port) : index_(index), port_(std::move(port)) {}

  int index() const { return index_; }
  bool isOpen() const { return open_.load(); }

  // One read attempt that does not wait: the byte, or -1 when none is there.
  int tryReadByte();
  // Whether a byte waits to be read.
  bool hasInput();
  // Writes every byte, repeating partial writes, then drains; false when the port failed.
  bool writeAll(const std::uint8_t* bytes, std::size_t count);
  // Drains and closes the port; true only for the call that closed it.
  bool shut();

 private:
  int index_;
  serial::PortHandle port_;
  std::atomic<bool> open_{true};
};

}  // namespace tavrel::core::remote
