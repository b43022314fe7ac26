// The link framing and the logger commands as bytes on the wire.
#include <gtest/gtest.h>

#include <numeric>

#include "datavane/LinkFraming.h"
#include "datavane/LinkParser.h"
#include "datavane/LoggerCommands.h"

namespace tavrel::core::datavane {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<LinkEvent> parseAll(const Bytes& bytes) {
  LinkParser parser;
  std::vector<LinkEvent> events;
  for (std::uint8_t byte : bytes) {
    if (auto event = parser.push(byte)) {
      events.push_back(*event);
    }
  }
  return events;
}

TEST(DatavaneFraming, PackingRoundTripsEveryLengthUpToTwenty) {
  for (std::size_t n = 0; n <= 20; ++n) {
    Bytes data(n);
    for (std::size_t i = 0; i < n; ++i) {
      data[i] = static_cast<std::uint8_t>(0xA5 ^ (37 * i));
    }
    const Bytes msb = packMsbFirst(data);
    const Bytes lsb = packLsbFirst(data);
    EXPECT_EQ(msb.size(), (8 * n + 6) / 7) << n;
    EXPECT_EQ(lsb.size(), (8 * n + 6) / 7) << n;
    for (std::uint8_t byte : msb) {
      EXPECT_LT(byte, 0x80) << n;
    }
    EXPECT_EQ(unpackMsbFirst(msb, n), data) << n;
    EXPECT_EQ(unpackLsbFirst(lsb, n), data) << n;
    // Through a whole packet and the parser (command 2 packs, command 6 goes raw).
    for (std::uint8_t command : {std::uint8_t{2}, std::uint8_t{6}}) {
      const auto events = parseAll(encodePacket(command, data));
      ASSERT_EQ(events.size(), 1u) << n;
      EXPECT_EQ(events[0].code, command);
      EXPECT_EQ(events[0].payload, data) << n;
    }
  }
}

TEST(DatavaneFraming, BitOrdersAreTopDownAndBottomUp) {
  EXPECT_EQ(packMsbFirst(Bytes{0xFF}), (Bytes{0x7F, 0x40}));
  EXPECT_EQ(packMsbFirst(Bytes{0x81, 0x02}), (Bytes{0x40, 0x40, 0x40}));
  EXPECT_EQ(packLsbFirst(Bytes{0x81, 0x02}), (Bytes{0x01, 0x05, 0x00}));
  // Seven bytes fill eight output bytes exactly; the eighth data byte needs two more.
  EXPECT_EQ(packMsbFirst(Bytes(7, 0xFF)), Bytes(8, 0x7F));
  EXPECT_EQ(packMsbFirst(Bytes(8, 0)).size(), 10u);
}

TEST(DatavaneFraming, PacketsOnTheWire) {
  EXPECT_EQ(encodePacket(1, {}), (Bytes{0xFF, 0x7F, 0x01, 0x00, 0x00, 0x01}));
  EXPECT_EQ(encodePacket(15, {}), (Bytes{0xFF, 0x7F, 0x0F, 0x00, 0x00, 0x0F}));
  // Command 10 packs its three bytes into four; the checksum takes the bytes sent.
  const Bytes upload = encodePacket(10, Bytes{0x00, 0x78, 0xC3});
  const Bytes body = packMsbFirst(Bytes{0x00, 0x78, 0xC3});
  ASSERT_EQ(upload.size(), 5 + 4 + 1u);
  EXPECT_EQ(Bytes(upload.begin(), upload.begin() + 5), (Bytes{0xFF, 0x7F, 10, 0, 4}));
  EXPECT_EQ(Bytes(upload.begin() + 5, upload.end() - 1), body);
  EXPECT_EQ(upload.back(), (4 ^ 0 ^ 10 ^ body[0] ^ body[1] ^ body[2] ^ body[3]) & 0x7F);
  // Raw commands carry 8-bit bytes as they are; the checksum is cut to seven bits.
  const Bytes raw = encodePacket(14, Bytes{0xF0, 0x01});
  EXPECT_EQ(raw, (Bytes{0xFF, 0x7F, 14, 0, 2, 0xF0, 0x01, (2 ^ 14 ^ 0xF0 ^ 0x01) & 0x7F}));
  // A message that is not a packet goes out only when it is two bytes long.
  EXPECT_EQ(encodeMessage(Bytes{0x8B, 0x01}), (Bytes{0x8B, 0x01}));
  EXPECT_TRUE(encodeMessage(Bytes{0x8B, 0x01, 0x02}).empty());
  EXPECT_EQ(encodeMessage(Bytes{0xFF, 0x7F, 0x01}), encodePacket(1, {}));
}

TEST(DatavaneFraming, ParserSortsTheLoggerStream) {
  Bytes stream{0x81, 0x00, 0x83, 0x84, 0x05};
  const Bytes good = encodePacket(4, Bytes{19, 22, 255, 255});
  Bytes damaged = good;
  damaged.back() ^= 1;
  stream.insert(stream.end(), damaged.begin(), damaged.end());
  // A packet cut short by a new start is dropped and the new one read.
  stream.insert(stream.end(), {0xFF, 0x7F, 0x02, 0x00});
  stream.insert(stream.end(), good.begin(), good.end());
  LinkParser parser;
  std::vector<LinkEvent> events;
  for (std::uint8_t byte : stream) {
    if (auto event = parser.push(byte)) {
      events.push_back(*event);
    }
  }
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].kind, LinkEvent::Kind::kStatus);
  EXPECT_EQ(events[0].code, 0x81);
  EXPECT_EQ(events[1].kind, LinkEvent::Kind::kSignal);
  EXPECT_EQ(events[1].code, 0x83);
  EXPECT_EQ(events[2].kind, LinkEvent::Kind::kStatus);
  EXPECT_EQ(events[2].code, 0x84);
  EXPECT_EQ(events[3].kind, LinkEvent::Kind::kPacket);
  EXPECT_EQ(events[3].payload, (Bytes{19, 22, 255, 255}));
  EXPECT_EQ(parser.rejected(), 2u);
  // A length no data count packs to, and one beyond the limit, are refused.
  EXPECT_TRUE(parseAll(Bytes{0xFF, 0x7F, 2, 0, 9, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0}).empty());
  EXPECT_TRUE(parseAll(Bytes{0xFF, 0x7F, 2, 0x7F, 0x7F}).empty());
}

