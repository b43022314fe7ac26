// The receive ring on its own, and the two block checks.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "LinkTestSupport.h"
#include "tavrel/statexport/link/BlockCheck.h"
#include "tavrel/statexport/link/ReceiveRing.h"

namespace tavrel::statexport::link::test {
namespace {

using Clock = std::chrono::steady_clock;

TEST(ReceiveRing, HoldsOneByteLessThanItsSlots) {
  ReceiveRing ring;
  const Bytes bytes = pattern(1200, 1);
  EXPECT_EQ(ring.append(bytes.data(), bytes.size()), 1103u);
  EXPECT_EQ(ring.dropped(), 97u);
  EXPECT_EQ(ring.append(bytes.data(), 1), 0u);
  EXPECT_EQ(ring.dropped(), 98u);
}

TEST(ReceiveRing, KeepsOrderAcrossTheWrap) {
  ReceiveRing ring;
  Bytes sink(1000);
  const Bytes first = pattern(1000, 2);
  ring.append(first.data(), first.size());
  ASSERT_EQ(ring.take(sink.data(), 1000, Clock::now()), 1000u);
  const Bytes second = pattern(900, 3);
  ASSERT_EQ(ring.append(second.data(), second.size()), 900u);
  Bytes out(900);
  ASSERT_EQ(ring.take(out.data(), out.size(), Clock::now()), 900u);
  EXPECT_EQ(out, second);
}

TEST(ReceiveRing, TakeWaitsForLateBytesUntilItsDeadline) {
  ReceiveRing ring;
  std::thread writer([&] {
    const Bytes late{0x07, 0x08};
    ring.append(late.data(), late.size());
  });
  Bytes out(2);
  EXPECT_EQ(ring.take(out.data(), 2, Clock::now() + kGenerous), 2u);
  writer.join();
  EXPECT_EQ(out, (Bytes{0x07, 0x08}));
  EXPECT_EQ(ring.take(out.data(), 2, Clock::now() + milliseconds(5)), 0u);
}

TEST(BlockCheck, CrcIsTheKermitVariant) {
  const char* text = "123456789";
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
  EXPECT_EQ(crc16Kermit(bytes, std::strlen(text)), 0x2189);
  EXPECT_EQ(crc16Kermit(bytes, 0), 0);
}

TEST(BlockCheck, ChecksumIsTheByteSumModulo256) {
  const Bytes bytes{0xFF, 0x02, 0x10};
  EXPECT_EQ(checksum8(bytes.data(), bytes.size()), 0x11);
}

}  // namespace
}  // namespace tavrel::statexport::link::test
