// A two-way byte line to the calculator: its USB bulk pipes, or any serial device that carries
// the same byte stream.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace tavrel::statexport::link {

struct TransportRead {
  std::size_t count = 0;  // bytes placed in the buffer
  bool failed = false;    // the line reported an error (unplugged, hung up)
};

class IByteTransport {
 public:
  virtual ~IByteTransport() = default;

  // True when the calculator's end of the line can be opened right now.
  virtual bool isPresent() = 0;
  virtual bool open() = 0;
  virtual bool isOpen() const = 0;
  virtual void close() = 0;

  // Waits at most timeout for bytes and returns what arrived; a count of 0 without failure
  // means nothing came in time. Only one thread reads at a time.
  virtual TransportRead read(std::uint8_t* buffer, std::size_t capacity,
                             std::chrono::milliseconds timeout) = 0;
  // Makes a read in progress, or else the next one, return at once, so that a reader
  // thread can be stopped without waiting out its time-out.
  virtual void interruptRead() = 0;
  // Writes all count bytes unless timeout passes or the line fails; returns how many went out.
  // May run on another thread than read.
  virtual std::size_t write(const std::uint8_t* bytes, std::size_t count,
                            std::chrono::milliseconds timeout) = 0;
};

}  // namespace tavrel::statexport::link
