#include "StateFile.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <span>

#include "Configuration.h"
#include "StateImage.h"
#include "VendelMachine.h"

namespace tavrel::vdis {

namespace {

constexpr int64_t kAddressSpace = 0x100000;

// A 32-bit field of the saved machine record.
uint32_t recordField(const std::vector<uint8_t>& file, const machine::StateSections& sections,
                     std::size_t fieldOffset) {
  uint32_t value = 0;
  std::memcpy(&value, file.data() + sections.record + fieldOffset, sizeof value);
  return value;
}

void unpack(const std::vector<uint8_t>& file, std::size_t offset, std::size_t bytes,
            std::vector<uint8_t>& nibbles) {
  nibbles.resize(2 * bytes);
  for (std::size_t i = 0; i < bytes; ++i) {
    nibbles[2 * i] = file[offset + i] & 0xF;
    nibbles[2 * i + 1] = file[offset + i] >> 4;
  }
}

}  // namespace

std::string readStateRegion(const std::vector<uint8_t>& file, const std::string& name,
                            StateRegion& region) {
  machine::StateSections sections;
  std::string error;
  if (!machine::locateStateSections(file, sections, error)) {
    return error == "not a state file" ? "not a state file (magic \"s#tavrel\" missing)"
                                       : "not a whole state file (wrong length or record size)";
  }
  using machine::VendelMachine;
  const uint32_t config = recordField(file, sections, offsetof(VendelMachine, configState));
  // The page a region had when its module was configured, else address 0.
  auto configuredPage = [&](uint32_t moduleFlag, std::size_t pageField) -> int64_t {
    return (config & moduleFlag) ? int64_t{recordField(file, sections, pageField) & 0xFF} << 12
                                 : 0;
  };
  if (name == "port0") {
    unpack(file, sections.port0, machine::kPort0Bytes, region.nibbles);
    region.address = configuredPage(machine::kConfigPort0, offsetof(VendelMachine, port0Page));
  } else if (name == "port1") {
    unpack(file, sections.port1, machine::kPort12Bytes, region.nibbles);
    region.address = configuredPage(machine::kConfigPort1, offsetof(VendelMachine, port1Page));
  } else if (name == "display") {
    unpack(file, sections.disp0, machine::kDisp0Bytes, region.nibbles);
    region.address =
        int64_t{recordField(file, sections, offsetof(VendelMachine, disp0Page)) & 0xFF} << 12;
  } else if (name.size() == 5 && name.compare(0, 4, "bank") == 0 && name[4] >= '0' &&
             name[4] < '0' + machine::kRomBankCount) {
    const int bank = name[4] - '0';
    unpack(file, sections.banks + static_cast<std::size_t>(bank) * machine::kStateBankBytes,
           machine::kStateBankBytes, region.nibbles);
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
