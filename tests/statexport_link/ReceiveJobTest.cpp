// The receive job as the dialog drives it: what it reports when there is no calculator or no
// line, and one receive at a time in the process.
#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "ReceiveHarness.h"
#include "tavrel/statexport/link/Protocol.h"

namespace tavrel::statexport::link::test {
namespace {

using Clock = std::chrono::steady_clock;

TEST(ReceiveJob, MissingCalculatorIsReportedAfterTheStatusPause) {
  ReceiveTiming timing = quickTiming();
  timing.statusPause = milliseconds(60);
  ReceiveHarness receiver("/dev/nonexistent-calculator-line", timing);
  const Clock::time_point started = Clock::now();
  receiver.start();
  ASSERT_TRUE(receiver.waitFinished());
  EXPECT_GE(Clock::now() - started, timing.statusPause);
  EXPECT_EQ(receiver.statuses(), std::vector<std::string>{"Calculator Not Connected"});
  EXPECT_EQ(receiver.job().statusText(), "Calculator Not Connected");
  EXPECT_EQ(receiver.job().outcome(), ReceiveOutcome::kNoCalculator);
  EXPECT_TRUE(receiver.job().takeData().empty());
}

TEST(ReceiveJob, LineThatCannotBeOpenedIsReported) {
  ReceiveHarness receiver("/dev/null");
  receiver.start();
  ASSERT_TRUE(receiver.waitFinished());
  EXPECT_EQ(receiver.statuses(), std::vector<std::string>{"Could not Connect to Calculator"});
  EXPECT_EQ(receiver.job().outcome(), ReceiveOutcome::kCouldNotConnect);
}

TEST(ReceiveJob, SecondReceiveWaitsForTheFirst) {
  PtyPair pty;
  FarEnd far(pty.farPath());
  ReceiveHarness first(pty.nearPath());
  ReceiveHarness second("/dev/nonexistent-calculator-line");
  first.start();
  ASSERT_EQ(far.receive(), kStartCrc);
  second.start();
  // The first holds the receive until it is cancelled; only then may the second report.
  EXPECT_FALSE(second.waitFinished(milliseconds(200)));
  EXPECT_TRUE(second.statuses().empty());
  first.job().cancel();
  EXPECT_TRUE(second.waitFinished());
  EXPECT_EQ(second.job().outcome(), ReceiveOutcome::kNoCalculator);
}

TEST(ReceiveJob, CancelBeforeStartEndsAtOnce) {
  PtyPair pty;
  FarEnd far(pty.farPath());
  ReceiveHarness receiver(pty.nearPath());
  receiver.job().cancel();
  receiver.start();
  ASSERT_TRUE(receiver.waitFinished());
  EXPECT_EQ(receiver.job().outcome(), ReceiveOutcome::kCancelled);
  EXPECT_TRUE(receiver.statuses().empty());
  EXPECT_FALSE(far.receive(milliseconds(100)).has_value());
}

}  // namespace
}  // namespace tavrel::statexport::link::test
