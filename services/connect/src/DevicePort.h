#pragma once

#include <QtSerialPort/QSerialPort>
#include <atomic>
#include <memory>
#include <mutex>

#include "tavrel/io/VirtualPort.h"

namespace tavrel::connect {

// A virtual port over a host serial device or someone else's pseudo-terminal, driven in
// blocking mode. A read waits for bytes without holding the lock, so a write from another
// task is not held up by an idle line.
class DevicePort final : public IVirtualPort {
 public:
  explicit DevicePort(QString device) : device_(std::move(device)) {}
  ~DevicePort() override;

  bool open() override;
  void close() override;
  std::uint8_t drain() override;
  void setSpeed(std::uint32_t bitsPerSecond) override;
  bool read(std::uint8_t* buffer, std::size_t offset, std::size_t count,
            std::size_t& done) override;
  bool write(const std::uint8_t* buffer, std::size_t offset, std::size_t count,
             std::size_t& done) override;
  bool bytesWaiting(std::size_t& count) override;

 private:
  // Pushes queued bytes out, up to a limit; true when none are left. Needs the lock.
  bool flushQueued();
  int handleLocked();

  QString device_;
  std::uint32_t speed_ = 9600;
  std::mutex mutex_;
  std::unique_ptr<QSerialPort> port_;
  std::atomic<bool> open_{false};
};

}  // namespace tavrel::connect
