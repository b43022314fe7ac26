// Bytes from a logger: the parser must stay bounded and every packet it accepts must come
// back the same through the application's own encoder; packing must round-trip any data.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "datavane/LinkFraming.h"
#include "datavane/LinkParser.h"

using namespace tavrel::core::datavane;

namespace {

void checkReencoded(const LinkEvent& event) {
  const std::vector<std::uint8_t> again = encodePacket(event.code, event.payload);
  LinkParser parser;
  std::vector<LinkEvent> seen;
  for (std::uint8_t byte : again) {
    if (auto next = parser.push(byte)) {
      seen.push_back(*next);
    }
  }
  if (seen.size() != 1 || seen[0].kind != LinkEvent::Kind::kPacket || seen[0].code != event.code ||
      seen[0].payload != event.payload) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LinkParser parser;
  for (size_t i = 0; i < size; ++i) {
    if (auto event = parser.push(data[i])) {
      if (event->payload.size() > LinkParser::kMaxPayload) {
        std::abort();
      }
      if (event->kind == LinkEvent::Kind::kPacket) {
        checkReencoded(*event);
      }
    }
  }
  const std::span<const std::uint8_t> bytes(data, size);
  if (unpackMsbFirst(packMsbFirst(bytes), size) != std::vector<std::uint8_t>(data, data + size) ||
      unpackLsbFirst(packLsbFirst(bytes), size) != std::vector<std::uint8_t>(data, data + size)) {
    std::abort();
  }
  return 0;
}
