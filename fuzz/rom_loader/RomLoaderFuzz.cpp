// Any bytes as a ROM image: every bank in both windows must map only memory the machine owns.
#include <cstddef>
#include <cstdint>
#include <span>

#include "Memory.h"
#include "MemoryMap.h"
#include "Processor.h"
#include "RomFile.h"
#include "StateImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrel::machine;
  static auto m = createMachine("", nullptr);
  loadRomImage(*m, std::span<const uint8_t>(data, size));
  uint32_t sum = 0;
  for (uint32_t bank = 0; bank < 16; ++bank) {
    m->vm.romBankLow = bank & 3;
    m->vm.romBankHigh = bank;
    rebuildMap(*m);
    for (uint32_t page = 0; page < kPageCount; ++page) {
      sum += readNibbles(*m, page << 12, 8) + readNibbles(*m, (page << 12) | 0xFFC, 8);
    }
  }
  sum += static_cast<uint32_t>(encodeState(*m, u"", 0).size());
  return sum == 0xFFFFFFFF ? 1 : 0;
}
