// Child processes for whole-program tests: started with their output in a file, waited for
// with a limit, and ended by the test that started them.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace tavrel::e2e {

class CChildProcess {
 public:
  // Starts the program with the arguments; standard output and error go to logFile. The
  // child inherits every descriptor not marked close-on-exec.
  CChildProcess(const std::vector<std::string>& arguments, const std::string& logFile);
  // Ends the child (SIGTERM, then SIGKILL) when it still runs.
  ~CChildProcess();
  CChildProcess(const CChildProcess&) = delete;
  CChildProcess& operator=(const CChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  // The exit status once the child has ended within the limit; none otherwise (or after a
  // signal).
  std::optional<int> waitForExit(std::chrono::milliseconds limit);

 private:
  pid_t pid_ = -1;
  int pidFd_ = -1;
  bool ended_ = false;
};

// Runs a program to its end (at most limit) and gives its standard output; none when it
// fails or takes too long.
std::optional<std::string> runForOutput(const std::vector<std::string>& arguments,
                                        std::chrono::milliseconds limit);

}  // namespace tavrel::e2e
