// The calculator's line over a serial device or a pseudo-terminal: raw 8N1 at 115200 baud.
#pragma once

#include <string>

#include "tavrel/statexport/link/ByteTransport.h"

namespace tavrel::statexport::link {

class SerialTransport final : public IByteTransport {
 public:
  explicit SerialTransport(std::string devicePath);
  ~SerialTransport() override;
  SerialTransport(const SerialTransport&) = delete;
  SerialTransport& operator=(const SerialTransport&) = delete;

  bool isPresent() override;
  bool open() override;
  bool isOpen() const override { return fd_ >= 0; }
  void close() override;
  TransportRead read(std::uint8_t* buffer, std::size_t capacity,
                     std::chrono::milliseconds timeout) override;
  void interruptRead() override;
  std::size_t write(const std::uint8_t* bytes, std::size_t count,
                    std::chrono::milliseconds timeout) override;

  const std::string& devicePath() const { return devicePath_; }

 private:
  std::string devicePath_;
  int fd_ = -1;
  int wakeFd_ = -1;  // an eventfd that interruptRead signals
};

}  // namespace tavrel::statexport::link
