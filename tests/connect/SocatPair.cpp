#include "SocatPair.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <regex>

namespace tavrel::test {
namespace {

constexpr int kLimitMs = 10000;

// Reads socat's report lines until both terminal paths are known.
void readPaths(int fd, std::string& first, std::string& second) {
  static const std::regex kPtyLine("PTY is (\\S+)");
  std::string text;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLimitMs);
  while (second.empty() && std::chrono::steady_clock::now() < deadline && text.size() < 65536) {
    pollfd entry{fd, POLLIN, 0};
    if (::poll(&entry, 1, 100) <= 0) {
      continue;
    }
    char chunk[512];
    ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got <= 0) {
      break;
    }
    text.append(chunk, static_cast<std::size_t>(got));
    std::vector<std::string> paths;
    for (std::sregex_iterator it(text.begin(), text.end(), kPtyLine), end; it != end; ++it) {
      paths.push_back((*it)[1]);
    }
    if (paths.size() >= 2) {
      first = paths[0];
      second = paths[1];
    }
  }
}

}  // namespace

SocatPair::SocatPair() {
  int report[2];
  if (::pipe(report) != 0) {
    return;
  }
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(report[1], STDERR_FILENO);
    ::close(report[0]);
    ::close(report[1]);
    ::execlp("socat", "socat", "-d", "-d", "pty,raw,echo=0", "pty,raw,echo=0",
             static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(report[1]);
  if (pid_ > 0) {
    readPaths(report[0], first, second);
  }
  ::close(report[0]);
}

SocatPair::~SocatPair() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
}

bool waitForInput(const std::string& path, std::size_t count) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    return false;
  }
  int waiting = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLimitMs);
  while (::ioctl(fd, FIONREAD, &waiting) == 0 && static_cast<std::size_t>(waiting) < count &&
         std::chrono::steady_clock::now() < deadline) {
    pollfd entry{fd, POLLIN, 0};
    ::poll(&entry, 1, 10);
  }
  ::close(fd);
  return static_cast<std::size_t>(waiting) >= count;
}

PeerEnd::PeerEnd(const std::string& path) {
  fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  termios line{};
  if (fd_ >= 0 && ::tcgetattr(fd_, &line) == 0) {
    ::cfmakeraw(&line);
    ::tcsetattr(fd_, TCSANOW, &line);
  }
}

PeerEnd::~PeerEnd() {
  if (fd_ >= 0) {
    ::close(fd_);
  }
}

bool PeerEnd::writeAll(const std::string& bytes) {
  std::size_t done = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLimitMs);
  while (done < bytes.size() && std::chrono::steady_clock::now() < deadline) {
    ssize_t put = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (put > 0) {
      done += static_cast<std::size_t>(put);
    } else {
      pollfd entry{fd_, POLLOUT, 0};
      ::poll(&entry, 1, 100);
    }
  }
  return done == bytes.size();
}

std::string PeerEnd::readExactly(std::size_t count) {
  std::string text;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLimitMs);
  while (text.size() < count && std::chrono::steady_clock::now() < deadline) {
    pollfd entry{fd_, POLLIN, 0};
    if (::poll(&entry, 1, 100) <= 0) {
      continue;
    }
    char chunk[256];
    ssize_t got = ::read(fd_, chunk, std::min(sizeof chunk, count - text.size()));
    if (got > 0) {
      text.append(chunk, static_cast<std::size_t>(got));
    }
  }
  return text;
}

}  // namespace tavrel::test
