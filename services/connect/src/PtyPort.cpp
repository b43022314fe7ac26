#include "PtyPort.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

#include "FdWait.h"

namespace tavrel::connect {
namespace {

// How long a write waits for a peer that does not take bytes.
constexpr int kWriteLimitMs = 2000;

}  // namespace

bool PtyPort::open() {
  open_ = true;
  return true;
}

void PtyPort::close() {
  open_ = false;
}

std::uint8_t PtyPort::drain() {
  // Bytes written here are already in the peer's input queue.
  return open_.load() ? 1 : 0;
}

void PtyPort::setSpeed(std::uint32_t bitsPerSecond) {
  endpoint_->setSpeed(bitsPerSecond);
}

bool PtyPort::read(std::uint8_t* buffer, std::size_t offset, std::size_t count, std::size_t& done) {
  done = 0;
  while (count > 0 && waitReadable(endpoint_->serviceFd(), open_)) {
    ssize_t got = ::read(endpoint_->serviceFd(), buffer + offset, count);
    if (got > 0) {
      done = static_cast<std::size_t>(got);
      return true;
    }
    if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
      return false;
    }
  }
  return count == 0 && open_.load();
}

bool PtyPort::write(const std::uint8_t* buffer, std::size_t offset, std::size_t count,
                    std::size_t& done) {
  done = 0;
  while (open_.load() && done < count) {
    ssize_t put = ::write(endpoint_->serviceFd(), buffer + offset + done, count - done);
    if (put > 0) {
      done += static_cast<std::size_t>(put);
    } else if (put < 0 && errno != EAGAIN && errno != EINTR) {
      return false;
    } else if (!waitWritable(endpoint_->serviceFd(), open_, kWriteLimitMs)) {
      break;
    }
  }
  return open_.load();
}

bool PtyPort::bytesWaiting(std::size_t& count) {
  int waiting = 0;
  if (!open_.load() || ::ioctl(endpoint_->serviceFd(), FIONREAD, &waiting) != 0) {
    return false;
  }
  count = static_cast<std::size_t>(waiting);
  return true;
}

}  // namespace tavrel::connect
