// The connection over a real terminal pair: bytes both ways, time-outs, the 1103-byte limit of
// the receive ring, and the transports' view of a line that is not there.
#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "tavrel/statexport/link/LinkConnection.h"
#include "tavrel/statexport/link/SerialTransport.h"
#include "tavrel/statexport/link/UsbTransport.h"

namespace tavrel::statexport::link::test {
namespace {

using Clock = std::chrono::steady_clock;

class Connection : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(link.connect()); }

  PtyPair pty;
  SerialTransport transport{pty.nearPath()};
  LinkConnection link{transport};
  FarEnd far{pty.farPath()};
};

TEST_F(Connection, BytesFlowBothWays) {
  const Bytes out{0x44, 0x00, 0xFF, 0x15};
  EXPECT_EQ(link.writeBytes(out.data(), out.size()), out.size());
  EXPECT_EQ(far.receiveCount(4), out);

  far.send({0x01, 0x02, 0x03});
  Bytes in(3);
  EXPECT_EQ(link.readBytes(in.data(), in.size(), kGenerous), 3u);
  EXPECT_EQ(in, (Bytes{0x01, 0x02, 0x03}));
}

TEST_F(Connection, ReadsGiveWhatCameWhenTheTimeRunsOut) {
  far.send({0x06, 0x07});
  Bytes in(10);
  EXPECT_EQ(link.readBytes(in.data(), in.size(), milliseconds(1000)), 2u);
  EXPECT_EQ(link.readByte(milliseconds(20)), 0u);
}

TEST_F(Connection, ConnectingAgainKeepsTheOpenLine) {
  EXPECT_TRUE(link.connect());
  far.send({0x42});
  EXPECT_EQ(link.readByte(kGenerous), 0x42);
}

TEST_F(Connection, BytesBeyondTheRingAreDropped) {
  const Bytes burst = pattern(2000, 4);
  far.send(burst);
  ASSERT_TRUE(link.ring().waitForDropped(2000 - ReceiveRing::kCapacity, Clock::now() + kGenerous));
  EXPECT_EQ(link.ring().queued(), ReceiveRing::kCapacity);
  Bytes in(2000);
  ASSERT_EQ(link.readBytes(in.data(), in.size(), milliseconds(50)), ReceiveRing::kCapacity);
  in.resize(ReceiveRing::kCapacity);
  EXPECT_EQ(in, Bytes(burst.begin(), burst.begin() + ReceiveRing::kCapacity));
}

TEST_F(Connection, PurgeSwallowsNoiseIncludingZeroBytes) {
  far.send({0x31, 0x00, 0x00, 0x32, 0x00});
  EXPECT_EQ(link.readByte(kGenerous), 0x31);
  link.purge(milliseconds(100));
  EXPECT_EQ(link.ring().queued(), 0u);
  far.send({0x55});
  EXPECT_EQ(link.readByte(kGenerous), 0x55);
}

TEST_F(Connection, DisconnectClosesTheLineAndEmptiesTheRing) {
  far.send({0x10, 0x11});
  EXPECT_EQ(link.readByte(kGenerous), 0x10);
  link.disconnect();
  EXPECT_FALSE(link.isConnected());
  EXPECT_EQ(link.ring().queued(), 0u);
  const std::uint8_t byte = 0x06;
  EXPECT_EQ(link.writeBytes(&byte, 1), 0u);
}

TEST_F(Connection, UnpluggedLineIsNoLongerPresent) {
  EXPECT_TRUE(transport.isPresent());
  pty.unplug();
  EXPECT_FALSE(transport.isPresent());
}

TEST(Transports, MissingSerialDeviceCannotBeOpened) {
  SerialTransport transport("/dev/nonexistent-calculator-line");
  EXPECT_FALSE(transport.isPresent());
  EXPECT_FALSE(transport.open());
  LinkConnection link(transport);
  EXPECT_FALSE(link.connect());
}

TEST(Transports, AbsentUsbCalculatorIsNotPresent) {
  // No device carries the reserved vendor id 0.
  UsbTransport transport(0x0000, 0x0000);
  EXPECT_FALSE(transport.isPresent());
  EXPECT_FALSE(transport.open());
  std::uint8_t byte = 0;
  EXPECT_TRUE(transport.read(&byte, 1, milliseconds(1)).failed);
  EXPECT_EQ(transport.write(&byte, 1, milliseconds(1)), 0u);
}

}  // namespace
}  // namespace tavrel::statexport::link::test
