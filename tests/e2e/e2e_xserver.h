// A private X server (Xvfb) for whole-program runs and benchmarks: a free display number,
// ready once it accepts connections, ended with its owner.
#pragma once

#include <memory>
#include <string>

#include "e2e_process.h"

namespace tavrel::e2e {

class CXServer {
 public:
  // Starts a 1024 x 768 server whose log goes to logFile and makes it $DISPLAY. Keys held
  // down repeat after 100 ms, every 20 ms, so a held key surely repeats within a second.
  explicit CXServer(const std::string& logFile);

  // Whether the server accepts connections (and $DISPLAY names it).
  bool ready() const { return !display_.empty(); }
  const std::string& display() const { return display_; }

 private:
  std::unique_ptr<CChildProcess> server_;
  std::string display_;
};

}  // namespace tavrel::e2e
