// Reading a whole file of bounded size into memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrel::statexport {

enum class FileReadStatus { kOk, kCannotOpen, kBadSize };

struct FileContents {
  FileReadStatus status = FileReadStatus::kCannotOpen;
  std::vector<std::uint8_t> bytes;
};

// The file's bytes when it is a regular file of minSize .. maxSize bytes.
FileContents readFileContents(const std::string& path, std::uintmax_t minSize,
                              std::uintmax_t maxSize);

}  // namespace tavrel::statexport
