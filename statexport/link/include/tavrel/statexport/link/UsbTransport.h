// The calculator's two USB bulk pipes: pipe 0 (bulk in) carries the calculator's bytes to us,
// pipe 1 (bulk out) ours to it.
#pragma once

#include <atomic>
#include <cstdint>

#include "tavrel/statexport/link/ByteTransport.h"

struct libusb_context;
struct libusb_device_handle;

namespace tavrel::statexport::link {

class UsbTransport final : public IByteTransport {
 public:
  UsbTransport(std::uint16_t vendorId, std::uint16_t productId);
  ~UsbTransport() override;
  UsbTransport(const UsbTransport&) = delete;
  UsbTransport& operator=(const UsbTransport&) = delete;

  bool isPresent() override;
  bool open() override;
  bool isOpen() const override { return handle_ != nullptr; }
  void close() override;
  TransportRead read(std::uint8_t* buffer, std::size_t capacity,
                     std::chrono::milliseconds timeout) override;
  void interruptRead() override { interrupted_ = true; }
  std::size_t write(const std::uint8_t* bytes, std::size_t count,
                    std::chrono::milliseconds timeout) override;

 private:
  libusb_device_handle* openDevice();

  std::uint16_t vendorId_;
  std::uint16_t productId_;
  libusb_context* context_ = nullptr;
  libusb_device_handle* handle_ = nullptr;
  int interface_ = 0;
  std::uint8_t inEndpoint_ = 0;
  std::uint8_t outEndpoint_ = 0;
  std::atomic<bool> interrupted_{false};
};

}  // namespace tavrel::statexport::link
