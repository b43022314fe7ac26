// The memory regions stored in a machine state file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrel::vdis {

struct StateRegion {
  std::vector<uint8_t> nibbles;
  int64_t address = 0;  // where the region is mapped in the saved machine
  int bank = -1;        // ROM bank number for bank regions
};

// Region names: port0, port1, display, bank0 .. bank6. Returns an error text, or empty.
std::string readStateRegion(const std::vector<uint8_t>& file, const std::string& name,
                            StateRegion& region);

}  // namespace tavrel::vdis