TEST(DatavaneFraming, StartCommandFollowsTheSensorClasses) {
  EXPECT_EQ(sensorClass(19), 2);
  EXPECT_EQ(sensorClass(22), 1);
  EXPECT_EQ(sensorClass(30), 2);
  EXPECT_EQ(sensorClass(31), 2);
  EXPECT_EQ(sensorClass(32), 7);
  EXPECT_EQ(sensorClass(34), 7);
  EXPECT_EQ(sensorClass(64), 6);
  EXPECT_EQ(sensorClass(33), 0);
  const std::array<ChannelSetting, kChannels> channels{{{1, 34}, {2, 0}, {1, 255}, {0, 19}}};
  const auto payload = startPayload(channels);
  EXPECT_EQ(Bytes(payload.begin(), payload.end()),
            (Bytes{56, 0, 1, 1, 1, 127, 2, 0, 1, 3, 1, 127,  //
                   4,  0, 0, 5, 1, 127, 6, 0, 0, 7, 1, 127}));
}

TEST(DatavaneFraming, UploadFramesCarryOffsetAndZeroPaddedData) {
  Bytes image(300);
  std::iota(image.begin(), image.end(), std::uint8_t{1});
  EXPECT_EQ(uploadStartPayload(image)[0], 0);
  EXPECT_EQ(uploadStartPayload(image)[1], 3);  // (300 + 127) >> 7
  EXPECT_EQ(uploadStartPayload(Bytes(15332, 0))[1], 120);
  EXPECT_EQ(uploadStartPayload(Bytes(15332, 0))[0], 0);
  EXPECT_EQ(uploadStartPayload(Bytes(0x8000, 0))[0], 1);

  const Bytes frame = uploadFrame(256, image);
  ASSERT_EQ(frame.size(), 152u);
  std::uint8_t check = 0;
  for (std::size_t i = 0; i < 151; ++i) {
    EXPECT_LT(frame[i], 0x80);
    check ^= frame[i];
  }
  EXPECT_EQ(frame[151], check);
  const Bytes plain = unpackLsbFirst(Bytes(frame.begin(), frame.begin() + 151), 132);
  EXPECT_EQ(Bytes(plain.begin(), plain.begin() + 4), (Bytes{0x00, 0x01, 0x00, 0x00}));
  EXPECT_EQ(Bytes(plain.begin() + 4, plain.begin() + 48), Bytes(image.begin() + 256, image.end()));
  EXPECT_EQ(Bytes(plain.begin() + 48, plain.end()), Bytes(84, 0));
}

}  // namespace
}  // namespace tavrel::core::datavane
