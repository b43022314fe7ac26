#pragma once

#include <atomic>
#include <memory>

#include "PtyEndpoint.h"
#include "tavrel/io/VirtualPort.h"

namespace tavrel::connect {

// A virtual port over the service side of a pseudo-terminal the service keeps.
class PtyPort final : public IVirtualPort {
 public:
  explicit PtyPort(std::shared_ptr<PtyEndpoint> endpoint) : endpoint_(std::move(endpoint)) {}

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
  std::shared_ptr<PtyEndpoint> endpoint_;
  std::atomic<bool> open_{false};
};

}  // namespace tavrel::connect
