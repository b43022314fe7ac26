// Writes the Datavane logger's firmware image that the core ships: 15,332 bytes of our own,
// the same on every build (a fixed-seed xorshift sequence), so uploads can be checked byte for
// byte. Usage: datavane-image OUTPUT
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "FileIo.h"

namespace {

constexpr std::size_t kImageBytes = 15332;
constexpr std::uint32_t kSeed = 0x7A5E11D5;

std::string imageBytes() {
  std::string bytes(kImageBytes, '\0');
  std::uint32_t state = kSeed;
  for (char& byte : bytes) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    byte = static_cast<char>(state >> 24);
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: datavane-image OUTPUT\n");
    return 2;
  }
  const std::filesystem::path target(argv[1]);
  std::error_code ignored;
  std::filesystem::create_directories(target.parent_path(), ignored);
  const std::string error = tavrel::vasm::writeFileReplacing(target, imageBytes());
  if (!error.empty()) {
    std::fprintf(stderr, "datavane-image: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
