#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tavrel {
class CRegistry;
}

namespace tavrel::connect {

// A pseudo-terminal the service makes for one virtual port so that a PC program can connect
// to the calculator. It lives until the service unloads, across opens and closes of the port,
// so its path stays valid. The service holds the terminal side open itself: the line settings
// survive a peer that comes and goes, and the service side never sees a hang-up.
class PtyEndpoint {
 public:
  // Makes a raw pseudo-terminal, writes its path to standard error and to the setting
  // "<port>Pty", and keeps a symbolic link to it at linkPath when that is not empty.
  // Null (with one line on standard error) when any step fails.
  static std::shared_ptr<PtyEndpoint> create(CRegistry& registry, const std::u16string& port,
                                             const std::u16string& linkPath);
  ~PtyEndpoint();
  PtyEndpoint(const PtyEndpoint&) = delete;
  PtyEndpoint& operator=(const PtyEndpoint&) = delete;

  int serviceFd() const { return master_; }
  const std::string& path() const { return path_; }
  // Sets the line speed the peer sees; false for a speed the terminal does not know.
  bool setSpeed(std::uint32_t bitsPerSecond);

 private:
  PtyEndpoint() = default;

  int master_ = -1;
  int terminal_ = -1;
  std::string path_;
  std::string linkPath_;
};

}  // namespace tavrel::connect
