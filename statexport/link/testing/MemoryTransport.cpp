#include "MemoryTransport.h"

namespace tavrel::statexport::link::testing {

MemoryTransport::MemoryTransport(std::vector<std::vector<std::uint8_t>> replies)
    : replies_(std::move(replies)) {
  if (!replies_.empty()) {
    pending_.assign(replies_[0].begin(), replies_[0].end());
    next_ = 1;
  }
}

bool MemoryTransport::isPresent() {
  std::lock_guard<std::mutex> guard(lock_);
  return !unpluggedLocked();
}

bool MemoryTransport::open() {
  std::lock_guard<std::mutex> guard(lock_);
  open_ = true;
  interrupted_ = false;
  return true;
}

bool MemoryTransport::isOpen() const {
  std::lock_guard<std::mutex> guard(lock_);
  return open_;
}

void MemoryTransport::close() {
  std::lock_guard<std::mutex> guard(lock_);
  open_ = false;
}

TransportRead MemoryTransport::read(std::uint8_t* buffer, std::size_t capacity,
                                    std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> guard(lock_);
  changed_.wait_for(guard, timeout,
                    [this] { return interrupted_ || !pending_.empty() || unpluggedLocked(); });
  if (interrupted_) {
    interrupted_ = false;
    return {0, false};
  }
  if (unpluggedLocked()) {
    return {0, true};
  }
  std::size_t count = 0;
  while (count < capacity && !pending_.empty()) {
    buffer[count++] = pending_.front();
    pending_.pop_front();
  }
  return {count, false};
}

void MemoryTransport::interruptRead() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    interrupted_ = true;
  }
  changed_.notify_all();
}

std::size_t MemoryTransport::write(const std::uint8_t* bytes, std::size_t count,
                                   std::chrono::milliseconds) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    written_.insert(written_.end(), bytes, bytes + count);
    if (next_ < replies_.size()) {
      pending_.insert(pending_.end(), replies_[next_].begin(), replies_[next_].end());
      ++next_;
    }
  }
  changed_.notify_all();
  return count;
}

std::vector<std::uint8_t> MemoryTransport::written() const {
  std::lock_guard<std::mutex> guard(lock_);
  return written_;
}

}  // namespace tavrel::statexport::link::testing
