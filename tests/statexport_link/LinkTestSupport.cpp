#include "LinkTestSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tavrel/statexport/link/BlockCheck.h"
#include "tavrel/statexport/link/Protocol.h"

extern char** environ;

namespace tavrel::statexport::link::test {

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

int openRaw(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    throw std::runtime_error("cannot open " + path);
  }
  termios settings{};
  ::tcgetattr(fd, &settings);
  ::cfmakeraw(&settings);
  ::tcsetattr(fd, TCSANOW, &settings);
  return fd;
}

// Reads socat's diagnostics line by line until it has named both terminals.
std::vector<std::string> readPtyPaths(int fd) {
  std::vector<std::string> paths;
  std::string pending;
  const Clock::time_point deadline = Clock::now() + kGenerous;
  while (paths.size() < 2) {
    pollfd watched{fd, POLLIN, 0};
    char chunk[256];
    if (::poll(&watched, 1, remainingMs(deadline)) <= 0) {
      break;
    }
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got <= 0) {
      break;
    }
    pending.append(chunk, static_cast<std::size_t>(got));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      const std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      const std::size_t at = line.find("PTY is ");
      if (at != std::string::npos) {
        paths.push_back(line.substr(at + 7));
      }
    }
  }
  return paths;
}

pid_t spawn(const std::vector<std::string>& argv, posix_spawn_file_actions_t* actions) {
  std::vector<char*> args;
  for (const std::string& arg : argv) {
    args.push_back(const_cast<char*>(arg.c_str()));
  }
  args.push_back(nullptr);
  pid_t pid = -1;
  if (::posix_spawnp(&pid, args[0], actions, nullptr, args.data(), environ) != 0) {
    throw std::runtime_error("cannot start " + argv[0]);
  }
  return pid;
}

}  // namespace

PtyPair::PtyPair() {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
  socat_ = spawn({"socat", "-d", "-d", "pty,raw,echo=0", "pty,raw,echo=0"}, &actions);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  stderrPipe_ = pipeFds[0];
  const std::vector<std::string> paths = readPtyPaths(stderrPipe_);
  // socat keeps reporting; a full pipe would stall it.
  stderrDrain_ = std::thread([fd = stderrPipe_] {
    char sink[256];
    while (::read(fd, sink, sizeof sink) > 0) {
    }
  });
  if (paths.size() != 2) {
    unplug();
    throw std::runtime_error("socat did not report two terminals");
  }
  nearPath_ = paths[0];
  farPath_ = paths[1];
  nearKeeper_ = openRaw(nearPath_);
  farKeeper_ = openRaw(farPath_);
}

PtyPair::~PtyPair() {
  unplug();
  for (int fd : {nearKeeper_, farKeeper_}) {
    if (fd >= 0) {
      ::close(fd);
    }
  }
}

void PtyPair::unplug() {
  if (socat_ > 0) {
    ::kill(socat_, SIGTERM);
    ::waitpid(socat_, nullptr, 0);
    socat_ = -1;
  }
  if (stderrDrain_.joinable()) {
    stderrDrain_.join();
  }
  if (stderrPipe_ >= 0) {
    ::close(stderrPipe_);
    stderrPipe_ = -1;
  }
}

FarEnd::FarEnd(const std::string& path) : fd_(openRaw(path)) {}

FarEnd::~FarEnd() {
  ::close(fd_);
}

void FarEnd::send(const Bytes& bytes) {
  std::size_t sent = 0;
  const Clock::time_point deadline = Clock::now() + kGenerous;
  while (sent < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + sent, bytes.size() - sent);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      continue;
    }
    pollfd watched{fd_, POLLOUT, 0};
    if ((n < 0 && errno != EAGAIN && errno != EINTR) ||
        ::poll(&watched, 1, remainingMs(deadline)) <= 0) {
      throw std::runtime_error("far end cannot write");
    }
  }
}

std::optional<std::uint8_t> FarEnd::receive(milliseconds timeout) {
  const Bytes got = receiveCount(1, timeout);
  return got.empty() ? std::nullopt : std::optional<std::uint8_t>(got[0]);
}

Bytes FarEnd::receiveCount(std::size_t count, milliseconds timeout) {
  Bytes got;
  const Clock::time_point deadline = Clock::now() + timeout;
  while (got.size() < count) {
    pollfd watched{fd_, POLLIN, 0};
    if (::poll(&watched, 1, remainingMs(deadline)) <= 0) {
      break;
    }
    std::uint8_t byte = 0;
    if (::read(fd_, &byte, 1) == 1) {
      got.push_back(byte);
    }
  }
  return got;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& terminal,
                           const std::string& errorFile) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!terminal.empty()) {
    posix_spawn_file_actions_addopen(&actions, 0, terminal.c_str(), O_RDWR | O_NOCTTY, 0);
    posix_spawn_file_actions_adddup2(&actions, 0, 1);
  }
  posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  pid_ = spawn(argv, &actions);
  posix_spawn_file_actions_destroy(&actions);
  pidFd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
}

ChildProcess::~ChildProcess() {
  if (!status_) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (pidFd_ >= 0) {
    ::close(pidFd_);
  }
}

std::optional<int> ChildProcess::wait(milliseconds timeout) {
  if (!status_) {
    pollfd watched{pidFd_, POLLIN, 0};
    if (::poll(&watched, 1, static_cast<int>(timeout.count())) <= 0) {
      return std::nullopt;
    }
    int raw = 0;
    ::waitpid(pid_, &raw, 0);
    status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  return status_;
}

Bytes block(std::uint8_t number, const Bytes& data, bool crc) {
  Bytes out;
  out.reserve(data.size() + 5);
  out.push_back(data.size() == 1024 ? kBlock1K : kBlock128);
  out.push_back(number);
  out.push_back(static_cast<std::uint8_t>(255 - number));
  out.insert(out.end(), data.begin(), data.end());
  if (crc) {
    const std::uint16_t check = crc16Kermit(data.data(), data.size());
    out.push_back(static_cast<std::uint8_t>(check >> 8));
    out.push_back(static_cast<std::uint8_t>(check & 0xFF));
  } else {
    out.push_back(checksum8(data.data(), data.size()));
  }
  return out;
}

Bytes pattern(std::size_t size, std::uint8_t seed) {
  Bytes out(size);
  for (std::size_t i = 0; i < size; ++i) {
    out[i] = static_cast<std::uint8_t>(seed * 31 + i * 7 + (i >> 8));
  }
  return out;
}

TempFolder::TempFolder() {
  std::string templ = (std::filesystem::temp_directory_path() / "statexport_link_XXXXXX").string();
  if (!::mkdtemp(templ.data())) {
    throw std::runtime_error("cannot make a temporary folder");
  }
  root_ = templ;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string TempFolder::path(const std::string& name) const {
  return (std::filesystem::path(root_) / name).string();
}

void writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tavrel::statexport::link::test
