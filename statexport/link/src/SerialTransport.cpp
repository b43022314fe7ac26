#include "tavrel/statexport/link/SerialTransport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace tavrel::statexport::link {

namespace {

using Clock = std::chrono::steady_clock;

int openDevice(const std::string& path) {
  return ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

bool makeRaw115200(int fd) {
  termios settings{};
  if (::tcgetattr(fd, &settings) != 0) {
    return false;
  }
  ::cfmakeraw(&settings);
  settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  settings.c_cflag |= CS8 | CREAD | CLOCAL;
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  return ::cfsetispeed(&settings, B115200) == 0 && ::cfsetospeed(&settings, B115200) == 0 &&
         ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

int remainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

SerialTransport::SerialTransport(std::string devicePath)
    : devicePath_(std::move(devicePath)), wakeFd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

SerialTransport::~SerialTransport() {
  close();
  if (wakeFd_ >= 0) {
    ::close(wakeFd_);
  }
}

bool SerialTransport::isPresent() {
  const int probe = openDevice(devicePath_);
  if (probe < 0) {
    return false;
  }
  ::close(probe);
  return true;
}

bool SerialTransport::open() {
  if (fd_ >= 0) {
    return true;
  }
  if (wakeFd_ < 0) {
    return false;
  }
  const int fd = openDevice(devicePath_);
  if (fd < 0) {
    return false;
  }
  if (!makeRaw115200(fd)) {
    ::close(fd);
    return false;
  }
  // A wake-up left over from the previous connection must not cut the first read short.
  std::uint64_t pending = 0;
  [[maybe_unused]] const ssize_t drained = ::read(wakeFd_, &pending, sizeof pending);
  fd_ = fd;
  return true;
}

void SerialTransport::close() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

TransportRead SerialTransport::read(std::uint8_t* buffer, std::size_t capacity,
                                    std::chrono::milliseconds timeout) {
  if (fd_ < 0) {
    return {0, true};
  }
  const Clock::time_point deadline = Clock::now() + timeout;
  for (;;) {
    pollfd watched[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    const int ready = ::poll(watched, 2, remainingMs(deadline));
    if (ready < 0) {
      if (errno == EINTR) {
        continue;
      }
      return {0, true};
    }
    if (ready == 0) {
      return {0, false};
    }
    if (watched[1].revents & POLLIN) {
      std::uint64_t wakeups = 0;
      [[maybe_unused]] const ssize_t drained = ::read(wakeFd_, &wakeups, sizeof wakeups);
      return {0, false};
    }
    const ssize_t got = ::read(fd_, buffer, capacity);
    if (got > 0) {
      return {static_cast<std::size_t>(got), false};
    }
    const bool hungUp = watched[0].revents & (POLLHUP | POLLERR | POLLNVAL);
    if (got < 0 && (errno == EAGAIN || errno == EINTR) && !hungUp) {
      continue;
    }
    // End of file or an error: the other end hung up.
    return {0, true};
  }
}

void SerialTransport::interruptRead() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
}

std::size_t SerialTransport::write(const std::uint8_t* bytes, std::size_t count,
                                   std::chrono::milliseconds timeout) {
  if (fd_ < 0) {
    return 0;
  }
  const Clock::time_point deadline = Clock::now() + timeout;
  std::size_t written = 0;
  while (written < count) {
    const ssize_t sent = ::write(fd_, bytes + written, count - written);
    if (sent > 0) {
      written += static_cast<std::size_t>(sent);
      continue;
    }
    if (sent < 0 && errno == EINTR) {
      continue;
    }
    if (sent < 0 && errno != EAGAIN) {
      break;
    }
    pollfd watched{fd_, POLLOUT, 0};
    const int left = remainingMs(deadline);
    if (left == 0 || ::poll(&watched, 1, left) <= 0 || !(watched.revents & POLLOUT)) {
      break;
    }
  }
  return written;
}

}  // namespace tavrel::statexport::link
