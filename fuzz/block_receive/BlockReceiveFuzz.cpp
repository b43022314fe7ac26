// Random calculators: the input is a list of replies, each released by the receiver's next
// write, fed through an in-memory line into the connection and the block receive. Whatever
// arrives, the receive must end, keep within its size limit and answer only protocol bytes.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "MemoryTransport.h"
#include "tavrel/statexport/link/BlockReceiver.h"
#include "tavrel/statexport/link/LinkConnection.h"

namespace {

using namespace tavrel::statexport::link;
using std::chrono::milliseconds;

// Replies are a little-endian 16-bit length (modulo 2049, so a whole long block fits in one)
// followed by that many bytes; the last one may be short.
std::vector<std::vector<std::uint8_t>> splitReplies(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kMaxReplies = 200;  // keeps one run short
  std::vector<std::vector<std::uint8_t>> replies;
  std::size_t pos = 0;
  while (pos + 2 <= size && replies.size() < kMaxReplies) {
    const std::size_t wanted = (data[pos] | (data[pos + 1] << 8)) % 2049;
    pos += 2;
    const std::size_t length = wanted < size - pos ? wanted : size - pos;
    replies.emplace_back(data + pos, data + pos + length);
    pos += length;
  }
  return replies;
}

bool isProtocolAnswer(std::uint8_t byte) {
  return byte == kStartCrc || byte == kNak || byte == kAck || byte == kCancel;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  testing::MemoryTransport transport(splitReplies(data, size));
  ReceiveTiming timing;
  timing.statusPause = milliseconds(0);
  timing.headerWait = milliseconds(1);
  timing.blockWait = milliseconds(2);
  timing.secondCancelWait = milliseconds(1);
  timing.purgeQuiet = milliseconds(1);
  LinkConnection link(transport, milliseconds(0));
  if (!link.connect()) {
    std::abort();
  }
  std::atomic<bool> cancel{false};
  std::size_t statuses = 0;
  const ReceiveResult result = BlockReceiver(
                                   link, timing, [&](const std::string&) { ++statuses; }, cancel)
                                   .run();
  link.disconnect();

  if (result.data.size() > kMaxImageSize ||
      (result.outcome != ReceiveOutcome::kReceived && !result.data.empty())) {
    std::abort();
  }
  for (const std::uint8_t byte : transport.written()) {
    if (!isProtocolAnswer(byte)) {
      std::abort();
    }
  }
  return 0;
}
