#include "e2e_xserver.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <cstdlib>

namespace tavrel::e2e {

CXServer::CXServer(const std::string& logFile) {
  std::array<int, 2> ready{};
  if (::pipe(ready.data()) != 0) {
    return;
  }
  ::fcntl(ready[0], F_SETFD, FD_CLOEXEC);
  server_ = std::make_unique<CChildProcess>(
      std::vector<std::string>{TAVREL_XVFB, "-displayfd", std::to_string(ready[1]), "-screen", "0",
                               "1024x768x24", "-nolisten", "tcp", "-ardelay", "100", "-arinterval",
                               "20"},
      logFile);
  ::close(ready[1]);
  // Xvfb writes the display number once it accepts connections.
  pollfd entry{ready[0], POLLIN, 0};
  std::string number;
  while (::poll(&entry, 1, 30000) > 0) {
    char c = 0;
    if (::read(ready[0], &c, 1) != 1 || c == '\n') {
      break;
    }
    number += c;
  }
  ::close(ready[0]);
  if (!number.empty()) {
    display_ = ":" + number;
    ::setenv("DISPLAY", display_.c_str(), 1);
  }
}

}  // namespace tavrel::e2e
