#include "state/StateCommands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "StateImage.h"
#include "settings/CoreAccess.h"
#include "settings/CoreSettings.h"
#include "state/StateFile.h"
#include "tavrel/HostUi.h"
#include "tavrel/Text.h"

namespace tavrel::core {

namespace {

void reportSaveError(const std::u16string& text) {
  gui::showMessage(text, u"Save Error", gui::MessageIcon::Error, gui::MessageButtons::Ok, true);
}

// Closes a descriptor it owns.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

}  // namespace

bool nexoSaveState(const std::u16string& path) {
  // The state goes to a file of its own in the target's folder, renamed over the target only
  // when every byte is on disk: a failed save keeps the previous state file.
  const std::filesystem::path target(toUtf8(path));
  std::string temporary =
      (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
  if (!file.valid()) {
    reportSaveError(u"Could not create file.");
    return false;
  }
  // A replaced file keeps its permissions; a new one gets the usual ones.
  struct stat previous {};
  ::fchmod(file.get(), ::stat(target.c_str(), &previous) == 0 ? previous.st_mode & 07777 : 0644);
  const bool written = writeState(file.get(), coreAccess()) && ::fsync(file.get()) == 0;
  if (!file.close() || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    reportSaveError(u"Could not write to file.");
    return false;
  }
  return true;
}

bool nexoLoadState(const std::u16string& path) {
  FileDescriptor file(::open(toUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!file.valid() || ::fstat(file.get(), &info) != 0 || S_ISDIR(info.st_mode)) {
    CRegistry& registry = coreRegistry();
    registry.deleteValue(currentSkinKey(), u"Saved");
    registry.deleteValue(initialRomKey(), u"Saved");
    return false;
  }
  char magic[sizeof machine::kStateMagic];
  if (info.st_size <= static_cast<off_t>(sizeof magic) ||
      ::read(file.get(), magic, sizeof magic) != static_cast<ssize_t>(sizeof magic) ||
      std::memcmp(magic, machine::kStateMagic, sizeof magic) != 0) {
    return false;
  }
  return readState(file.get(), coreAccess());
}

}  // namespace tavrel::core
