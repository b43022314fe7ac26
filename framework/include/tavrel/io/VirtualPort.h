#pragma once

#include <cstddef>
#include <cstdint>

#include "tavrel/IResource.h"

namespace tavrel {

// A virtual port of the connection service ("RS232", "USB", "IrDA"), handed to the core by
// "getIOPortForVPort". The object belongs to the connection service: the core gives it back
// with release(). The operations keep this order; the core's serial bridge calls them from
// its own tasks: read from one, write from another, close from a third, so an implementation
// must allow that.
class TAVREL_API IVirtualPort : public IResource {
 public:
  // Opens the port; true when it is open (also when it already was).
  virtual bool open() = 0;
  // Closes the port; a read waiting on another task returns false soon after.
  virtual void close() = 0;
  // Waits until everything written has left the port: 1 when it has, 0 otherwise.
  virtual std::uint8_t drain() = 0;
  virtual void setSpeed(std::uint32_t bitsPerSecond) = 0;
  // Waits for at least one byte, then reads up to count bytes into buffer + offset.
  // False (count 0) when the port is closed or fails.
  virtual bool read(std::uint8_t* buffer, std::size_t offset, std::size_t count,
                    std::size_t& done) = 0;
  // Writes count bytes from buffer + offset; done may be less when the peer stops taking
  // bytes. False when the port is closed or fails.
  virtual bool write(const std::uint8_t* buffer, std::size_t offset, std::size_t count,
                     std::size_t& done) = 0;
  // The bytes that a read would give at once; false when the port cannot say (closed).
  virtual bool bytesWaiting(std::size_t& count) = 0;
};

}  // namespace tavrel
