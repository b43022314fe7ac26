// The queue between the line's reader thread and the protocol: a ring of 1104 bytes of which
// one slot stays free, so at most 1103 bytes wait; bytes that do not fit are dropped.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace tavrel::statexport::link {

class ReceiveRing {
 public:
  static constexpr std::size_t kSlots = 1104;
  static constexpr std::size_t kCapacity = kSlots - 1;

  // Queues what fits and returns how many bytes were queued.
  std::size_t append(const std::uint8_t* bytes, std::size_t count);
  // Takes up to count bytes, waiting for more until deadline; returns how many were taken.
  std::size_t take(std::uint8_t* buffer, std::size_t count,
                   std::chrono::steady_clock::time_point deadline);
  void clear();

  std::size_t queued() const;
  // Bytes dropped because the ring was full, since construction.
  std::size_t dropped() const;
  // Waits until at least count bytes were dropped in all; false when deadline came first.
  bool waitForDropped(std::size_t count, std::chrono::steady_clock::time_point deadline);

 private:
  std::size_t queuedLocked() const { return (write_ + kSlots - read_) % kSlots; }

  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::array<std::uint8_t, kSlots> slots_{};
  std::size_t read_ = 0;
  std::size_t write_ = 0;
  std::size_t dropped_ = 0;
};

}  // namespace tavrel::statexport::link
