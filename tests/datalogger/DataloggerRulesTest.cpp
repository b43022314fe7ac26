#include <gtest/gtest.h>

#include <vector>

#include "datalogger/ByteRing.h"
#include "datalogger/DataloggerRules.h"
#include "datalogger/SilenceWatch.h"

namespace tavrel::datalogger {
namespace {

// count bytes in which the first `pairs` positions pairs are top-bit-set-then-clear.
std::vector<std::uint8_t> stream(std::size_t count, std::size_t pairs) {
  std::vector<std::uint8_t> bytes(count, 0x41);
  for (std::size_t i = 0; i < pairs; ++i) {
    bytes[2 * i] = 0xC1;
  }
  return bytes;
}

TEST(DataloggerPortNames, ComNamesNeedDigitsAfterCom) {
  EXPECT_TRUE(isComPortName(u"COM10"));
  EXPECT_TRUE(isComPortName(u"com3"));
  EXPECT_FALSE(isComPortName(u"COMA"));
  EXPECT_FALSE(isComPortName(u"COM"));
  EXPECT_FALSE(isComPortName(u"COM1A"));
  EXPECT_FALSE(isComPortName(u"LPT1"));
}

TEST(DataloggerPortNames, DiscoveryKeepsLoggerPortsWithOpenableNamesInOrder) {
  std::vector<PortListing> ports{
      {u"Communications Port", u"COM1"},   {u"ZR Datavane USB Serial (COM10)", u"COM10"},
      {u"zr datavane", u"/dev/ttyACM0"},   {u"ZR Datavane", u"COMA"},
      {u"ZR Datavane", u"/dev/tty"},       {u"ZR Datav", u"COM4"},
      {u"ZR DATAVANE 2", u"/dev/ttyUSB1"},
  };
  EXPECT_EQ(dataloggerCandidates(ports),
            (std::vector<std::u16string>{u"COM10", u"/dev/ttyACM0", u"/dev/ttyUSB1"}));
  EXPECT_TRUE(dataloggerCandidates({}).empty());
}

TEST(DataloggerPattern, NeedsMoreThanThirtyBytes) {
  std::vector<std::uint8_t> thirty = stream(30, 15);
  EXPECT_EQ(countHighLowPairs(thirty.data(), thirty.size()), 15u);
  EXPECT_FALSE(isLoggerPattern(thirty.data(), thirty.size()));
  std::vector<std::uint8_t> thirtyOne = stream(31, 15);
  EXPECT_TRUE(isLoggerPattern(thirtyOne.data(), thirtyOne.size()));
}

TEST(DataloggerPattern, PairsMustExceedAQuarter) {
  std::vector<std::uint8_t> quarter = stream(100, 25);
  EXPECT_FALSE(isLoggerPattern(quarter.data(), quarter.size()));
  std::vector<std::uint8_t> more = stream(100, 26);
  EXPECT_TRUE(isLoggerPattern(more.data(), more.size()));
  // Set-then-set and clear-then-set are not pairs.
  std::vector<std::uint8_t> allHigh(100, 0xFF);
  EXPECT_EQ(countHighLowPairs(allHigh.data(), allHigh.size()), 0u);
}

TEST(DataloggerRing, HoldsOneFewerThanItsSlotsAcrossTheWrap) {
  ByteRing ring(1104);
  std::vector<std::uint8_t> bytes(1200);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<std::uint8_t>(i);
  }
  EXPECT_EQ(ring.push(bytes.data(), bytes.size()), 1103u);
  EXPECT_EQ(ring.room(), 0u);
  std::vector<std::uint8_t> out(1000);
  EXPECT_EQ(ring.pop(out.data(), 1000), 1000u);
  EXPECT_EQ(out[999], static_cast<std::uint8_t>(999));
  EXPECT_EQ(ring.push(bytes.data(), 500), 500u);
  EXPECT_EQ(ring.size(), 603u);
  EXPECT_EQ(ring.pop(out.data(), 1000), 603u);
  EXPECT_EQ(out[102], static_cast<std::uint8_t>(1102));
  EXPECT_EQ(out[103], 0);
  EXPECT_EQ(out[602], static_cast<std::uint8_t>(499));
}

TEST(DataloggerSilence, ClosesAfterMoreThanFiveEmptyPollsAndThreeSeconds) {
  std::int64_t now = 1000;
  SilenceWatch watch([&now] { return now; });
  EXPECT_FALSE(watch.poll(12));
  now += 5000;
  for (int poll = 0; poll < 5; ++poll) {
    EXPECT_FALSE(watch.poll(0)) << "poll " << poll;
  }
  EXPECT_TRUE(watch.poll(0));
}

TEST(DataloggerSilence, ManyEmptyPollsWithinThreeSecondsKeepThePort) {
  std::int64_t now = 0;
  SilenceWatch watch([&now] { return now; });
  now = 3000;
  for (int poll = 0; poll < 50; ++poll) {
    EXPECT_FALSE(watch.poll(0));
  }
  now = 3001;
  EXPECT_TRUE(watch.poll(0));
  EXPECT_FALSE(watch.poll(1)) << "data starts the count again";
  now = 9000;
  EXPECT_FALSE(watch.poll(0));
}

}  // namespace
}  // namespace tavrel::datalogger
