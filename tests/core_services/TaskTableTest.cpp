// The task table: slot order, reclaiming finished slots, ending tasks, task identity.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "TaskTestSupport.h"
#include "os/TaskRun.h"

namespace tavrel::os {
namespace {

using test::kGenerous;
using test::startTask;

class TaskTableTest : public ::testing::Test {
 protected:
  void TearDown() override {
    gate.set();
    test::endAllTasks();
  }
  // Tasks that wait on the gate keep their slots running.
  TaskEntry waitAtGate() {
    return [this] { gate.wait(); };
  }
  Event gate{true};
};

TEST_F(TaskTableTest, FillsSlotsFromFifteenDownAndThenSlotZero) {
  auto& table = taskTable();
  for (std::size_t i = 15; i >= 1; --i) {
    tag_ThreadInfo* task = startTask(waitAtGate());
    ASSERT_EQ(task, &table[i]);
  }
  EXPECT_EQ(startTask(waitAtGate()), &table[0]);
  EXPECT_EQ(startTask(waitAtGate()), nullptr);
}

TEST_F(TaskTableTest, ReusesAFinishedSlotWithoutEndTask) {
  Event done(true);
  tag_ThreadInfo* first = startTask([&done] { done.set(); });
  ASSERT_EQ(first, &taskTable()[15]);
  ASSERT_TRUE(done.wait(kGenerous));
  ASSERT_TRUE(waitTaskSuspended(first, kGenerous));  // also true once the body has returned
  ASSERT_TRUE(first->run->hasEnded());
  // The body has returned; its slot is taken again although nobody ended the task.
  tag_ThreadInfo* second = startTask(waitAtGate());
  EXPECT_EQ(second, first);
}

TEST_F(TaskTableTest, EmptyEntryGivesNoTask) {
  EXPECT_EQ(startTask(TaskEntry()), nullptr);
}

TEST_F(TaskTableTest, CurrentTaskIsTheSlotInsideAndNullOutside) {
  std::atomic<tag_ThreadInfo*> seen{nullptr};
  Event done(true);
  tag_ThreadInfo* task = startTask([&] {
    seen = currentTask();
    done.set();
  });
  ASSERT_TRUE(done.wait(kGenerous));
  EXPECT_EQ(seen.load(), task);
  EXPECT_EQ(currentTask(), nullptr);
  std::thread foreign([&seen] { seen = currentTask(); });
  foreign.join();
  EXPECT_EQ(seen.load(), nullptr);
}

TEST_F(TaskTableTest, EndTaskFreesTheSlot) {
  tag_ThreadInfo* task = startTask(waitAtGate());
  gate.set();
  EXPECT_EQ(endTask(task), 0);
  EXPECT_FALSE(task->thread.joinable());
  EXPECT_EQ(task->run, nullptr);
  EXPECT_EQ(endTask(nullptr), 0);
}

TEST_F(TaskTableTest, EndTaskStopsARunningTaskAtItsCheckPoint) {
  std::atomic<bool> stoppedAtCheckpoint{false};
  tag_ThreadInfo* task = startTask([&] {
    while (!taskCheckpoint()) {
    }
    stoppedAtCheckpoint = true;
  });
  EXPECT_EQ(endTask(task), 0);
  EXPECT_TRUE(stoppedAtCheckpoint);
  EXPECT_FALSE(task->thread.joinable());
}

TEST_F(TaskTableTest, ATaskThatNeverStopsIsLeftAloneAndItsSlotReused) {
  Event release(true);
  Event finished(true);
  std::atomic<tag_ThreadInfo*> identityAfterEnd{nullptr};
  tag_ThreadInfo* task = startTask([&] {
    release.wait();
    identityAfterEnd = currentTask();
    finished.set();
  });
  ASSERT_EQ(endTask(task), 0);  // gives up after the stop grace
  EXPECT_FALSE(task->thread.joinable());
  tag_ThreadInfo* successor = startTask(waitAtGate());
  EXPECT_EQ(successor, task);
  // The abandoned body runs on without touching the reused slot.
  identityAfterEnd = task;
  release.set();
  ASSERT_TRUE(finished.wait(kGenerous));
  EXPECT_EQ(identityAfterEnd.load(), nullptr);
  EXPECT_TRUE(successor->thread.joinable());
  EXPECT_FALSE(successor->run->hasEnded());
}

}  // namespace
}  // namespace tavrel::os
