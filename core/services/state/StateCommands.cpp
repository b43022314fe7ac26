#include "state/StateCommands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "StateImage.h"
#include "os/FileDescriptor.h"
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

}  // namespace

bool nexoSaveState(const std::u16string& path) {
  // A failed save keeps the previous state file.
  switch (os::replaceFile(std::filesystem::path(toUtf8(path)),
                          [](int fd) { return writeState(fd, coreAccess()); })) {
    case os::ReplaceResult::Replaced:
      return true;
    case os::ReplaceResult::NotCreated:
      reportSaveError(u"Could not create file.");
      return false;
    case os::ReplaceResult::NotWritten:
      break;
  }
  reportSaveError(u"Could not write to file.");
  return false;
}

bool nexoLoadState(const std::u16string& path) {
  os::FileDescriptor file(::open(toUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
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
