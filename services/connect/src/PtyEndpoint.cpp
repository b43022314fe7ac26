#include "PtyEndpoint.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "PortMapping.h"
#include "tavrel/Registry.h"
#include "tavrel/Text.h"

namespace tavrel::connect {
namespace {

void reportFailure(const char* step, const std::u16string& port) {
  std::fprintf(stderr, "connect: %s pseudo-terminal for %s failed: %s\n", step,
               toUtf8(port).c_str(), std::strerror(errno));
}

bool makeRaw(int fd) {
  termios line{};
  if (::tcgetattr(fd, &line) != 0) {
    return false;
  }
  ::cfmakeraw(&line);
  return ::tcsetattr(fd, TCSANOW, &line) == 0;
}

// Replaces an old link of ours; anything at linkPath that is not a symbolic link is left.
bool placeLink(const std::string& target, const std::string& linkPath) {
  struct stat existing {};
  if (::lstat(linkPath.c_str(), &existing) == 0) {
    if (!S_ISLNK(existing.st_mode)) {
      errno = EEXIST;
      return false;
    }
    ::unlink(linkPath.c_str());
  }
  return ::symlink(target.c_str(), linkPath.c_str()) == 0;
}

}  // namespace

std::shared_ptr<PtyEndpoint> PtyEndpoint::create(CRegistry& registry, const std::u16string& port,
                                                 const std::u16string& linkPath) {
  std::shared_ptr<PtyEndpoint> endpoint(new PtyEndpoint);
  endpoint->master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (endpoint->master_ < 0 || ::grantpt(endpoint->master_) != 0 ||
      ::unlockpt(endpoint->master_) != 0) {
    reportFailure("opening a", port);
    return nullptr;
  }
  char name[128] = {};
  if (::ptsname_r(endpoint->master_, name, sizeof name) != 0) {
    reportFailure("naming the", port);
    return nullptr;
  }
  endpoint->path_ = name;
  endpoint->terminal_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (endpoint->terminal_ < 0 || !makeRaw(endpoint->terminal_) || !makeRaw(endpoint->master_)) {
    reportFailure("setting up the", port);
    return nullptr;
  }
  if (!linkPath.empty()) {
    std::string link = toUtf8(linkPath);
    if (placeLink(endpoint->path_, link)) {
      endpoint->linkPath_ = link;
    } else {
      reportFailure("linking the", port);
    }
  }
  std::fprintf(stderr, "connect: %s is on %s\n", toUtf8(port).c_str(), endpoint->path_.c_str());
  registry.createKey(u"", kConnectKey);
  if (!registry.writeText(kConnectKey, port + std::u16string(kPtySuffix),
                          fromUtf8(endpoint->path_))) {
    std::fprintf(stderr, "connect: could not record the path of %s: %s\n", toUtf8(port).c_str(),
                 toUtf8(registry.lastError()).c_str());
  }
  return endpoint;
}

PtyEndpoint::~PtyEndpoint() {
  if (!linkPath_.empty()) {
    char target[256] = {};
    ssize_t length = ::readlink(linkPath_.c_str(), target, sizeof target - 1);
    if (length > 0 && path_ == std::string(target, static_cast<std::size_t>(length))) {
      ::unlink(linkPath_.c_str());
    }
  }
  if (terminal_ >= 0) {
    ::close(terminal_);
  }
  if (master_ >= 0) {
    ::close(master_);
  }
}

bool PtyEndpoint::setSpeed(std::uint32_t bitsPerSecond) {
  termios line{};
  return ::tcgetattr(terminal_, &line) == 0 && ::cfsetspeed(&line, bitsPerSecond) == 0 &&
         ::tcsetattr(terminal_, TCSANOW, &line) == 0;
}

}  // namespace tavrel::connect
