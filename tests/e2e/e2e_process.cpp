#include "e2e_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>

extern char** environ;

namespace tavrel::e2e {
namespace {

std::vector<char*> argv(const std::vector<std::string>& arguments) {
  std::vector<char*> pointers;
  for (const std::string& argument : arguments) {
    pointers.push_back(const_cast<char*>(argument.c_str()));
  }
  pointers.push_back(nullptr);
  return pointers;
}

bool waitReadable(int fd, std::chrono::milliseconds limit) {
  pollfd entry{fd, POLLIN, 0};
  int ready;
  do {
    ready = ::poll(&entry, 1, static_cast<int>(limit.count()));
  } while (ready < 0 && errno == EINTR);
  return ready > 0;
}

pid_t spawn(const std::vector<std::string>& arguments, int outputFd) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, outputFd, STDERR_FILENO);
  pid_t pid = -1;
  std::vector<char*> args = argv(arguments);
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
    pid = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

}  // namespace

CChildProcess::CChildProcess(const std::vector<std::string>& arguments,
                             const std::string& logFile) {
  const int log = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (log < 0) {
    return;
  }
  pid_ = spawn(arguments, log);
  ::close(log);
  if (pid_ > 0) {
    pidFd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
  }
}

CChildProcess::~CChildProcess() {
  if (pid_ <= 0 || ended_) {
    if (pidFd_ >= 0) {
      ::close(pidFd_);
    }
    return;
  }
  ::kill(pid_, SIGTERM);
  if (!waitForExit(std::chrono::seconds(10)).has_value() && !ended_) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  ::close(pidFd_);
}

std::optional<int> CChildProcess::waitForExit(std::chrono::milliseconds limit) {
  if (pid_ <= 0 || ended_ || pidFd_ < 0 || !waitReadable(pidFd_, limit)) {
    return std::nullopt;
  }
  int status = 0;
  if (::waitpid(pid_, &status, 0) != pid_) {
    return std::nullopt;
  }
  ended_ = true;
  return WIFEXITED(status) ? std::optional<int>(WEXITSTATUS(status)) : std::nullopt;
}

std::optional<std::string> runForOutput(const std::vector<std::string>& arguments,
                                        std::chrono::milliseconds limit) {
  std::array<int, 2> pipeFds{};
  if (::pipe2(pipeFds.data(), O_CLOEXEC) != 0) {
    return std::nullopt;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  pid_t pid = -1;
  std::vector<char*> args = argv(arguments);
  const bool started = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  std::string output;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  std::array<char, 4096> buffer{};
  while (started) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !waitReadable(pipeFds[0], left)) {
      ::kill(pid, SIGKILL);
      break;
    }
    const ssize_t got = ::read(pipeFds[0], buffer.data(), buffer.size());
    if (got <= 0) {
      break;
    }
    output.append(buffer.data(), static_cast<std::size_t>(got));
  }
  ::close(pipeFds[0]);
  int status = 0;
  if (!started || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    return std::nullopt;
  }
  return output;
}

}  // namespace tavrel::e2e
