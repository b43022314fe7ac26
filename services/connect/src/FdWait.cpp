#include "FdWait.h"

#include <poll.h>

#include <cerrno>

namespace tavrel::connect {
namespace {

constexpr int kSliceMs = 50;

// One poll slice: 1 ready, 0 nothing yet, -1 failed.
int pollOnce(int fd, short events, int ms) {
  pollfd entry{fd, events, 0};
  int result = ::poll(&entry, 1, ms);
  if (result < 0) {
    return errno == EINTR ? 0 : -1;
  }
  if (result == 0) {
    return 0;
  }
  return (entry.revents & POLLNVAL) != 0 ? -1 : 1;
}

}  // namespace

bool waitReadable(int fd, const std::atomic<bool>& open) {
  while (open.load()) {
    int ready = pollOnce(fd, POLLIN, kSliceMs);
    if (ready != 0) {
      return ready > 0 && open.load();
    }
  }
  return false;
}

bool waitWritable(int fd, const std::atomic<bool>& open, int limitMs) {
  for (int waited = 0; waited < limitMs && open.load(); waited += kSliceMs) {
    int ready = pollOnce(fd, POLLOUT, kSliceMs);
    if (ready != 0) {
      return ready > 0 && open.load();
    }
  }
  return false;
}

}  // namespace tavrel::connect
