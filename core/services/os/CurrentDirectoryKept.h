// The file dialogs may move the current directory; the commands that show them keep it.
#pragma once

#include <filesystem>
#include <system_error>

namespace tavrel::core::os {

// Restores the current directory of its construction when it goes.
class CurrentDirectoryKept {
 public:
  CurrentDirectoryKept() : kept_(std::filesystem::current_path(failure_)) {}
  ~CurrentDirectoryKept() {
    if (!kept_.empty())
      std::filesystem::current_path(kept_, failure_);
  }
  CurrentDirectoryKept(const CurrentDirectoryKept&) = delete;
  CurrentDirectoryKept& operator=(const CurrentDirectoryKept&) = delete;

 private:
  std::error_code failure_;
  std::filesystem::path kept_;
};

}  // namespace tavrel::core::os
