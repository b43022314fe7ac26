#include "tavrel/statexport/link/ReceiveRing.h"

namespace tavrel::statexport::link {

std::size_t ReceiveRing::append(const std::uint8_t* bytes, std::size_t count) {
  std::size_t queued = 0;
  {
    std::lock_guard<std::mutex> guard(lock_);
    while (queued < count && queuedLocked() < kCapacity) {
      slots_[write_] = bytes[queued++];
      write_ = (write_ + 1) % kSlots;
    }
    dropped_ += count - queued;
  }
  changed_.notify_all();
  return queued;
}

std::size_t ReceiveRing::take(std::uint8_t* buffer, std::size_t count,
                              std::chrono::steady_clock::time_point deadline) {
  std::unique_lock<std::mutex> guard(lock_);
  std::size_t taken = 0;
  while (taken < count) {
    while (taken < count && read_ != write_) {
      buffer[taken++] = slots_[read_];
      read_ = (read_ + 1) % kSlots;
    }
    if (taken == count ||
        !changed_.wait_until(guard, deadline, [this] { return read_ != write_; })) {
      break;
    }
  }
  return taken;
}

void ReceiveRing::clear() {
  std::lock_guard<std::mutex> guard(lock_);
  read_ = write_ = 0;
}

std::size_t ReceiveRing::queued() const {
  std::lock_guard<std::mutex> guard(lock_);
  return queuedLocked();
}

std::size_t ReceiveRing::dropped() const {
  std::lock_guard<std::mutex> guard(lock_);
  return dropped_;
}

bool ReceiveRing::waitForDropped(std::size_t count,
                                 std::chrono::steady_clock::time_point deadline) {
  std::unique_lock<std::mutex> guard(lock_);
  return changed_.wait_until(guard, deadline, [&] { return dropped_ >= count; });
}

}  // namespace tavrel::statexport::link
