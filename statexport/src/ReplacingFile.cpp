#include "tavrel/statexport/ReplacingFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

namespace tavrel::statexport {
namespace {

std::string temporaryNameBeside(const std::string& path, unsigned salt) {
  const std::filesystem::path target(path);
  std::string name = ".";
  name += target.filename().string();
  name += '.';
  name += std::to_string(salt);
  name += ".tmp";
  return (target.parent_path() / name).string();
}

}  // namespace

ReplacingFile::ReplacingFile(std::string path) : path_(std::move(path)) {
  buffer_.reserve(kBufferSize);
}

ReplacingFile::~ReplacingFile() {
  if (file_) {
    std::fclose(file_);
  }
  if (!tempPath_.empty() && !committed_) {
    std::remove(tempPath_.c_str());
  }
}

void ReplacingFile::fail(const char* reason) {
  if (!failed_) {
    failed_ = true;
    error_ = "Could not save file.\n" + path_ + ": " + reason;
  }
}

bool ReplacingFile::open() {
  std::random_device entropy;
  std::minstd_rand salts(entropy());
  // "x" refuses an existing file, so a name another writer took is never shared.
  for (int attempt = 0; attempt < 16 && !file_; ++attempt) {
    tempPath_ = temporaryNameBeside(path_, static_cast<unsigned>(salts()));
    errno = 0;
    file_ = std::fopen(tempPath_.c_str(), "wbx");
    if (!file_ && errno != EEXIST) {
      break;
    }
  }
  if (!file_) {
    fail(std::strerror(errno));
    tempPath_.clear();
    return false;
  }
  return true;
}

void ReplacingFile::write(std::string_view text) {
  buffer_ += text;
  if (buffer_.size() >= kBufferSize) {
    flush();
  }
}

bool ReplacingFile::flush() {
  if (!file_ || failed_) {
    return false;
  }
  if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
    fail(std::strerror(errno));
    return false;
  }
  buffer_.clear();
  return true;
}

bool ReplacingFile::commit() {
  if (!file_ || !flush()) {
    return false;
  }
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!closed) {
    fail(std::strerror(errno));
    return false;
  }
  if (std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
    fail(std::strerror(errno));
    return false;
  }
  committed_ = true;
  return true;
}

}  // namespace tavrel::statexport
