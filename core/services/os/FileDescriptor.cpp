#include "os/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

namespace tavrel::core::os {

long readFully(int fd, std::uint8_t* into, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = ::read(fd, into + done, count - done);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0)
      return -1;
    if (got == 0)
      break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<long>(done);
}

bool writeFully(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR)
      continue;
    if (put <= 0)
      return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

ReplaceResult replaceFile(const std::filesystem::path& target,
                          const std::function<bool(int fd)>& write) {
  std::string temporary =
      (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
  if (!file.valid())
    return ReplaceResult::NotCreated;
  struct stat previous {};
  ::fchmod(file.get(), ::stat(target.c_str(), &previous) == 0 ? previous.st_mode & 07777 : 0644);
  const bool written = write(file.get()) && ::fsync(file.get()) == 0;
  if (!file.close() || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return ReplaceResult::NotWritten;
  }
  return ReplaceResult::Replaced;
}

}  // namespace tavrel::core::os
