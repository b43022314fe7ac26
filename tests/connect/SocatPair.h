#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace tavrel::test {

// Two raw pseudo-terminals joined by a socat process that the pair starts and stops.
class SocatPair {
 public:
  SocatPair();
  ~SocatPair();
  SocatPair(const SocatPair&) = delete;
  SocatPair& operator=(const SocatPair&) = delete;

  bool started() const { return !first.empty() && !second.empty(); }

  std::string first;
  std::string second;

 private:
  pid_t pid_ = -1;
};

// Waits (10 s limit) until the terminal at path holds at least count unread bytes, without
// taking them, so that a port opened next finds them at once.
bool waitForInput(const std::string& path, std::size_t count);

// A test's own end of a line: a raw, non-blocking descriptor.
class PeerEnd {
 public:
  explicit PeerEnd(const std::string& path);
  ~PeerEnd();
  PeerEnd(const PeerEnd&) = delete;
  PeerEnd& operator=(const PeerEnd&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  bool writeAll(const std::string& bytes);
  // Reads until count bytes have come or 10 s have passed.
  std::string readExactly(std::size_t count);

 private:
  int fd_ = -1;
};

}  // namespace tavrel::test
