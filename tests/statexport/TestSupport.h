// Shared helpers of the exporter's tests: hosts that record what the loader asks of them,
// temporary folders and file access.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tavrel/statexport/HostInterfaces.h"

namespace tavrel::statexport::test {

class RecordingReporter final : public IErrorReporter {
 public:
  void reportError(const std::string& message) override { messages.push_back(message); }
  std::vector<std::string> messages;
};

class ScriptedChooser final : public IFolioChooser {
 public:
  explicit ScriptedChooser(std::optional<int> answer = 0) : answer_(answer) {}
  std::optional<int> chooseFolio(const std::vector<std::string>& titles) override {
    offered.push_back(titles);
    return answer_;
  }
  std::vector<std::vector<std::string>> offered;

 private:
  std::optional<int> answer_;
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::filesystem::path path(const std::string& name) const { return root_ / name; }
  std::vector<std::string> entries() const;

 private:
  std::filesystem::path root_;
};

std::string readText(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
// A file of tests/statexport/golden/.
std::string golden(const std::string& name);

}  // namespace tavrel::statexport::test
