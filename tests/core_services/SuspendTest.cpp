// Cooperative suspension at check points, and the sleep table.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "TaskTestSupport.h"

namespace tavrel::os {
namespace {

using test::kGenerous;
using test::startTask;

class SuspendTest : public ::testing::Test {
 protected:
  void TearDown() override {
    cancelSleeps();
    test::endAllTasks();
  }
};

// A body that counts steps with a check point between "before" and "after" of each step,
// as the interpreter has one between two instructions.
struct SteppingBody {
  static constexpr int kSteps = 200000;
  std::atomic<int> before{-1};
  std::atomic<int> after{-1};
  std::vector<int> completed;
  Event done{true};

  void run() {
    completed.reserve(kSteps);
    for (int step = 0; step < kSteps; ++step) {
      before = step;
      if (taskCheckpoint())
        return;
      after = step;
      completed.push_back(step);
    }
    done.set();
  }
};

TEST_F(SuspendTest, StopsAtTheCheckPointAndContinuesExactlyThere) {
  SteppingBody body;
  tag_ThreadInfo* task = startTask([&body] { body.run(); });
  ASSERT_NE(task, nullptr);
  EXPECT_EQ(suspendTask(task), 0);
  ASSERT_TRUE(waitTaskSuspended(task, kGenerous));
  if (body.done.isSet())
    GTEST_SKIP() << "the body finished before the request reached it";
  // Parked inside the check point of one step: begun, not completed.
  const int parkedAt = body.before.load();
  EXPECT_EQ(body.after.load(), parkedAt - 1);
  EXPECT_EQ(resumeTask(task), 0);
  ASSERT_TRUE(body.done.wait(kGenerous));
  // Every step completed once, in order: nothing skipped or repeated around the pause.
  ASSERT_EQ(body.completed.size(), static_cast<std::size_t>(SteppingBody::kSteps));
  for (int step = 0; step < SteppingBody::kSteps; ++step)
    ASSERT_EQ(body.completed[step], step);
}

TEST_F(SuspendTest, ResumeDropsOneSuspensionAndReleaseAll) {
  SteppingBody body;
  tag_ThreadInfo* task = startTask([&body] { body.run(); });
  suspendTask(task);
  suspendTask(task);
  ASSERT_TRUE(waitTaskSuspended(task, kGenerous));
  if (body.done.isSet())
    GTEST_SKIP() << "the body finished before the request reached it";
  resumeTask(task);
  // Still suspended once: the task stays parked at the same step.
  ASSERT_TRUE(waitTaskSuspended(task, kGenerous));
  const int parkedAt = body.before.load();
  EXPECT_EQ(body.after.load(), parkedAt - 1);
  releaseTask(task);
  EXPECT_TRUE(body.done.wait(kGenerous));
}

TEST_F(SuspendTest, NullTasksAreIgnored) {
  EXPECT_EQ(suspendTask(nullptr), 0);
  EXPECT_EQ(resumeTask(nullptr), 0);
  EXPECT_EQ(releaseTask(nullptr), 0);
  EXPECT_FALSE(taskCheckpoint());  // a foreign thread passes its check points freely
}

TEST_F(SuspendTest, SleepKeepsTheTaskParkedUntilItsTimeIsUp) {
  using Clock = std::chrono::steady_clock;
  constexpr auto kSleep = std::chrono::milliseconds(300);
  std::atomic<bool> parkedSeen{false};
  Clock::time_point resumedAt;
  Event resumed(true);
  tag_ThreadInfo* task = startTask([&] {
    while (!taskCheckpoint()) {
      // A check point that returns after the test saw the task parked returns after the
      // wake-up thread resumed it.
      if (parkedSeen) {
        resumedAt = Clock::now();
        resumed.set();
        return;
      }
    }
  });
  const auto sleepStart = Clock::now();
  ASSERT_EQ(sleepTask(task, kSleep.count()), 0);
  ASSERT_TRUE(waitTaskSuspended(task, kGenerous));
  parkedSeen = true;
  ASSERT_TRUE(resumed.wait(kGenerous));
  EXPECT_GE(resumedAt - sleepStart, kSleep);
}

TEST_F(SuspendTest, FullSleepTableRefusesAndCancelFreesIt) {
  for (std::size_t i = 0; i < kSleepSlots; ++i)
    ASSERT_EQ(sleepTask(nullptr, 600000), 0);
  EXPECT_EQ(sleepTask(nullptr, 10), -1);
  cancelSleeps();
  EXPECT_EQ(sleepTask(nullptr, 10), 0);
}

}  // namespace
}  // namespace tavrel::os
