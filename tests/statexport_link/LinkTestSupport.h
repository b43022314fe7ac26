// Real peers for the link tests: pseudo-terminal pairs from socat, the far end of such a pair,
// child processes such as the XMODEM sender, and blocks built the way a calculator sends them.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tavrel::statexport::link::test {

using Bytes = std::vector<std::uint8_t>;
using std::chrono::milliseconds;

// Limits for waiting on peers: far beyond what any step takes, so only a fault reaches them.
inline constexpr milliseconds kGenerous{15000};

// Two connected pseudo-terminals; the near one is the calculator's line as the PC sees it.
// Both stay held open for the pair's life, so that opening and closing one end (as a presence
// probe does) never looks like a hang-up to socat.
class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const std::string& nearPath() const { return nearPath_; }
  const std::string& farPath() const { return farPath_; }
  // Ends socat: both terminals go away, like an unplugged cable.
  void unplug();

 private:
  pid_t socat_ = -1;
  int stderrPipe_ = -1;
  std::thread stderrDrain_;
  std::string nearPath_;
  std::string farPath_;
  int nearKeeper_ = -1;
  int farKeeper_ = -1;
};

// The far terminal opened raw, as a scripted calculator uses it.
class FarEnd {
 public:
  explicit FarEnd(const std::string& path);
  ~FarEnd();
  FarEnd(const FarEnd&) = delete;
  FarEnd& operator=(const FarEnd&) = delete;

  void send(const Bytes& bytes);
  // The next byte, or nothing when none came within timeout.
  std::optional<std::uint8_t> receive(milliseconds timeout = kGenerous);
  // Reads until count bytes came or timeout passed.
  Bytes receiveCount(std::size_t count, milliseconds timeout = kGenerous);

 private:
  int fd_ = -1;
};

// A program running with its standard input and output on a terminal (or, without one, on the
// test's own) and its standard error in a file.
class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& argv, const std::string& terminal,
               const std::string& errorFile = "/dev/null");
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // The exit status, or nothing when the program was still running after timeout.
  std::optional<int> wait(milliseconds timeout = kGenerous);

 private:
  pid_t pid_ = -1;
  int pidFd_ = -1;
  std::optional<int> status_;
};

// A block as the calculator sends it: header, number, complement, data, check.
Bytes block(std::uint8_t number, const Bytes& data, bool crc);
// size bytes that differ from block to block.
Bytes pattern(std::size_t size, std::uint8_t seed);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string path(const std::string& name) const;

 private:
  std::string root_;
};

void writeFile(const std::string& path, const Bytes& bytes);
std::string readFile(const std::string& path);

}  // namespace tavrel::statexport::link::test
