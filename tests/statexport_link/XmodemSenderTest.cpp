// The receive against the real XMODEM sender: it ignores the CRC start request, so every
// transfer here runs in checksum mode after the fallback to 0x15.
#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "ReceiveHarness.h"

namespace tavrel::statexport::link::test {
namespace {

constexpr std::uint8_t kPadding = 0x1A;  // the sender fills the last block with this

class XmodemSender : public ::testing::Test {
 protected:
  // Sends a file of size bytes with the given extra sender options; returns what arrived.
  Bytes transfer(std::size_t size, const std::vector<std::string>& options) {
    Bytes file = pattern(size, 3);
    const std::string path = folder.path("folio.bin");
    writeFile(path, file);
    ReceiveHarness receiver(pty.nearPath());
    receiver.start();
    std::vector<std::string> argv{"sx", "-X", "-b"};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back(path);
    ChildProcess sender(argv, pty.farPath());
    EXPECT_TRUE(receiver.waitFinished());
    EXPECT_EQ(sender.wait(), std::optional<int>(0));
    EXPECT_EQ(receiver.job().outcome(), ReceiveOutcome::kReceived);
    statuses = receiver.statuses();
    return receiver.job().takeData();
  }

  static Bytes padded(std::size_t size, std::size_t to) {
    Bytes file = pattern(size, 3);
    file.resize((size + to - 1) / to * to, kPadding);
    return file;
  }

  TempFolder folder;
  PtyPair pty;
  std::vector<std::string> statuses;
};

TEST_F(XmodemSender, ShortBlocksArriveWholeAfterTheChecksumFallback) {
  const Bytes received = transfer(1000, {});
  EXPECT_EQ(received, padded(1000, 128));
  // Sixteen CRC requests go unanswered before the sender hears 0x15.
  std::vector<std::string> expected = retryTexts(2, 16);
  for (int number = 1; number <= 8; ++number) {
    expected.push_back("Received Packet# " + std::to_string(number) + "...");
  }
  EXPECT_EQ(statuses, expected);
}

TEST_F(XmodemSender, LongBlocksArriveWhole) {
  const Bytes received = transfer(3000, {"-k"});
  EXPECT_EQ(received, padded(3000, 1024));
  EXPECT_EQ(statuses.back(), "Received Packet# 3...");
}

TEST_F(XmodemSender, BlockNumbersWrapPastTwoHundredFiftyFive) {
  const Bytes received = transfer(300 * 128 - 5, {});
  EXPECT_EQ(received, padded(300 * 128 - 5, 128));
}

}  // namespace
}  // namespace tavrel::statexport::link::test
