#include "objects/ObjectTransfer.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "emulation/EmulationControl.h"
#include "objects/TransferFailures.h"
#include "os/FileDescriptor.h"
#include "plugin/CoreCommandLink.h"
#include "settings/CoreAccess.h"
#include "state/StateCommands.h"
#include "tavrel/Text.h"

namespace tavrel::core::objects {
namespace {

// Appends what the file holds past what was read, up to `limit` bytes in all; false when a
// read fails.
bool readUpTo(int fd, std::vector<std::uint8_t>& bytes, std::size_t limit) {
  const std::size_t before = bytes.size();
  if (before >= limit)
    return true;
  bytes.resize(limit);
  const long got = os::readFully(fd, bytes.data() + before, limit - before);
  bytes.resize(before + static_cast<std::size_t>(got < 0 ? 0 : got));
  return got >= 0;
}

std::vector<std::uint8_t> wholeFile(const LoadSource& file) {
  std::vector<std::uint8_t> bytes(file.firstBytes.begin(), file.firstBytes.end());
  if (!readUpTo(file.fd, bytes, kFileReadLimit))
    raiseCannotReadFile();
  return bytes;
}

void insertLoaded(const FileLoad& load) {
  if (load.failure != LoadFailure::None)
    raiseLoadFailure(load.failure);
  insertObject(load.image);
}

}  // namespace

void withCalculatorHeld(const std::function<void(machine::Machine*)>& work) {
  ICoreAccess& core = coreAccess();
  machine::Machine* const before = core.machine();
  const bool wasRunning = before != nullptr && before->running.load() != 0;
  core.pause();
  struct ResumeIfRunning {
    ICoreAccess& core;
    bool wasRunning;
    ~ResumeIfRunning() {
      if (wasRunning)
        core.resume();
    }
  } resume{core, wasRunning};
  std::lock_guard held(core.emulationLock());
  work(core.machine());
}

void insertObject(const ObjectImage& image) {
  withCalculatorHeld([&](machine::Machine* m) {
    if (m == nullptr)
      raiseLoadFailure(LoadFailure::NotEnoughMemory);
    insertObject(*m, image);
  });
}

void insertString(std::span<const std::uint8_t> characters) {
  if (characters.size() > kLargestStringBytes)
    raiseLoadFailure(LoadFailure::NotEnoughMemory);
  insertObject(stringImage(characters));
}

void loadTextFile(const LoadSource& file) {
  // A file shorter than the header is all in firstBytes; one too large to load is refused by
  // its size alone.
  const std::vector<std::uint8_t> bytes =
      file.firstBytes.size() < kObjectHeaderBytes || file.size > kLargestStringBytes
          ? std::vector<std::uint8_t>(file.firstBytes.begin(), file.firstBytes.end())
          : wholeFile(file);
  insertLoaded(textFileLoad(bytes, file.size));
}

void loadObjectFile(const LoadSource& file) {
  insertLoaded(objectFileLoad(wholeFile(file), file.size));
}

void pressOnKey() {
  const CoreCommandLink& link = commandLink();
  link.executeLine(u"key_down KEY_ON", 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  link.executeLine(u"key_up KEY_ON", 0);
}

void loadFile(const std::u16string& path) {
  os::FileDescriptor file(::open(toUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!file.valid() || ::fstat(file.get(), &info) != 0 || S_ISDIR(info.st_mode))
    raiseCannotReadFile();
  std::vector<std::uint8_t> head;
  if (!readUpTo(file.get(), head, kObjectHeaderBytes))
    raiseCannotReadFile();
  const LoadSource source{file.get(), S_ISREG(info.st_mode) ? std::uint64_t(info.st_size) : 0,
                          head};
  switch (classifyFile(head)) {
    case FileKind::State:
      file.close();
      nexoLoadState(path);
      return;
    case FileKind::Object:
      loadObjectFile(source);
      break;
    case FileKind::Text:
      loadTextFile(source);
      break;
  }
  file.close();
  pressOnKey();
}

}  // namespace tavrel::core::objects
