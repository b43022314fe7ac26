#include "RomFile.h"

#include <cstring>
#include <fstream>
#include <vector>

namespace tavrel::machine {

namespace {
constexpr std::size_t kHeaderSizes = 7;  // bytes 1..7: bank sizes in kilobytes
}

void loadRomImage(Machine& m, std::span<const uint8_t> image) {
  if (image.size() > kRomMaxBytes)
    image = image.first(kRomMaxBytes);
  auto* area = reinterpret_cast<uint8_t*>(m.rom);
  std::memset(area, 0, m.romBytes);
  const uint32_t headerLength = image.empty() ? 0 : image[0];
  const uint32_t firstBank = 1 + headerLength;
  const uint32_t place = (4096 - firstBank % 4096) % 4096;
  if (!image.empty())
    std::memcpy(area + place, image.data(), image.size());
  // A short file reads as zeros past its end, like an absent one.
  uint32_t offset = place + firstBank;
  for (std::size_t k = 0; k < kRomBankCount; ++k) {
    m.vm.romBanks[k] = HostAddress::kRom + offset;
    m.romBank[k] = reinterpret_cast<uint32_t*>(area + offset);
    const uint32_t kilobytes = 1 + k < image.size() && k < kHeaderSizes ? image[1 + k] : 0;
    offset += kilobytes * 1024;
  }
  for (std::size_t k = kRomBankCount; k < std::size(m.vm.romBanks); ++k)
    m.vm.romBanks[k] = 0;
}

RomLoad loadRomFile(Machine& m, const std::filesystem::path& path) {
  RomLoad result;
  std::error_code ignored;
  std::ifstream in;
  if (std::filesystem::is_regular_file(path, ignored))
    in.open(path, std::ios::binary);
  std::vector<uint8_t> bytes;
  if (in.is_open()) {
    // One byte more than we keep tells whether the file was longer.
    bytes.resize(kRomMaxBytes + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    result.opened = !in.bad();
  }
  if (!result.opened) {
    bytes.clear();
    result.message = "cannot read the ROM file " + path.string();
  }
  result.truncated = bytes.size() > kRomMaxBytes;
  if (result.truncated)
    bytes.resize(kRomMaxBytes);
  result.bytes = bytes.size();
  loadRomImage(m, bytes);
  return result;
}

}  // namespace tavrel::machine
