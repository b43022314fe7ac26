// The receive against a scripted calculator on the far terminal: the CRC mode, repeated and
// damaged blocks, cancels from either side, and senders that stop answering.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "LinkTestSupport.h"
#include "ReceiveHarness.h"
#include "tavrel/statexport/link/Protocol.h"

namespace tavrel::statexport::link::test {
namespace {

using Clock = std::chrono::steady_clock;

class ScriptedSender : public ::testing::Test {
 protected:
  // Runs script as the calculator while the receive runs, and waits for both.
  void run(const std::function<void(FarEnd&)>& script, ReceiveTiming timing = quickTiming()) {
    FarEnd far(pty.farPath());
    ReceiveHarness receiver(pty.nearPath(), timing);
    std::thread calculator([&] { script(far); });
    receiver.start();
    EXPECT_TRUE(receiver.waitFinished());
    calculator.join();
    outcome = receiver.job().outcome();
    data = receiver.job().takeData();
    statuses = receiver.statuses();
  }

  PtyPair pty;
  ReceiveOutcome outcome = ReceiveOutcome::kFailed;
  Bytes data;
  std::vector<std::string> statuses;
};

// Waits for the start request, answering nothing else.
void expectStart(FarEnd& far, std::uint8_t request) {
  EXPECT_EQ(far.receive(), request);
}

void sendAndExpect(FarEnd& far, const Bytes& bytes, std::uint8_t answer) {
  far.send(bytes);
  EXPECT_EQ(far.receive(), answer);
}

std::string packet(int number) {
  return "Received Packet# " + std::to_string(number) + "...";
}

TEST_F(ScriptedSender, CrcModeTakesLongAndShortBlocks) {
  const Bytes first = pattern(1024, 1);
  const Bytes second = pattern(128, 2);
  run([&](FarEnd& far) {
    expectStart(far, kStartCrc);
    sendAndExpect(far, block(1, first, true), kAck);
    sendAndExpect(far, block(2, second, true), kAck);
    sendAndExpect(far, {kEndOfTransmission}, kAck);
  });
  EXPECT_EQ(outcome, ReceiveOutcome::kReceived);
  Bytes expected = first;
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(data, expected);
  EXPECT_EQ(statuses, (std::vector<std::string>{packet(1), packet(2)}));
}

TEST_F(ScriptedSender, RepeatedBlockIsAcknowledgedTwiceAndKeptOnce) {
  const Bytes first = pattern(128, 1);
  const Bytes second = pattern(128, 2);
  run([&](FarEnd& far) {
    expectStart(far, kStartCrc);
    sendAndExpect(far, block(1, first, true), kAck);
    sendAndExpect(far, block(1, first, true), kAck);
    sendAndExpect(far, block(2, second, true), kAck);
    sendAndExpect(far, {kEndOfTransmission}, kAck);
  });
  EXPECT_EQ(outcome, ReceiveOutcome::kReceived);
  Bytes expected = first;
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(data, expected);
  EXPECT_EQ(statuses, (std::vector<std::string>{packet(1), packet(1), packet(2)}));
}

TEST_F(ScriptedSender, DamagedBlocksGetNakOnlyAfterTheLineWentQuiet) {
  const Bytes good = pattern(128, 5);
  Bytes badComplement = block(1, good, true);
  badComplement[2] ^= 0x01;
  Bytes badCrc = block(1, good, true);
  badCrc.back() ^= 0x80;
  const Bytes skipped = block(3, good, true);
  const Bytes truncated(badCrc.begin(), badCrc.begin() + 60);
  const Bytes noise = pattern(300, 9);
  ReceiveTiming timing = quickTiming();
  timing.blockWait = milliseconds(200);
  run(
      [&](FarEnd& far) {
        expectStart(far, kStartCrc);
        for (const Bytes& bad : {badComplement, badCrc, skipped, truncated}) {
          Bytes withNoise = bad;
          withNoise.insert(withNoise.end(), noise.begin(), noise.end());
          const Clock::time_point sending = Clock::now();
          far.send(withNoise);
          EXPECT_EQ(far.receive(), kNak);
          // Nothing may be answered before the receiver has heard the line quiet.
          EXPECT_GE(Clock::now() - sending, timing.purgeQuiet);
        }
        sendAndExpect(far, block(1, good, true), kAck);
        sendAndExpect(far, {kEndOfTransmission}, kAck);
      },
      timing);
  EXPECT_EQ(outcome, ReceiveOutcome::kReceived);
  EXPECT_EQ(data, good);
  EXPECT_EQ(statuses, (std::vector<std::string>{packet(1)}));
}

TEST_F(ScriptedSender, DoubleCancelEndsWithoutDataAndIsAcknowledged) {
  run([&](FarEnd& far) {
    expectStart(far, kStartCrc);
    // A lone 0x18 is line noise: the receiver asks again.
    far.send({kCancel, 0x33});
    expectStart(far, kStartCrc);
    sendAndExpect(far, block(1, pattern(128, 1), true), kAck);
    sendAndExpect(far, {kCancel, kCancel}, kAck);
  });
  EXPECT_EQ(outcome, ReceiveOutcome::kSenderCancelled);
  EXPECT_TRUE(data.empty());
}

TEST_F(ScriptedSender, SilentPeerGetsBothStartRequestsThenThreeCancels) {
  run([&](FarEnd& far) {
    const Bytes requests = far.receiveCount(32);
    EXPECT_EQ(requests, [] {
      Bytes expected(32, kNak);
      std::fill_n(expected.begin(), 16, kStartCrc);
      return expected;
    }());
    EXPECT_EQ(far.receiveCount(3), Bytes(3, kCancel));
  });
  EXPECT_EQ(outcome, ReceiveOutcome::kFailed);
  EXPECT_TRUE(data.empty());
  std::vector<std::string> expected = retryTexts(2, 16);
  const std::vector<std::string> second = retryTexts(2, 16);
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(statuses, expected);
}

TEST_F(ScriptedSender, SenderFallingSilentMidwayGetsSixteenAttemptsThenCancels) {
  run([&](FarEnd& far) {
    expectStart(far, kStartCrc);
    sendAndExpect(far, block(1, pattern(128, 1), true), kAck);
    // No further start requests once blocks flow; only the final cancels.
    EXPECT_EQ(far.receiveCount(3), Bytes(3, kCancel));
  });
  EXPECT_EQ(outcome, ReceiveOutcome::kFailed);
  EXPECT_TRUE(data.empty());
  std::vector<std::string> expected{packet(1)};
  const std::vector<std::string> retries = retryTexts(2, 16);
  expected.insert(expected.end(), retries.begin(), retries.end());
  EXPECT_EQ(statuses, expected);
}

TEST_F(ScriptedSender, TwentyFiveRepeatsInARowFail) {
  const Bytes first = block(1, pattern(128, 1), true);
  run([&](FarEnd& far) {
    expectStart(far, kStartCrc);
    sendAndExpect(far, first, kAck);
    for (int repeat = 1; repeat < kDuplicateAllowance; ++repeat) {
      sendAndExpect(far, first, kAck);
    }
    far.send(first);
    EXPECT_EQ(far.receiveCount(3), Bytes(3, kCancel));
  });
  EXPECT_EQ(outcome, ReceiveOutcome::kFailed);
  EXPECT_EQ(statuses.size(), 1u + kDuplicateAllowance);
}

TEST_F(ScriptedSender, UserCancelEndsTheReceiveWithoutCancellingTheSender) {
  FarEnd far(pty.farPath());
  ReceiveHarness receiver(pty.nearPath());
  receiver.start();
  EXPECT_EQ(far.receive(), kStartCrc);
  receiver.job().cancel();
  EXPECT_FALSE(receiver.job().running());
  EXPECT_TRUE(receiver.waitFinished(milliseconds(0)));
  EXPECT_EQ(receiver.job().outcome(), ReceiveOutcome::kCancelled);
  // Whatever is still on the line are start requests, never a cancel.
  for (std::uint8_t byte : far.receiveCount(64, milliseconds(300))) {
    EXPECT_EQ(byte, kStartCrc);
  }
}

}  // namespace
}  // namespace tavrel::statexport::link::test
