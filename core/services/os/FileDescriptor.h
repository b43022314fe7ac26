// Files the core reads and writes: an owned descriptor, and replacing a file through a
// temporary one in its folder.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

namespace tavrel::core::os {

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

// Reads until count bytes, the end of the file or an error; the bytes read, or -1 on an error.
long readFully(int fd, std::uint8_t* into, std::size_t count);
// Writes every byte; false when a write fails.
bool writeFully(int fd, std::span<const std::uint8_t> bytes);

enum class ReplaceResult { Replaced, NotCreated, NotWritten };

// Writes a file through `write` into ".<name>.XXXXXX" beside the target, syncs it and renames
// it over the target, so a failure keeps the previous file and leaves no temporary behind. A
// replaced file keeps its permissions.
ReplaceResult replaceFile(const std::filesystem::path& target,
                          const std::function<bool(int fd)>& write);

}  // namespace tavrel::core::os
