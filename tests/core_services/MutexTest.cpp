// Mutexes with owners: waiting rules, owner records, re-locking, abandoned mutexes.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "TaskTestSupport.h"
#include "os/Mutexes.h"

namespace tavrel::os {
namespace {

using Clock = std::chrono::steady_clock;
using test::kGenerous;

class MutexTest : public ::testing::Test {
 protected:
  void TearDown() override {
    release.set();
    if (holder.joinable())
      holder.join();
    destroyMutex(mutex);
    test::endAllTasks();
  }
  // Another thread takes the mutex and keeps it until `release`.
  void holdElsewhere() {
    Event taken(true);
    holder = std::thread([this, &taken] {
      ASSERT_EQ(lockMutex(mutex, 0, 0), 0);
      taken.set();
      release.wait();
      unlockMutex(mutex);
    });
    ASSERT_TRUE(taken.wait(kGenerous));
  }

  tag_MutexInfo* mutex = createMutex();
  Event release{true};
  std::thread holder;
};

TEST_F(MutexTest, NoWaitFailsAtOnceOnAHeldMutex) {
  holdElsewhere();
  const auto start = Clock::now();
  EXPECT_EQ(lockMutex(mutex, 1, 500), -1);
  // Far below the 500 ms a wait would have taken.
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(400));
}

TEST_F(MutexTest, TimeoutEndsTheWaitWithMinusOne) {
  holdElsewhere();
  const auto start = Clock::now();
  EXPECT_EQ(lockMutex(mutex, 0, 500), -1);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(500));
}

TEST_F(MutexTest, ZeroTimeoutWaitsUntilReleased) {
  holdElsewhere();
  std::atomic<int> result{1};
  Event locked(true);
  std::thread waiter([&] {
    result = lockMutex(mutex, 0, 0);
    locked.set();
    unlockMutex(mutex);
  });
  release.set();
  ASSERT_TRUE(locked.wait(kGenerous));
  waiter.join();
  EXPECT_EQ(result.load(), 0);
}

TEST_F(MutexTest, RecordsTheOwningTask) {
  std::atomic<std::intptr_t> ownerInside{0};
  Event done(true);
  tag_ThreadInfo* task = test::startTask([&] {
    lockMutex(mutex, 0, 0);
    ownerInside = mutexOwner(mutex);
    unlockMutex(mutex);
    done.set();
  });
  ASSERT_TRUE(done.wait(kGenerous));
  EXPECT_EQ(ownerInside.load(), reinterpret_cast<std::intptr_t>(task));
  EXPECT_EQ(mutexOwner(mutex), 0);
  // A thread that is not a core task owns it as "nobody in particular".
  ASSERT_EQ(lockMutex(mutex, 1, 0), 0);
  EXPECT_EQ(mutexOwner(mutex), 0);
  EXPECT_EQ(unlockMutex(mutex), 0);
  EXPECT_EQ(mutexOwner(nullptr), -1);
}

TEST_F(MutexTest, HolderMayLockAgainAndOthersCannotUnlock) {
  ASSERT_EQ(lockMutex(mutex, 0, 0), 0);
  ASSERT_EQ(lockMutex(mutex, 1, 0), 0);
  std::atomic<int> foreignUnlock{0};
  std::atomic<int> foreignLock{0};
  std::thread other([&] {
    foreignUnlock = unlockMutex(mutex);
    foreignLock = lockMutex(mutex, 1, 0);
  });
  other.join();
  EXPECT_EQ(foreignUnlock.load(), -1);
  EXPECT_EQ(foreignLock.load(), -1);
  EXPECT_EQ(unlockMutex(mutex), 0);
  EXPECT_EQ(unlockMutex(mutex), 0);
  EXPECT_EQ(unlockMutex(mutex), -1);  // no longer held
}

TEST_F(MutexTest, AMutexLeftByAnEndedThreadGoesToTheNextLocker) {
  std::thread quitter([this] { lockMutex(mutex, 0, 0); });
  quitter.join();
  EXPECT_EQ(lockMutex(mutex, 0, 2000), 0);
  EXPECT_EQ(unlockMutex(mutex), 0);
}

TEST_F(MutexTest, NullMutexIsRefused) {
  EXPECT_EQ(lockMutex(nullptr, 0, 0), -1);
  EXPECT_EQ(unlockMutex(nullptr), -1);
  EXPECT_EQ(destroyMutex(nullptr), 0);
}

}  // namespace
}  // namespace tavrel::os
