// Writes the Datavane logger's firmware image that the core ships: 15,332 bytes of our own,
// the same on every build (a fixed-seed xorshift sequence), so uploads can be checked byte for
// byte. Usage: datavane-image OUTPUT
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

constexpr std::size_t kImageBytes = 15332;
constexpr std::uint32_t kSeed = 0x7A5E11D5;

std::vector<char> imageBytes() {
  std::vector<char> bytes(kImageBytes);
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
  const std::filesystem::path temporary = target.string() + ".tmp";
  std::error_code failure;
  std::filesystem::create_directories(target.parent_path(), failure);
  const std::vector<char> bytes = imageBytes();
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::fprintf(stderr, "datavane-image: cannot write %s\n", temporary.c_str());
      return 1;
    }
  }
  std::filesystem::rename(temporary, target, failure);
  if (failure) {
    std::fprintf(stderr, "datavane-image: cannot rename to %s\n", target.c_str());
    return 1;
  }
  return 0;
}
