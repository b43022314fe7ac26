// Writing a file the user keeps: into a temporary file beside it, renamed into place only
// when everything was written, so a failed write leaves the previous file as it was.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tavrel::statexport {

class ReplacingFile {
 public:
  static constexpr std::size_t kBufferSize = 4096;

  explicit ReplacingFile(std::string path);
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  // Removes the temporary file unless commit() succeeded.
  ~ReplacingFile();

  // Creates the temporary file; false (see error()) when it cannot be.
  bool open();
  void write(std::string_view text);
  // Flushes, closes and renames over the target; false (see error()) on any failure.
  bool commit();
  // Why the last step failed, naming the target file.
  const std::string& error() const { return error_; }

 private:
  bool flush();
  void fail(const char* reason);

  std::string path_;
  std::string tempPath_;
  std::FILE* file_ = nullptr;
  std::string buffer_;
  std::string error_;
  bool failed_ = false;
  bool committed_ = false;
};

}  // namespace tavrel::statexport
