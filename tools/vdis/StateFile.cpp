#include "StateFile.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace tavrel::vdis {

namespace {

constexpr std::string_view kMagic = "s#tavrel";
constexpr uint32_t kRecordSize = 4064;
constexpr size_t kPort0Bytes = 262144;
constexpr size_t kPort1Bytes = 131072;
constexpr size_t kDisplayBytes = 4096;
constexpr size_t kBankBytes = 131072;
constexpr int kBanks = 7;
constexpr int64_t kAddressSpace = 0x100000;

// Offsets inside the machine record.
constexpr size_t kConfigState = 0xEA8;
constexpr size_t kPort0Page = 0xEB4;
constexpr size_t kPort1Page = 0xEC4;
constexpr size_t kDisp0Page = 0xF64;
constexpr uint32_t kPort0Configured = 2;
constexpr uint32_t kPort1Configured = 8;

uint32_t read32(const std::vector<uint8_t>& file, size_t offset) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) {
    value = (value << 8) | file[offset + static_cast<size_t>(i)];
  }
  return value;
}

void unpack(const std::vector<uint8_t>& file, size_t offset, size_t bytes,
            std::vector<uint8_t>& nibbles) {
  nibbles.resize(2 * bytes);
  for (size_t i = 0; i < bytes; ++i) {
    nibbles[2 * i] = file[offset + i] & 0xF;
    nibbles[2 * i + 1] = file[offset + i] >> 4;
  }
}

}  // namespace

std::string readStateRegion(const std::vector<uint8_t>& file, const std::string& name,
                            StateRegion& region) {
  if (file.size() < 12 || std::memcmp(file.data(), kMagic.data(), kMagic.size()) != 0) {
    return "not a state file (magic \"s#tavrel\" missing)";
  }
  const uint64_t nameChars = read32(file, 8);
  const uint64_t recordAt = 12 + 2 * nameChars + 12;
  const uint64_t port0At = recordAt + kRecordSize;
  const uint64_t port1At = port0At + kPort0Bytes;
  const uint64_t displayAt = port1At + kPort1Bytes;
  const uint64_t banksAt = displayAt + kDisplayBytes;
  if (banksAt + kBanks * kBankBytes > file.size()) {
    return "state file too short";
  }
  if (read32(file, recordAt - 4) != kRecordSize) {
    return "state file has a machine record of the wrong size";
  }
  const auto record = static_cast<size_t>(recordAt);
  const uint32_t config = read32(file, record + kConfigState);
  if (name == "port0") {
    unpack(file, port0At, kPort0Bytes, region.nibbles);
    region.address =
        (config & kPort0Configured) ? (read32(file, record + kPort0Page) & 0xFF) << 12 : 0;
  } else if (name == "port1") {
    unpack(file, port1At, kPort1Bytes, region.nibbles);
    region.address =
        (config & kPort1Configured) ? (read32(file, record + kPort1Page) & 0xFF) << 12 : 0;
  } else if (name == "display") {
    unpack(file, displayAt, kDisplayBytes, region.nibbles);
    region.address = (read32(file, record + kDisp0Page) & 0xFF) << 12;
  } else if (name.size() == 5 && name.compare(0, 4, "bank") == 0 && name[4] >= '0' &&
             name[4] < '0' + kBanks) {
    const int bank = name[4] - '0';
    unpack(file, banksAt + static_cast<size_t>(bank) * kBankBytes, kBankBytes, region.nibbles);
    region.bank = bank;
    region.address = bank < 4 ? int64_t{bank} << 18 : 0x40000;
  } else {
    return "unknown region '" + name + "' (port0, port1, display, bank0 .. bank6)";
  }
  // A page number from a damaged record must not push the region past the address space.
  const auto size = static_cast<int64_t>(region.nibbles.size());
  region.address = std::min(region.address, kAddressSpace - size);
  return {};
}

}  // namespace tavrel::vdis
