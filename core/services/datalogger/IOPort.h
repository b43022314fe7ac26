#pragma once

#include <cstddef>
#include <cstdint>

namespace tavrel {

// The port of the data logger as the native extension calls use it.
class IOPort {
 public:
  virtual ~IOPort() = default;

  // Closes the port and frees what it holds.
  virtual void destroy() = 0;
  // Closes, forgets buffered bytes and looks for the logger again; true when one was found.
  virtual bool reopen() = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  // Buffered bytes first, then the port; the count read (0 when closed).
  virtual std::size_t read(std::uint8_t* buffer, std::size_t count) = 0;
  // The count written (0 when closed).
  virtual std::size_t write(const std::uint8_t* buffer, std::size_t count) = 0;
  // Takes in what the port has and gives the count buffered; may close a silent port.
  virtual std::size_t available() = 0;
};

}  // namespace tavrel
