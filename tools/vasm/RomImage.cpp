#include "RomImage.h"

#include <algorithm>

namespace tavrel::vasm {

namespace {
constexpr size_t kBankBytes = kRomBankNibbles / 2;
constexpr size_t kKilobyte = 1024;
constexpr size_t kHeaderBytes = 1 + kRomBanks;
}  // namespace

std::string buildRomImage(std::span<const uint8_t> nibbles, std::vector<uint8_t>& image) {
  if (nibbles.size() > size_t{kRomBanks} * kRomBankNibbles) {
    return "code lies beyond bank 6";
  }
  image.assign(kHeaderBytes, 0);
  image[0] = kRomBanks;
  for (int bank = 0; bank < kRomBanks; ++bank) {
    const size_t first = size_t{kRomBankNibbles} * bank;
    if (first >= nibbles.size()) {
      break;
    }
    const size_t count = std::min<size_t>(kRomBankNibbles, nibbles.size() - first);
    const size_t bytes = (count + 1) / 2;
    const size_t kilobytes = (bytes + kKilobyte - 1) / kKilobyte;
    image[1 + bank] = static_cast<uint8_t>(kilobytes);
    const size_t start = image.size();
    image.resize(start + kilobytes * kKilobyte, 0);
    for (size_t i = 0; i < count; ++i) {
      image[start + i / 2] |= static_cast<uint8_t>((nibbles[first + i] & 0xF) << (4 * (i & 1)));
    }
  }
  if (image.size() > kRomMaxBytes) {
    return "ROM image of " + std::to_string(image.size()) + " bytes is larger than " +
           std::to_string(kRomMaxBytes) + " bytes";
  }
  return {};
}

std::string readRomImage(std::span<const uint8_t> image, std::vector<uint8_t>& nibbles) {
  if (image.size() > kRomMaxBytes) {
    return "ROM image larger than " + std::to_string(kRomMaxBytes) + " bytes";
  }
  if (image.size() < kHeaderBytes || image[0] < kRomBanks) {
    return "ROM image header too short";
  }
  size_t offset = 1 + size_t{image[0]};
  nibbles.clear();
  for (int bank = 0; bank < kRomBanks; ++bank) {
    const size_t bytes = std::min(size_t{image[1 + bank]} * kKilobyte, kBankBytes);
    if (bytes == 0) {
      continue;
    }
    if (offset > image.size() || image.size() - offset < bytes) {
      return "ROM image ends inside bank " + std::to_string(bank);
    }
    const size_t available = bytes;
    const size_t first = size_t{kRomBankNibbles} * bank;
    nibbles.resize(first + 2 * available, 0);
    for (size_t i = 0; i < available; ++i) {
      nibbles[first + 2 * i] = image[offset + i] & 0xF;
      nibbles[first + 2 * i + 1] = image[offset + i] >> 4;
    }
    offset += image[1 + bank] * kKilobyte;
  }
  return {};
}

}  // namespace tavrel::vasm
