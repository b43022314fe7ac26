// A calculator that exists only in memory: it answers each write with the next of a list of
// replies, and unplugs itself once every reply has been read. Fuzzing and protocol tests use it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "tavrel/statexport/link/ByteTransport.h"

namespace tavrel::statexport::link::testing {

class MemoryTransport final : public IByteTransport {
 public:
  // replies[0] is readable at once, replies[i] after the i-th write.
  explicit MemoryTransport(std::vector<std::vector<std::uint8_t>> replies);

  bool isPresent() override;
  bool open() override;
  bool isOpen() const override;
  void close() override;
  TransportRead read(std::uint8_t* buffer, std::size_t capacity,
                     std::chrono::milliseconds timeout) override;
  void interruptRead() override;
  std::size_t write(const std::uint8_t* bytes, std::size_t count,
                    std::chrono::milliseconds timeout) override;

  std::vector<std::uint8_t> written() const;

 private:
  bool unpluggedLocked() const { return next_ == replies_.size() && pending_.empty(); }

  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::vector<std::uint8_t>> replies_;
  std::size_t next_ = 0;
  std::deque<std::uint8_t> pending_;
  std::vector<std::uint8_t> written_;
  bool open_ = false;
  bool interrupted_ = false;
};

}  // namespace tavrel::statexport::link::testing
