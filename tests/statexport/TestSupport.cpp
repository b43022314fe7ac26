#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace tavrel::statexport::test {

TempDir::TempDir() {
  std::random_device entropy;
  root_ = std::filesystem::temp_directory_path() /
          ("statexport-test-" + std::to_string(entropy()) + std::to_string(entropy()));
  std::filesystem::create_directories(root_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::vector<std::string> TempDir::entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(root_)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

std::string readText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::string golden(const std::string& name) {
  const char* source = std::getenv("TAVREL_SOURCE_DIR");
  const std::filesystem::path root = source ? source : TAVREL_SOURCE_DIR_FALLBACK;
  const std::filesystem::path path = root / "tests" / "statexport" / "golden" / name;
  EXPECT_TRUE(std::filesystem::exists(path)) << path;
  return readText(path);
}

}  // namespace tavrel::statexport::test
