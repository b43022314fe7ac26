// Any bytes as a state file. Short inputs are taken as the front of a real state image so
// that the fuzzer reaches the record: its first bytes replace the image's leading bytes,
// and inputs longer than the header are laid over the record.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "Memory.h"
#include "Processor.h"
#include "StateImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrel::machine;
  static auto m = createMachine("", nullptr);
  static const std::vector<uint8_t> valid = encodeState(*m, u"ZR T6", 0);
  // Whole-file form: the input as it is.
  StateHeader header;
  std::string error;
  decodeState(*m, std::span<const uint8_t>(data, size), nullptr, header, error);
  // Overlay form: a valid image with the input over its header and record.
  std::vector<uint8_t> image = valid;
  if (size > 0)
    std::memcpy(image.data(), data, std::min(size, image.size()));
  if (decodeState(*m, image, nullptr, header, error)) {
    uint32_t sum = 0;
    for (uint32_t page = 0; page <= kPageCount; ++page)
      sum += m->readPage[page][0];
    for (uint32_t a = 0; a < 0x100000; a += 0x1000)
      sum += read5(*m, a + 0xFFE);
    return sum == 0xFFFFFFFF ? 1 : 0;
  }
  return 0;
}
