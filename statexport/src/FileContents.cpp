#include "tavrel/statexport/FileContents.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace tavrel::statexport {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

FileContents readFileContents(const std::string& path, std::uintmax_t minSize,
                              std::uintmax_t maxSize) {
  FileContents result;
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(path, ignored)) {
    return result;
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    return result;
  }
  // The size is taken from the open file, so a file replaced meanwhile cannot slip past it.
  if (std::fseek(file.get(), 0, SEEK_END) != 0) {
    return result;
  }
  const long size = std::ftell(file.get());
  if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
    return result;
  }
  const auto fileSize = static_cast<std::uintmax_t>(size);
  if (fileSize < minSize || fileSize > maxSize) {
    result.status = FileReadStatus::kBadSize;
    return result;
  }
  result.bytes.resize(static_cast<std::size_t>(fileSize));
  if (std::fread(result.bytes.data(), 1, result.bytes.size(), file.get()) != result.bytes.size()) {
    result.bytes.clear();
    return result;
  }
  result.status = FileReadStatus::kOk;
  return result;
}

}  // namespace tavrel::statexport
